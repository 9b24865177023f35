// The program's own window in the test's process: started as the program
// starts it, its queue run as the program's message loop runs it (the frame
// pre-translating every message, then the idle passes), its controls found
// and read through their own messages, and clicks on tree items as the
// mouse gives them. Win32 only, in-process.
#pragma once

#include "app/application_win32.h"
#include "res/resource.h"
#include "ui/frame_win32.h"
#include "ui/tree_view_win32.h"

#include <windows.h>

#include <commctrl.h>

#include <chrono>
#include <string>
#include <vector>

// Handles every queued message as the program's loop does, then the idle
// passes, until nothing is left. A WM_QUIT is dropped.
inline void run_program_queue(mapp& application)
{
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                continue;
            mwin* frame = main_frame();
            if (frame && frame->PreTranslateMessage(&msg))
                continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        long count = 0;
        while (application.OnIdle(count++) != 0) {
        }
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE))
            return;
    }
}

// Runs the queue until done() holds or the milliseconds have passed; gives
// what done() said last.
template <typename Done>
bool run_program_queue_until(mapp& application, Done done, int milliseconds)
{
    const auto start = std::chrono::steady_clock::now();
    for (;;) {
        run_program_queue(application);
        if (done())
            return true;
        if (std::chrono::steady_clock::now() - start > std::chrono::milliseconds(milliseconds))
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

// Closes the frame as its system menu does and runs the queue until it is gone.
inline bool close_program_window(mapp& application)
{
    mwin* frame = main_frame();
    if (!frame)
        return true;
    PostMessageA(frame->m_hWnd, WM_CLOSE, 0, 0);
    return run_program_queue_until(
        application, [] { return main_frame() == nullptr; }, 30000);
}

inline HWND frame_window()
{
    mwin* frame = main_frame();
    return frame ? frame->m_hWnd : nullptr;
}

inline HWND tree_window()
{
    mwin* frame = main_frame();
    mvwt* view = frame ? frame->TreeView() : nullptr;
    return view && view->Tree() ? view->Tree()->m_hWnd : nullptr;
}

// A tree item's text and image.
struct TreeItemSeen {
    std::string text;
    int image = -1;
    bool operator==(const TreeItemSeen& other) const { return text == other.text && image == other.image; }
};

inline TreeItemSeen tree_item(HWND tree, HTREEITEM item)
{
    char text[1024] = "";
    TVITEMA data{};
    data.mask = TVIF_TEXT | TVIF_IMAGE;
    data.hItem = item;
    data.pszText = text;
    data.cchTextMax = sizeof text;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data));
    return {text, data.iImage};
}

// The top-level items and the items under each, in their order.
inline std::vector<HTREEITEM> tree_items(HWND tree)
{
    std::vector<HTREEITEM> items;
    for (HTREEITEM top = TreeView_GetRoot(tree); top; top = TreeView_GetNextSibling(tree, top)) {
        items.push_back(top);
        for (HTREEITEM child = TreeView_GetChild(tree, top); child; child = TreeView_GetNextSibling(tree, child))
            items.push_back(child);
    }
    return items;
}

inline HTREEITEM find_tree_item(HWND tree, const std::string& text)
{
    for (HTREEITEM item : tree_items(tree))
        if (tree_item(tree, item).text == text)
            return item;
    return nullptr;
}

// The middle of the item's text, in the tree's client coordinates, once
// the item is scrolled into view (the scroll is the test's, not the
// program's: under Wine it takes a few milliseconds even for an item in view).
inline LPARAM tree_item_point(HWND tree, HTREEITEM item)
{
    TreeView_EnsureVisible(tree, item);
    RECT rect{};
    TreeView_GetItemRect(tree, item, &rect, TRUE);
    return MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

// A left click at a point of the tree: the release is queued first, so the
// control's wait for it (a drag or a click) ends at once. Returns when the
// click handler has.
inline void click_tree_at(HWND tree, LPARAM at)
{
    PostMessageA(tree, WM_LBUTTONUP, 0, at);
    SendMessageA(tree, WM_LBUTTONDOWN, MK_LBUTTON, at);
}

// A left click on the item's text.
inline void click_tree_item(HWND tree, HTREEITEM item) { click_tree_at(tree, tree_item_point(tree, item)); }

// The text of a status bar pane.
inline std::string status_pane_text(int pane)
{
    HWND bar = GetDlgItem(frame_window(), AFX_IDW_STATUS_BAR);
    const int length = LOWORD(SendMessageA(bar, SB_GETTEXTLENGTHA, pane, 0));
    std::string text(static_cast<size_t>(length) + 1, '\0');
    SendMessageA(bar, SB_GETTEXTA, pane, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(length));
    return text;
}
