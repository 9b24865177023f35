// The static control (text, picture). The wrapper takes the control's
// messages through its handler table (a derived class may paint it itself)
// and hands the rest to the control; the control belongs to its parent.
#pragma once

#include "framework/wnd_win32.h"

#include <string>

class CStatic : public CWnd {
public:
    bool Create(const std::string& text, DWORD style, const RECT& rect, CWnd* parent, UINT id);
    // The picture shown with SS_BITMAP; gives back the one it replaced.
    HBITMAP SetBitmap(HBITMAP bitmap);
};
