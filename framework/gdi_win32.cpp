#include "framework/gdi.h"

#include <windows.h>

#include <cstring>

bool CFont::CreatePointFont(int tenths_of_point, const std::string& face_name)
{
    DeleteObject();
    face_name_ = face_name;
    HDC screen = GetDC(nullptr);
    LOGFONTA lf{};
    // Point size to logical height on the screen: tenths of a point at the
    // screen's pixels per inch, 720 tenths to the inch.
    lf.lfHeight = -MulDiv(tenths_of_point, GetDeviceCaps(screen, LOGPIXELSY), 720);
    ReleaseDC(nullptr, screen);
    lf.lfCharSet = DEFAULT_CHARSET;
    std::strncpy(lf.lfFaceName, face_name.c_str(), LF_FACESIZE - 1);
    handle_ = CreateFontIndirectA(&lf);
    return handle_ != nullptr;
}

void CFont::DeleteObject()
{
    if (handle_) {
        ::DeleteObject(static_cast<HFONT>(handle_));
        handle_ = nullptr;
    }
}
