#include "ui/window_state_win32.h"

#include <cstdlib>

namespace {
WindowState* g_state = nullptr;
}

WindowState::WindowState(const std::string& font_face)
{
    caption_font.CreatePointFont(80, font_face);
    g_state = this;
}

WindowState::~WindowState()
{
    if (g_state == this)
        g_state = nullptr;
}

WindowState& window_state()
{
    if (!g_state)
        std::abort();  // a window without the program's window state
    return *g_state;
}
