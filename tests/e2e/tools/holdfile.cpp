// Test helper: keeps a file open without sharing it, so that every other
// attempt to open it fails while its name still exists (the open dialog
// accepts it, the program's own open fails).
//   holdfile PATH SECONDS
// Prints "held" once the file is open, then waits; exit code 0, 1 when the
// file could not be opened.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    HANDLE file = CreateFileA(argv[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    std::printf("held\n");
    std::fflush(stdout);
    Sleep(static_cast<DWORD>(std::atoi(argv[2])) * 1000);
    CloseHandle(file);
    return 0;
}
