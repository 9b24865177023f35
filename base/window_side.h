// The window side as the core sees it: whether there is a main window, the
// numbered commands sent or posted to it, the stop-icon message box and the
// end of the process. The default side is chosen at link time: the real one
// in the Windows programs (window_side_win32.cpp); on the host one without a
// main window that prints message boxes to standard error and really exits
// (window_side_host.cpp). Tests install a recorder of their own.
#pragma once

#include <string>

class WindowSide {
public:
    virtual ~WindowSide() = default;

    // True when the program has a main window (never in the batch run).
    virtual bool has_main_window() = 0;
    // WM_COMMAND with the command number in wParam and lParam 0. send waits
    // until the window thread has handled it; post queues it.
    virtual void send_command(int command) = 0;
    virtual void post_command(int command) = 0;
    // Modal box with the stop icon and an OK button; returns when closed.
    virtual void stop_box(const std::string& text) = 0;
    [[noreturn]] virtual void end_process(int exit_code) = 0;
};

WindowSide& window_side();
// Installs another window side (tests); nullptr restores the default.
void set_window_side(WindowSide* side);

// Shows the stop box with the text, then ends the process with the code.
[[noreturn]] void fail_and_exit(const std::string& text, int exit_code);

// How the window side finds the main window (an HWND, or none): the window
// framework installs its way of asking when its application object is made,
// so that this layer needs nothing of the framework. Without one there is no
// main window.
using MainWindowSource = void* (*)();
void set_main_window_source(MainWindowSource source);
void* main_window_handle();

// The caption of the program's message boxes, installed the same way: the
// framework's application title. Without one the caption is empty.
using CaptionSource = std::string (*)();
void set_caption_source(CaptionSource source);
std::string box_caption();

// A stop box where there is no screen: "[stop box] <text>" on standard error,
// which death tests match.
void print_stop_box(const std::string& text);
