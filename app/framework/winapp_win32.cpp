// The window thread's message loop with the idle passes of the application.
#include "app/framework/winapp.h"

#include <windows.h>

int RunMessageLoop(CWinApp& app)
{
    MSG msg{};
    long idle_count = 0;
    for (;;) {
        // Idle passes while the queue is empty, until the application wants
        // no more of them.
        bool more_idle = true;
        while (more_idle && !PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE))
            more_idle = app.OnIdle(idle_count++) != 0;
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1)
            break;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        idle_count = 0;
    }
    return static_cast<int>(msg.wParam);
}
