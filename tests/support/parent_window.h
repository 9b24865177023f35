// A plain top-level window for the window tests to put controls in, and the
// bounded message pump they wait with. Win32 only.
#pragma once

#include "base/windows_win32.h"

#include <functional>

class ParentWindow {
public:
    // A window whose client area is width by height pixels. Hidden unless
    // asked for: a shown top-level window costs seconds under Wine without a
    // window manager, and the controls answer the same without being seen;
    // only what is painted (update regions) needs a shown window.
    ParentWindow(int width, int height, bool shown = false);
    ~ParentWindow();
    ParentWindow(const ParentWindow&) = delete;
    ParentWindow& operator=(const ParentWindow&) = delete;

    HWND hwnd() const { return hwnd_; }

private:
    HWND hwnd_ = nullptr;
};

// Dispatches the thread's messages until `done` says so or `milliseconds`
// have passed; gives what `done` said last. Never waits longer.
bool pump_messages_until(const std::function<bool()>& done, DWORD milliseconds);
// Dispatches the thread's messages for `milliseconds`.
void pump_messages_for(DWORD milliseconds);
