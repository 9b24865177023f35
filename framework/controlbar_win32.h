// The bars of a frame (toolbar, status bar): common controls that the frame
// places along its top or bottom edge in its layout step. The wrapper holds
// the control's handle; the control belongs to the frame window.
#pragma once

#include "framework/wnd_win32.h"

class CFrameWnd;

// Bar styles: which edge the bar sits on, and tool tips for its buttons.
enum : DWORD {
    CBRS_TOP = 0x1,
    CBRS_BOTTOM = 0x2,
    CBRS_TOOLTIPS = 0x4,
};

class CControlBar : public CWnd {
public:
    ~CControlBar() override;

    bool at_top() const { return (bar_style_ & CBRS_BOTTOM) == 0; }
    // Places the bar across the width of the frame's client area with its
    // top edge (top bars) or bottom edge (bottom bars) at y; gives back the
    // height it took.
    virtual int Place(const RECT& client, int y) = 0;
    // Brings the bar's buttons or panes up to date in the idle pass.
    virtual void UpdateCommandStates(CFrameWnd&) {}

protected:
    // Makes the common control of the class as a child of the frame and
    // registers the bar with it.
    bool CreateControl(CWnd* parent, const char* class_name, DWORD style, DWORD bar_style, UINT id);

private:
    CFrameWnd* frame_ = nullptr;
    DWORD bar_style_ = CBRS_TOP;
};
