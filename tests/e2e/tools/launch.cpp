// Test helper: runs a program, waits for its end and writes its exit code
// to a file. Started on a Wine desktop (`wine explorer /desktop=...`), whose
// own exit code says nothing about the program's, it keeps that code.
//   launch CODE_FILE PROGRAM [ARGUMENTS...]
// The file gets the exit code in decimal and a line feed once the program
// has ended; it is written to a temporary name first and then renamed, so a
// reader never sees half of it. Exit code 0 when the file was written.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string quoted(const std::string& argument)
{
    if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos)
        return argument;
    return "\"" + argument + "\"";
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    std::string command_line = quoted(argv[2]);
    for (int i = 3; i < argc; ++i)
        command_line += " " + quoted(argv[i]);

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    DWORD code = 0;
    if (CreateProcessA(nullptr, &command_line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &process)) {
        WaitForSingleObject(process.hProcess, INFINITE);
        GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    } else {
        code = 0xFFFFFFFF;  // could not start: no code of the program
    }

    std::string file = argv[1];
    std::string part = file + ".part";
    std::FILE* out = std::fopen(part.c_str(), "wb");
    if (!out)
        return 1;
    std::fprintf(out, "%ld\n", static_cast<long>(code));
    if (std::fclose(out) != 0)
        return 1;
    return MoveFileExA(part.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
