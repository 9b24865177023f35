// What the window keeps beside the inventory for as long as the program
// runs: the tree control and the result list control (their windows come
// and go with the views that make them), the toolbar while the frame has
// one, the number of the list the overview page last showed, and the pane
// captions' font. The one object of the process is made by the application
// (after the inventory, before its own start) and reached through
// window_state().
#pragma once

#include "framework/gdi_win32.h"
#include "ui/result_list_win32.h"
#include "ui/tree_control_win32.h"

#include <string>

class mtbr;

class WindowState {
public:
    // The caption font in the face the settings name, 8 points; a face the
    // system does not know still gives a font.
    explicit WindowState(const std::string& font_face);
    ~WindowState();
    WindowState(const WindowState&) = delete;
    WindowState& operator=(const WindowState&) = delete;

    mtrc tree;
    mbox result_list;
    mtbr* toolbar = nullptr;  // the frame's toolbar while it exists, not owned
    // The ID number of the list shown at the last idle pass.
    int shown_id = 0;
    CFont caption_font;
};

// The window state of the process: the one made last, while it exists.
WindowState& window_state();
