// The host's window side: there is never a main window; a message box is its
// text on standard error, which death tests match.
#include "base/window_side.h"

#include <cstdlib>

namespace {

class HostWindowSide : public WindowSide {
public:
    bool has_main_window() override { return false; }
    void send_command(int) override {}
    void post_command(int) override {}
    void stop_box(const std::string& text) override { print_stop_box(text); }
    [[noreturn]] void end_process(int exit_code) override { std::exit(exit_code); }
};

}  // namespace

WindowSide& default_window_side()
{
    // Never destroyed: static destructors that run later may still use it.
    static HostWindowSide* side = new HostWindowSide;
    return *side;
}
