// Test helper: runs a program, waits for its end and writes its exit code
// to a file. Started on a Wine desktop (`wine explorer /desktop=...`), whose
// own exit code says nothing about the program's, it keeps that code.
//   launch [--refuse-client] CODE_FILE PROGRAM [ARGUMENTS...]
// The file gets the exit code in decimal and a line feed once the program
// has ended; it is written to a temporary name first and then renamed, so a
// reader never sees half of it. Exit code 0 when the file was written, 3
// when the hook asked for could not be set.
// With --refuse-client no window of the desktop can create a frame's client
// window while the program runs (client_refusal.dll, beside this program,
// hooked into every process of the desktop), as when the system runs out of
// windows.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

std::string beside_this_program(const char* name)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of("\\/") + 1) + name;
}

// The hook of client_refusal.dll for every thread of the desktop; none
// when it could not be set.
HHOOK refuse_client_windows()
{
    HMODULE library = LoadLibraryA(beside_this_program("client_refusal.dll").c_str());
    auto proc = library
                    ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(library, "refuse_client")))
                    : nullptr;
    return proc ? SetWindowsHookExA(WH_CBT, proc, library, 0) : nullptr;
}

std::string quoted(const std::string& argument)
{
    if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos)
        return argument;
    return "\"" + argument + "\"";
}

}  // namespace

int main(int argc, char** argv)
{
    int first = 1;
    HHOOK hook = nullptr;
    if (argc > 1 && std::strcmp(argv[1], "--refuse-client") == 0) {
        if (!(hook = refuse_client_windows()))
            return 3;
        ++first;
    }
    if (argc < first + 2)
        return 2;
    std::string command_line = quoted(argv[first + 1]);
    for (int i = first + 2; i < argc; ++i)
        command_line += " " + quoted(argv[i]);

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    DWORD code = 0;
    if (CreateProcessA(nullptr, &command_line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &process)) {
        // The queue is served while the program runs (the hook's thread).
        while (MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageA(&msg);
        }
        GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    } else {
        code = 0xFFFFFFFF;  // could not start: no code of the program
    }

    if (hook)
        UnhookWindowsHookEx(hook);
    std::string file = argv[first];
    std::string part = file + ".part";
    std::FILE* out = std::fopen(part.c_str(), "wb");
    if (!out)
        return 1;
    std::fprintf(out, "%ld\n", static_cast<long>(code));
    if (std::fclose(out) != 0)
        return 1;
    return MoveFileExA(part.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
