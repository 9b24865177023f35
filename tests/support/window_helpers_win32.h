// Helpers of the in-process window tests: running the queue, and closing a
// modal box of this thread from a timer while the box runs.
#pragma once

#include "base/windows_win32.h"

#include <functional>
#include <string>

// Handles every queued message of the thread; a WM_QUIT is taken and
// reported, not acted on.
inline bool pump_messages()
{
    bool quit = false;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            quit = true;
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return quit;
}

inline BOOL CALLBACK take_first_dialog(HWND hwnd, LPARAM param)
{
    char name[16] = "";
    GetClassNameA(hwnd, name, sizeof name);
    if (std::string(name) == "#32770" && IsWindowVisible(hwnd)) {
        *reinterpret_cast<HWND*>(param) = hwnd;
        return FALSE;
    }
    return TRUE;
}

// The first visible dialog-class window of this thread, none when there is none.
inline HWND find_thread_dialog()
{
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), take_first_dialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

// Runs action on the first dialog of this thread that shows up (looking
// every 50 ms) while the thread sits in a modal loop; each run of the
// action handles one dialog. Kill the timer by destroying the object.
class DialogCloser {
public:
    explicit DialogCloser(std::function<void(HWND)> action) : action_(std::move(action))
    {
        current() = this;
        timer_ = SetTimer(nullptr, 0, 50, &DialogCloser::tick);
    }
    ~DialogCloser()
    {
        KillTimer(nullptr, timer_);
        current() = nullptr;
    }
    DialogCloser(const DialogCloser&) = delete;
    DialogCloser& operator=(const DialogCloser&) = delete;
    int runs = 0;

private:
    static DialogCloser*& current()
    {
        static DialogCloser* closer = nullptr;
        return closer;
    }
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD)
    {
        DialogCloser* self = current();
        if (!self)
            return;
        if (HWND dialog = find_thread_dialog()) {
            ++self->runs;
            self->action_(dialog);
        }
    }
    std::function<void(HWND)> action_;
    UINT_PTR timer_ = 0;
};

inline std::string window_text(HWND hwnd)
{
    int length = GetWindowTextLengthA(hwnd);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(hwnd, &text[0], length + 1)));
    return text;
}
