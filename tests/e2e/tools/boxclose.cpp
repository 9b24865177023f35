// Test helper: waits for a message box of another program, prints its
// caption and text, and closes it with its OK button.
//   boxclose [SECONDS] [DESKTOP]   (default 60 seconds, the default desktop)
// With DESKTOP it looks on that Wine desktop (`wine explorer /desktop=...`).
// Exit code 0 when a box was found and closed, 1 when none came in time.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "desktop.h"

namespace {

struct Found {
    HWND box = nullptr;
};

BOOL CALLBACK find_box(HWND hwnd, LPARAM lparam)
{
    char cls[64] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (std::string(cls) == "#32770" && IsWindowVisible(hwnd)) {
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        if (pid != GetCurrentProcessId()) {
            reinterpret_cast<Found*>(lparam)->box = hwnd;
            return FALSE;
        }
    }
    return TRUE;
}

std::string window_text(HWND hwnd)
{
    int n = GetWindowTextLengthA(hwnd);
    std::string s(static_cast<size_t>(n) + 1, '\0');
    GetWindowTextA(hwnd, &s[0], n + 1);
    s.resize(static_cast<size_t>(n));
    return s;
}

// The message text is the first Static control of the box that has text
// (the icon is a Static control too, without text).
BOOL CALLBACK find_text(HWND child, LPARAM lparam)
{
    char cls[64] = {};
    GetClassNameA(child, cls, sizeof cls);
    if (_stricmp(cls, "Static") == 0) {
        std::string t = window_text(child);
        if (!t.empty()) {
            *reinterpret_cast<std::string*>(lparam) = t;
            return FALSE;
        }
    }
    return TRUE;
}

}  // namespace

int main(int argc, char** argv)
{
    int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
    if (argc > 2 && !join_desktop(argv[2], seconds)) {
        std::printf("no desktop %s\n", argv[2]);
        return 1;
    }
    for (int waited = 0; waited < seconds * 10; ++waited) {
        Found found;
        EnumWindows(find_box, reinterpret_cast<LPARAM>(&found));
        if (found.box) {
            Sleep(200);  // let the box finish laying out its text
            std::string text;
            EnumChildWindows(found.box, find_text, reinterpret_cast<LPARAM>(&text));
            std::printf("caption: %s\n", window_text(found.box).c_str());
            std::printf("text: %s\n", text.c_str());
            std::fflush(stdout);
            HWND ok = GetDlgItem(found.box, IDOK);
            if (ok)
                SendMessageA(found.box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(ok));
            else
                PostMessageA(found.box, WM_CLOSE, 0, 0);
            return 0;
        }
        Sleep(100);
    }
    std::printf("no message box\n");
    return 1;
}
