// Test helper: joins a Wine desktop and reports the geometry and state of
// the program's frame window and its controls, so that a test derives its
// click points from the window as it is laid out. Everything is read with
// messages that carry no pointers (Wine does not carry pointer-bearing
// common-control messages across processes).
//   windowinfo DESKTOP frame [SECONDS]            waits for the frame, prints key=value lines
//   windowinfo DESKTOP caption TEXT [SECONDS]     waits until the frame's caption is TEXT
//   windowinfo DESKTOP close [SECONDS]            posts WM_CLOSE to the frame
//   windowinfo DESKTOP closeframe [SECONDS]       posts WM_CLOSE to the frame also while it
//                                                 is hidden (a box during its start)
//   windowinfo DESKTOP dialog CAPTION [SECONDS]   waits for a dialog box of that caption
//   windowinfo DESKTOP nodialog CAPTION [SECONDS] waits until no such dialog box is there
//   windowinfo DESKTOP typeable CAPTION [SECONDS] waits until that dialog box is the active
//                                                 window with the keyboard focus inside it,
//                                                 so that typed keys reach it
//   windowinfo DESKTOP focuspage [SECONDS]        gives the keyboard focus to the browser
//                                                 control's window (under Wine, without an
//                                                 HTML engine, a click on the blank page
//                                                 leaves the focus where it was); prints
//                                                 the focus window's class afterwards
//   windowinfo DESKTOP answers [SECONDS]          the frame answers a message within a
//                                                 second (SendMessageTimeout of WM_NULL)
//   windowinfo DESKTOP clickclose X Y [SECONDS]   posts a left click at the screen point
//                                                 to the tree and, right behind it, WM_CLOSE
//                                                 to the frame: the close is handled the
//                                                 moment the click's work has started
// Rectangles are screen coordinates "left top right bottom". The frame is
// the top-level window whose caption ends with " - Polrix".
// Exit code 0 when what was waited for came, 1 when not in time, 2 for a
// wrong call.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "desktop.h"

namespace {

std::string window_text(HWND hwnd)
{
    int length = GetWindowTextLengthA(hwnd);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(hwnd, &text[0], length + 1)));
    return text;
}

std::string class_of(HWND hwnd)
{
    char name[64] = {};
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

bool ends_with(const std::string& text, const std::string& ending)
{
    return text.size() >= ending.size() && text.compare(text.size() - ending.size(), ending.size(), ending) == 0;
}

BOOL CALLBACK find_frame(HWND hwnd, LPARAM param)
{
    if (IsWindowVisible(hwnd) && ends_with(window_text(hwnd), " - Polrix")) {
        *reinterpret_cast<HWND*>(param) = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND frame_window()
{
    HWND found = nullptr;
    EnumWindows(find_frame, reinterpret_cast<LPARAM>(&found));
    return found;
}

// The program's top-level frame, shown or not: its class is one that the
// program's framework registers, and its caption is not yet set while it
// is hidden.
BOOL CALLBACK find_any_frame(HWND hwnd, LPARAM param)
{
    if (class_of(hwnd).rfind("PolrixWnd:", 0) == 0 && !(GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD)) {
        *reinterpret_cast<HWND*>(param) = hwnd;
        return FALSE;
    }
    return TRUE;
}

struct DialogSearch {
    std::string caption;
    HWND found = nullptr;
};

BOOL CALLBACK find_dialog(HWND hwnd, LPARAM param)
{
    auto* search = reinterpret_cast<DialogSearch*>(param);
    if (IsWindowVisible(hwnd) && class_of(hwnd) == "#32770" && window_text(hwnd) == search->caption) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND dialog_window(const std::string& caption)
{
    DialogSearch search;
    search.caption = caption;
    EnumWindows(find_dialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

struct ChildSearch {
    std::string class_name;
    HWND found = nullptr;
};

BOOL CALLBACK find_child(HWND hwnd, LPARAM param)
{
    auto* search = reinterpret_cast<ChildSearch*>(param);
    if (class_of(hwnd) == search->class_name) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND child_of_class(HWND parent, const char* class_name)
{
    ChildSearch search;
    search.class_name = class_name;
    EnumChildWindows(parent, find_child, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void print_rect(const char* key, const RECT& r)
{
    std::printf("%s=%ld %ld %ld %ld\n", key, r.left, r.top, r.right, r.bottom);
}

// The client area of a window in screen coordinates.
RECT client_on_screen(HWND hwnd)
{
    RECT r = {};
    GetClientRect(hwnd, &r);
    POINT corners[2] = {{r.left, r.top}, {r.right, r.bottom}};
    MapWindowPoints(hwnd, nullptr, corners, 2);
    return RECT{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

void print_window(const char* key, HWND hwnd)
{
    RECT r = {};
    GetWindowRect(hwnd, &r);
    print_rect(key, r);
    std::string client = std::string(key) + "_client";
    print_rect(client.c_str(), client_on_screen(hwnd));
}

void print_tree(HWND tree)
{
    print_window("tree", tree);
    std::printf("tree_items=%ld\n", static_cast<long>(SendMessageA(tree, TVM_GETCOUNT, 0, 0)));
    std::printf("tree_item_height=%ld\n", static_cast<long>(SendMessageA(tree, TVM_GETITEMHEIGHT, 0, 0)));
    std::printf("tree_indent=%ld\n", static_cast<long>(SendMessageA(tree, TVM_GETINDENT, 0, 0)));
}

void print_toolbar(HWND toolbar)
{
    print_window("toolbar", toolbar);
    LRESULT size = SendMessageA(toolbar, TB_GETBUTTONSIZE, 0, 0);
    std::printf("toolbar_button=%d %d\n", LOWORD(size), HIWORD(size));
    std::printf("toolbar_buttons=%ld\n", static_cast<long>(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0)));
    // The states of the three buttons: open, save, check-box mode.
    const int commands[] = {57601, 57603, 204};
    for (int command : commands)
        std::printf("toolbar_state_%d=%ld\n", command,
                    static_cast<long>(SendMessageA(toolbar, TB_GETSTATE, static_cast<WPARAM>(command), 0)));
}

void print_list(HWND list)
{
    print_window("list", list);
    HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    RECT header_rect = {};
    if (header && IsWindowVisible(header))
        GetWindowRect(header, &header_rect);
    std::printf("list_header_height=%ld\n", header_rect.bottom - header_rect.top);
    const long columns = header ? static_cast<long>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0L;
    std::printf("list_columns=%ld\n", columns);
    // The widths of the columns, left to right: the headings' click points.
    std::string widths;
    for (long c = 0; c < columns; ++c)
        widths += (c ? " " : "") +
                  std::to_string(SendMessageA(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(c), 0));
    std::printf("list_column_widths=%s\n", widths.c_str());
    long rows = static_cast<long>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    std::printf("list_rows=%ld\n", rows);
    // The height of a report row: what one more row adds to the view.
    LRESULT one = SendMessageA(list, LVM_APPROXIMATEVIEWRECT, 1, MAKELPARAM(-1, -1));
    LRESULT two = SendMessageA(list, LVM_APPROXIMATEVIEWRECT, 2, MAKELPARAM(-1, -1));
    std::printf("list_row_height=%d\n", HIWORD(two) - HIWORD(one));
    std::printf("list_top_row=%ld\n", static_cast<long>(SendMessageA(list, LVM_GETTOPINDEX, 0, 0)));
    LRESULT ex_style = SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
    std::printf("list_checkboxes=%d\n", (ex_style & LVS_EX_CHECKBOXES) ? 1 : 0);
    // One character per row: 1 ticked, 0 not (state image 2 is the ticked box).
    std::string checked;
    for (long i = 0; i < rows; ++i) {
        LRESULT state = SendMessageA(list, LVM_GETITEMSTATE, static_cast<WPARAM>(i), LVIS_STATEIMAGEMASK);
        checked += ((state & LVIS_STATEIMAGEMASK) >> 12) == 2 ? '1' : '0';
    }
    std::printf("list_checked=%s\n", checked.c_str());
}

void print_frame(HWND frame)
{
    std::printf("caption=%s\n", window_text(frame).c_str());
    print_window("frame", frame);
    // The screen's metrics that the frame's placement is computed from, the
    // menu bar's height, and the largest size the system lets a window have.
    std::printf("metrics=%d %d %d %d %d %d\n", GetSystemMetrics(SM_CXFULLSCREEN),
                GetSystemMetrics(SM_CYFULLSCREEN), GetSystemMetrics(SM_CYCAPTION), GetSystemMetrics(SM_CYMENU),
                GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK));
    if (HWND tree = child_of_class(frame, "SysTreeView32"))
        print_tree(tree);
    if (HWND toolbar = child_of_class(frame, "ToolbarWindow32"))
        print_toolbar(toolbar);
    if (HWND list = child_of_class(frame, "SysListView32"))
        print_list(list);
    if (HWND status = child_of_class(frame, "msctls_statusbar32")) {
        print_window("status", status);
        // WM_GETTEXT of a status bar reads its first pane; Wine carries the
        // message across processes (GetWindowText would not ask the control).
        char pane[512] = {};
        DWORD_PTR copied = 0;
        SendMessageTimeoutA(status, WM_GETTEXT, sizeof pane, reinterpret_cast<LPARAM>(pane), SMTO_ABORTIFHUNG,
                            2000, &copied);
        std::printf("status_text=%s\n", pane);
    }
    // The browser control's own window, in the overview pane.
    if (HWND browser = child_of_class(frame, "Shell Embedding"))
        print_window("browser", browser);
    // The window with the keyboard focus in the frame's thread, by its class
    // (none when the thread has no focus window), and the class of the
    // frame's child it lies in.
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof gui;
    std::string focus;
    std::string focus_in;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(frame, nullptr), &gui) && gui.hwndFocus) {
        focus = class_of(gui.hwndFocus);
        for (HWND w = gui.hwndFocus; w && w != frame; w = GetParent(w)) {
            const std::string name = class_of(w);
            if (name == "SysTreeView32" || name == "SysListView32" || name == "Shell Embedding")
                focus_in = name;
        }
    }
    std::printf("focus=%s\n", focus.c_str());
    std::printf("focus_in=%s\n", focus_in.c_str());
}

// Calls `found` every tenth of a second until it says yes or time is up.
template <typename Test>
bool wait_for(int seconds, Test found)
{
    for (int waited = 0; waited <= seconds * 10; ++waited) {
        if (found())
            return true;
        Sleep(100);
    }
    return false;
}

// A tool tip window on show, none when there is none.
BOOL CALLBACK find_tooltip(HWND hwnd, LPARAM param)
{
    if (IsWindowVisible(hwnd) && class_of(hwnd) == TOOLTIPS_CLASSA) {
        *reinterpret_cast<HWND*>(param) = hwnd;
        return FALSE;
    }
    return TRUE;
}

// A window's text as it answers WM_GETTEXT (a tool tip answers with the tip
// it shows; Wine carries the message across processes).
std::string asked_text(HWND hwnd)
{
    char text[512] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                        &copied);
    return text;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    std::string command = argv[2];
    int texts = (command == "clickclose" || command == "size") ? 2
                : (command == "caption" || command == "dialog" || command == "nodialog" || command == "typeable")
                    ? 1
                    : 0;
    if (argc < 3 + texts)
        return 2;
    std::string text = texts > 0 ? argv[3] : "";
    int seconds_at = 3 + texts;
    int seconds = argc > seconds_at ? std::atoi(argv[seconds_at]) : 30;
    if (!join_desktop(argv[1], seconds)) {
        std::printf("no desktop %s\n", argv[1]);
        return 1;
    }

    HWND frame = nullptr;
    if (command == "frame" || command == "close") {
        if (!wait_for(seconds, [&] { return (frame = frame_window()) != nullptr; })) {
            std::printf("no frame\n");
            return 1;
        }
        if (command == "close")
            PostMessageA(frame, WM_CLOSE, 0, 0);
        else
            print_frame(frame);
        return 0;
    }
    if (command == "closeframe") {
        if (!wait_for(seconds, [&] {
                EnumWindows(find_any_frame, reinterpret_cast<LPARAM>(&frame));
                return frame != nullptr;
            })) {
            std::printf("no frame\n");
            return 1;
        }
        std::printf("visible=%d\n", IsWindowVisible(frame) ? 1 : 0);
        PostMessageA(frame, WM_CLOSE, 0, 0);
        return 0;
    }
    if (command == "focuspage") {
        HWND browser = nullptr;
        if (!wait_for(seconds, [&] {
                frame = frame_window();
                browser = frame ? child_of_class(frame, "Shell Embedding") : nullptr;
                return browser != nullptr;
            })) {
            std::printf("no browser window\n");
            return 1;
        }
        // SetFocus works on the windows of the caller's own input: share the
        // frame thread's input for the call.
        const DWORD own = GetCurrentThreadId();
        const DWORD theirs = GetWindowThreadProcessId(frame, nullptr);
        if (!AttachThreadInput(own, theirs, TRUE)) {
            std::printf("cannot share the frame's input\n");
            return 1;
        }
        SetFocus(browser);
        HWND focus = GetFocus();
        AttachThreadInput(own, theirs, FALSE);
        std::printf("focus=%s\n", focus ? class_of(focus).c_str() : "");
        return focus == browser ? 0 : 1;
    }
    if (command == "answers") {
        if (!wait_for(seconds, [&] { return (frame = frame_window()) != nullptr; })) {
            std::printf("no frame\n");
            return 1;
        }
        DWORD_PTR result = 0;
        DWORD start = GetTickCount();
        bool answered = SendMessageTimeoutA(frame, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &result) != 0;
        std::printf("answers=%d ms=%lu\n", answered ? 1 : 0, GetTickCount() - start);
        return answered ? 0 : 1;
    }
    if (command == "clickclose") {
        HWND tree = nullptr;
        if (!wait_for(seconds, [&] {
                return (frame = frame_window()) && (tree = child_of_class(frame, "SysTreeView32"));
            })) {
            std::printf("no frame\n");
            return 1;
        }
        POINT point = {std::atoi(argv[3]), std::atoi(argv[4])};
        ScreenToClient(tree, &point);
        PostMessageA(tree, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
        PostMessageA(tree, WM_LBUTTONUP, 0, MAKELPARAM(point.x, point.y));
        PostMessageA(frame, WM_CLOSE, 0, 0);
        return 0;
    }
    if (command == "caption") {
        std::string last;
        bool seen = wait_for(seconds, [&] {
            frame = frame_window();
            last = frame ? window_text(frame) : "";
            return last == text;
        });
        std::printf("caption=%s\n", last.c_str());
        return seen ? 0 : 1;
    }
    if (command == "dialog") {
        HWND dialog = nullptr;
        if (!wait_for(seconds, [&] { return (dialog = dialog_window(text)) != nullptr; })) {
            std::printf("no dialog %s\n", text.c_str());
            return 1;
        }
        print_window("dialog", dialog);
        return 0;
    }
    if (command == "typeable") {
        // The dialog shows before its thread makes it active and puts the
        // focus on its first control; keys typed in between go elsewhere.
        if (!wait_for(seconds, [&] {
                HWND dialog = dialog_window(text);
                GUITHREADINFO thread{};
                thread.cbSize = sizeof thread;
                return dialog && GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &thread) &&
                       thread.hwndActive == dialog && thread.hwndFocus &&
                       (thread.hwndFocus == dialog || IsChild(dialog, thread.hwndFocus));
            })) {
            std::printf("dialog %s takes no keys\n", text.c_str());
            return 1;
        }
        return 0;
    }
    if (command == "size") {
        if (!wait_for(seconds, [&] { return (frame = frame_window()) != nullptr; })) {
            std::printf("no frame\n");
            return 1;
        }
        SetWindowPos(frame, nullptr, 0, 0, std::atoi(argv[3]), std::atoi(argv[4]),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        print_frame(frame);
        return 0;
    }
    if (command == "tooltip") {
        HWND tip = nullptr;
        std::string text;
        bool shown = wait_for(seconds, [&] {
            tip = nullptr;
            EnumWindows(find_tooltip, reinterpret_cast<LPARAM>(&tip));
            return tip && !(text = asked_text(tip)).empty();
        });
        std::printf("tooltip=%s\n", text.c_str());
        return shown ? 0 : 1;
    }
    if (command == "nodialog")
        return wait_for(seconds, [&] { return dialog_window(text) == nullptr; }) ? 0 : 1;
    return 2;
}
