// The benchmarks' eye on a running polrix.exe in a Wine desktop. It joins
// the desktop first (a process started with plain `wine` sees none of its
// windows otherwise) and reads the window only by messages that carry no
// pointer, since Wine carries no pointers to controls of another process.
//   window_probe launch PROGRAM ITEMS OUT   (run on the desktop) starts the
//       program; into the file OUT: "shown_ms=T" once its frame is visible
//       with ITEMS items in the tree, then "exit=CODE" when it has ended
//   window_probe geometry     screen rectangles and sizes of frame, tree,
//       result list and toolbar, one line each (see print_geometry)
//   window_probe ping [MS]    whether frame, tree and list answer (WM_NULL)
//       within MS milliseconds (default 5000); exit code 0 when all do
//   window_probe close        asks the frame to close (WM_CLOSE)
// The desktop is "polrix", or the one named by POLRIX_DESKTOP.
#include "res/resource.h"

#include "base/windows_win32.h"

#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const char* const CAPTION_END = " - Polrix";

bool join_desktop()
{
    const char* name = std::getenv("POLRIX_DESKTOP");
    HDESK desktop = OpenDesktopA(name && *name ? name : "polrix", 0, FALSE, GENERIC_ALL);
    return desktop && SetThreadDesktop(desktop);
}

struct FrameSearch {
    DWORD process = 0;  // 0: any
    HWND found = nullptr;
};

BOOL CALLBACK look_at(HWND hwnd, LPARAM param)
{
    auto* search = reinterpret_cast<FrameSearch*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    if (search->process && process != search->process)
        return TRUE;
    char caption[1024] = "";
    const int length = GetWindowTextA(hwnd, caption, sizeof caption);
    const int end = static_cast<int>(std::strlen(CAPTION_END));
    if (length >= end && std::strcmp(caption + length - end, CAPTION_END) == 0) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND find_frame(DWORD process = 0)
{
    FrameSearch search;
    search.process = process;
    EnumWindows(look_at, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

struct ChildSearch {
    int id = 0;                        // by control ID, or
    const char* class_name = nullptr;  // by class
    HWND found = nullptr;
};

BOOL CALLBACK look_at_child(HWND hwnd, LPARAM param)
{
    auto* search = reinterpret_cast<ChildSearch*>(param);
    char name[64] = "";
    GetClassNameA(hwnd, name, sizeof name);
    if ((search->class_name && _stricmp(name, search->class_name) == 0) ||
        (!search->class_name && GetDlgCtrlID(hwnd) == search->id)) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND find_child(HWND frame, int id, const char* class_name = nullptr)
{
    ChildSearch search;
    search.id = id;
    search.class_name = class_name;
    if (frame)
        EnumChildWindows(frame, look_at_child, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

RECT screen_rect(HWND hwnd)
{
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

// The client area in screen coordinates.
RECT client_screen_rect(HWND hwnd)
{
    RECT r{};
    GetClientRect(hwnd, &r);
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

LRESULT ask(HWND hwnd, UINT message, WPARAM wparam = 0, LPARAM lparam = 0)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(hwnd, message, wparam, lparam, SMTO_ABORTIFHUNG, 5000, &result))
        return -1;
    return static_cast<LRESULT>(result);
}

int launch(const char* program, long items, const char* out_path)
{
    FILE* out = std::fopen(out_path, "w");
    if (!out)
        return 2;
    const auto start = std::chrono::steady_clock::now();
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string command = std::string("\"") + program + "\"";
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        std::fprintf(out, "failed: CreateProcess %lu\n", GetLastError());
        std::fclose(out);
        return 1;
    }
    bool shown = false;
    while (!shown && WaitForSingleObject(process.hProcess, 1) == WAIT_TIMEOUT) {
        HWND frame = find_frame(process.dwProcessId);
        if (!frame || !IsWindowVisible(frame))
            continue;
        HWND tree = find_child(frame, IDC_TREE);
        if (tree && ask(tree, TVM_GETCOUNT) == items) {
            const double ms =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
            std::fprintf(out, "shown_ms=%.1f\n", ms);
            std::fflush(out);
            shown = true;
        }
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    std::fprintf(out, "exit=%lu\n", code);
    std::fclose(out);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}

// One line per window, its screen rectangle first:
//   frame L T R B
//   tree L T R B ITEM_HEIGHT ITEMS                 (client area)
//   list L T R B HEADER_BOTTOM ROW_HEIGHT ROWS CHECKBOXES   (client area)
//   toolbar L T R B BUTTON_WIDTH BUTTON_HEIGHT BUTTONS CHECK_MODE_PRESSED
// A list's row height is what a second row adds to the rows' extent.
int print_geometry()
{
    HWND frame = find_frame();
    HWND tree = find_child(frame, IDC_TREE);
    HWND list = find_child(frame, IDC_RESULT_LIST);
    HWND toolbar = find_child(frame, 0, TOOLBARCLASSNAMEA);
    if (!frame || !tree || !list || !toolbar) {
        std::printf("no window\n");
        return 1;
    }
    RECT r = screen_rect(frame);
    std::printf("frame %ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
    r = client_screen_rect(tree);
    std::printf("tree %ld %ld %ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom,
                static_cast<long>(ask(tree, TVM_GETITEMHEIGHT)), static_cast<long>(ask(tree, TVM_GETCOUNT)));
    r = client_screen_rect(list);
    HWND header = reinterpret_cast<HWND>(ask(list, LVM_GETHEADER));
    const long header_bottom = header && IsWindowVisible(header) ? screen_rect(header).bottom : r.top;
    const long one = HIWORD(ask(list, LVM_APPROXIMATEVIEWRECT, 1, MAKELPARAM(-1, -1)));
    const long two = HIWORD(ask(list, LVM_APPROXIMATEVIEWRECT, 2, MAKELPARAM(-1, -1)));
    const long extended = static_cast<long>(ask(list, LVM_GETEXTENDEDLISTVIEWSTYLE));
    std::printf("list %ld %ld %ld %ld %ld %ld %ld %d\n", r.left, r.top, r.right, r.bottom, header_bottom,
                two - one, static_cast<long>(ask(list, LVM_GETITEMCOUNT)), (extended & LVS_EX_CHECKBOXES) ? 1 : 0);
    r = screen_rect(toolbar);
    const LRESULT size = ask(toolbar, TB_GETBUTTONSIZE);
    std::printf("toolbar %ld %ld %ld %ld %d %d %ld %d\n", r.left, r.top, r.right, r.bottom, LOWORD(size),
                HIWORD(size), static_cast<long>(ask(toolbar, TB_BUTTONCOUNT)),
                ask(toolbar, TB_ISBUTTONCHECKED, ID_CHECK_MODE) > 0 ? 1 : 0);
    return 0;
}

int ping(int timeout_ms)
{
    HWND frame = find_frame();
    if (!frame) {
        std::printf("no window\n");
        return 1;
    }
    const HWND windows[] = {frame, find_child(frame, IDC_TREE), find_child(frame, IDC_RESULT_LIST)};
    const char* const names[] = {"frame", "tree", "list"};
    int silent = 0;
    for (int i = 0; i < 3; ++i) {
        DWORD_PTR result = 0;
        const bool answered = windows[i] && SendMessageTimeoutA(windows[i], WM_NULL, 0, 0, SMTO_ABORTIFHUNG,
                                                                timeout_ms, &result);
        std::printf("%s %s\n", names[i], answered ? "answers" : "does not answer");
        silent += answered ? 0 : 1;
    }
    return silent == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    if (!join_desktop()) {
        std::printf("cannot join the desktop\n");
        return 2;
    }
    int result = 2;
    if (command == "launch" && argc > 4)
        result = launch(argv[2], std::atol(argv[3]), argv[4]);
    else if (command == "geometry")
        result = print_geometry();
    else if (command == "ping")
        result = ping(argc > 2 ? std::atoi(argv[2]) : 5000);
    else if (command == "close") {
        HWND frame = find_frame();
        result = frame && PostMessageA(frame, WM_CLOSE, 0, 0) ? 0 : 1;
    } else
        std::fprintf(stderr, "usage: window_probe launch PROGRAM ITEMS OUT | geometry | ping [MS] | close\n");
    std::fflush(stdout);
    return result;
}
