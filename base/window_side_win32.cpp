// The Win32 window side: the frame's window handle, SendMessageA and
// PostMessageA, MessageBoxA with the stop icon and the program's caption,
// and the process's end.
#include "base/window_side.h"

#include "base/windows_win32.h"

#include <cstdlib>

namespace {

HWND main_hwnd() { return static_cast<HWND>(main_window_handle()); }

class Win32WindowSide : public WindowSide {
public:
    bool has_main_window() override { return main_hwnd() != nullptr; }
    void send_command(int command) override
    {
        if (HWND w = main_hwnd())
            SendMessageA(w, WM_COMMAND, static_cast<WPARAM>(command), 0);
    }
    void post_command(int command) override
    {
        if (HWND w = main_hwnd())
            PostMessageA(w, WM_COMMAND, static_cast<WPARAM>(command), 0);
    }
    void stop_box(const std::string& text) override
    {
        MessageBoxA(main_hwnd(), text.c_str(), box_caption().c_str(), MB_OK | MB_ICONSTOP);
    }
    [[noreturn]] void end_process(int exit_code) override { std::exit(exit_code); }
};

}  // namespace

WindowSide& default_window_side()
{
    // Never destroyed: static destructors that run later may still use it.
    static Win32WindowSide* side = new Win32WindowSide;
    return *side;
}
