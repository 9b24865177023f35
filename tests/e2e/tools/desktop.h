// Shared by the test helpers that look at windows on a Wine desktop
// (`wine explorer /desktop=NAME,WxH PROGRAM`): such windows are invisible to
// a process on the default desktop until its thread joins theirs.
#pragma once

#include <windows.h>

// Joins the desktop NAME, waiting up to `seconds` for it to exist. Must run
// before the thread creates any window. False when it never came.
inline bool join_desktop(const char* name, int seconds)
{
    for (int waited = 0; waited <= seconds * 10; ++waited) {
        HDESK desktop = OpenDesktopA(name, 0, FALSE, GENERIC_ALL);
        if (desktop && SetThreadDesktop(desktop))
            return true;
        if (desktop)
            CloseDesktop(desktop);
        Sleep(100);
    }
    return false;
}
