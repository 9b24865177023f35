#include "tests/support/parent_window.h"

namespace {

const char* parent_class()
{
    static const char* name = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = "PolrixTestParent";
        RegisterClassA(&wc);
        return wc.lpszClassName;
    }();
    return name;
}

}  // namespace

ParentWindow::ParentWindow(int width, int height, bool shown)
{
    const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    RECT outer{0, 0, width, height};
    AdjustWindowRect(&outer, style, FALSE);
    hwnd_ = CreateWindowExA(0, parent_class(), "test", style | (shown ? WS_VISIBLE : 0), 0, 0,
                            outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
}

ParentWindow::~ParentWindow()
{
    if (hwnd_)
        DestroyWindow(hwnd_);
}

bool pump_messages_until(const std::function<bool()>& done, DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (done())
            return true;
        DWORD spent = GetTickCount() - start;
        if (spent >= milliseconds)
            return done();
        // Wakes for the next message, and at least every 10 ms to look again.
        DWORD slice = milliseconds - spent < 10 ? milliseconds - spent : 10;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, slice, QS_ALLINPUT);
    }
}

void pump_messages_for(DWORD milliseconds)
{
    pump_messages_until([] { return false; }, milliseconds);
}
