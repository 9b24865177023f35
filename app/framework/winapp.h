// The application base: one object per process, reached through AfxGetApp().
// The start and the message loop (Run) are Win32 (winapp_win32.cpp); the
// rest is portable so that the core's application object builds everywhere.
#pragma once

#include <string>

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Runs once before the message loop; false ends the process at once.
    virtual bool InitInstance() { return true; }
    // Runs whenever the message queue is empty; nonzero asks for more.
    virtual int OnIdle(long count);

    // The text after the program's name and the blanks behind it.
    std::string command_line;
    // The frame window's handle (an HWND), none in the batch run.
    void* main_window = nullptr;
};

CWinApp* AfxGetApp();

// The message loop of the window thread, with the idle passes; returns the
// process exit code (Win32 only).
int RunMessageLoop(CWinApp& app);
