// Test helper: waits for a top-level window of the given class and prints
// its caption; with --close it then closes the window.
//   findwindow CLASS [SECONDS] [--close]
// Exit code 0 when found, 1 when not in time.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    int seconds = argc > 2 ? std::atoi(argv[2]) : 30;
    for (int waited = 0; waited < seconds * 10; ++waited) {
        if (HWND w = FindWindowA(argv[1], nullptr)) {
            char caption[1024] = {};
            GetWindowTextA(w, caption, sizeof caption);
            std::printf("%s\n", caption);
            if (argc > 3 && std::strcmp(argv[3], "--close") == 0)
                PostMessageA(w, WM_CLOSE, 0, 0);
            return 0;
        }
        Sleep(100);
    }
    return 1;
}
