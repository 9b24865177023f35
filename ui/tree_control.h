// The navigation tree control. The object lives with the application
// object; its window is made by the tree view, which owns the window's
// wrapper (mtrc::Control) and the image list of the program's icons.
#pragma once

class mtrc {
public:
    mtrc();
    ~mtrc();
    mtrc(const mtrc&) = delete;
    mtrc& operator=(const mtrc&) = delete;

    // The control's window and its message handlers (tree_view_win32.h);
    // none while the tree view has not made it.
    class Control;
    Control* control = nullptr;
};
