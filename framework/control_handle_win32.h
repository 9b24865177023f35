// The handle part of a common-control wrapper: the control's window, which
// the wrapper reaches but does not own (the control goes with its parent).
#pragma once

#include "base/windows_win32.h"

class ControlHandle {
public:
    explicit ControlHandle(HWND hwnd = nullptr) : hwnd_(hwnd) {}

    void Attach(HWND hwnd) { hwnd_ = hwnd; }
    HWND Detach()
    {
        HWND hwnd = hwnd_;
        hwnd_ = nullptr;
        return hwnd;
    }
    HWND GetSafeHwnd() const { return hwnd_; }

protected:
    // Creates a control of the window class as a child of parent and wraps it.
    bool CreateControl(const char* window_class, DWORD style, const RECT& rect, HWND parent, UINT id)
    {
        hwnd_ = ::CreateWindowExA(0, window_class, "", style, rect.left, rect.top, rect.right - rect.left,
                                  rect.bottom - rect.top, parent,
                                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), ::GetModuleHandleA(nullptr),
                                  nullptr);
        return hwnd_ != nullptr;
    }

    HWND hwnd_;
};
