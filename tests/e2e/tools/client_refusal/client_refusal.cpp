// Test helper, loaded by the system into every process of a Wine desktop
// while launch.exe --refuse-client holds its hook: a computer-based-training hook that
// refuses the creation of every child window with the control ID of a
// frame's client (59648, the ID the frame gives its splitter), as the system
// refuses a window when it runs out of them. Everything else is created as
// usual.
#include <windows.h>

namespace {
constexpr UINT_PTR CLIENT_ID = 59648;
}

extern "C" LRESULT CALLBACK refuse_client(int code, WPARAM wparam, LPARAM lparam)
{
    if (code == HCBT_CREATEWND) {
        // The A and W forms of the structure agree in these two fields.
        const CREATESTRUCTA* create = reinterpret_cast<CBT_CREATEWNDA*>(lparam)->lpcs;
        if ((create->style & WS_CHILD) && reinterpret_cast<UINT_PTR>(create->hMenu) == CLIENT_ID)
            return 1;
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}
