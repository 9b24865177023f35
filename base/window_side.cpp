#include "base/window_side.h"

#include <cstdio>
#include <cstdlib>

WindowSide& default_window_side();  // window_side_win32.cpp or window_side_host.cpp

namespace {
WindowSide* g_installed = nullptr;
MainWindowSource g_main_window_source = nullptr;
CaptionSource g_caption_source = nullptr;
}

WindowSide& window_side() { return g_installed ? *g_installed : default_window_side(); }

void set_window_side(WindowSide* side) { g_installed = side; }

void set_main_window_source(MainWindowSource source) { g_main_window_source = source; }

void* main_window_handle() { return g_main_window_source ? g_main_window_source() : nullptr; }

void set_caption_source(CaptionSource source) { g_caption_source = source; }

std::string box_caption() { return g_caption_source ? g_caption_source() : std::string(); }

void fail_and_exit(const std::string& text, int exit_code)
{
    window_side().stop_box(text);
    window_side().end_process(exit_code);
    std::abort();  // end_process does not come back
}

void print_stop_box(const std::string& text)
{
    std::fprintf(stderr, "[stop box] %s\n", text.c_str());
    std::fflush(stderr);
}
