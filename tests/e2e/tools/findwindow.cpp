// Test helper: waits for a top-level window whose caption ends with the
// given text (the frame's caption ends with " - Polrix") and prints its
// caption; with --close it then closes the window.
//   findwindow CAPTION_END [SECONDS] [--close]
// Exit code 0 when found, 1 when not in time.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct Search {
    std::string ending;
    HWND found = nullptr;
    std::string caption;
};

BOOL CALLBACK look_at(HWND hwnd, LPARAM param)
{
    auto* search = reinterpret_cast<Search*>(param);
    int length = GetWindowTextLengthA(hwnd);
    std::string caption(static_cast<size_t>(length) + 1, '\0');
    caption.resize(static_cast<size_t>(GetWindowTextA(hwnd, &caption[0], length + 1)));
    if (caption.size() >= search->ending.size() &&
        caption.compare(caption.size() - search->ending.size(), search->ending.size(), search->ending) == 0) {
        search->found = hwnd;
        search->caption = caption;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    int seconds = argc > 2 ? std::atoi(argv[2]) : 30;
    for (int waited = 0; waited < seconds * 10; ++waited) {
        Search search;
        search.ending = argv[1];
        EnumWindows(look_at, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            std::printf("%s\n", search.caption.c_str());
            if (argc > 3 && std::strcmp(argv[3], "--close") == 0)
                PostMessageA(search.found, WM_CLOSE, 0, 0);
            return 0;
        }
        Sleep(100);
    }
    return 1;
}
