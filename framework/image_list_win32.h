// An image list of the common controls, owned: destroyed with the object
// unless it was detached first.
#pragma once

#include "base/windows_win32.h"

#include <commctrl.h>

// Draws image `image` of a list that the caller holds, as
// CImageList::DrawIndirect does.
bool DrawImageIndirect(HIMAGELIST list, HDC dc, int image, POINT point, SIZE size, POINT origin,
                       UINT style = ILD_NORMAL, DWORD rop = SRCCOPY, COLORREF background = CLR_DEFAULT,
                       COLORREF foreground = CLR_DEFAULT);

class CImageList {
public:
    CImageList() = default;
    ~CImageList() { DeleteImageList(); }
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    // An empty list of images of cx by cy pixels; flags: ILC_COLOR32,
    // ILC_MASK ...; room for `initial` images, growing by `grow`.
    bool Create(int cx, int cy, UINT flags, int initial, int grow);
    // A list cut from a bitmap into images `cx` pixels wide, pixels of
    // `mask` colour made transparent (CLR_NONE: no mask). `name` is a
    // resource of `module` (MAKEINTRESOURCEA for a number), or a file path
    // with LR_LOADFROMFILE in `load_flags` and no module.
    bool LoadBitmap(HINSTANCE module, const char* name, int cx, int grow, COLORREF mask,
                    UINT load_flags = LR_CREATEDIBSECTION);
    // Cuts the bitmap into images and adds them, pixels of `mask` colour
    // made transparent. Gives the index of the first new image, or -1.
    int Add(HBITMAP bitmap, COLORREF mask);

    // Takes over a list, destroying the one held before.
    void Attach(HIMAGELIST list);
    // Lets go of the list without destroying it.
    HIMAGELIST Detach();
    void DeleteImageList();
    HIMAGELIST GetSafeHandle() const { return list_; }

    int GetImageCount() const;
    bool GetImageInfo(int image, IMAGEINFO& info) const;
    // Draws image `image` with its top left corner at `point`, `size` pixels
    // of it from `origin` within the image (a size of 0 by 0 draws it
    // whole).
    bool DrawIndirect(HDC dc, int image, POINT point, SIZE size, POINT origin, UINT style = ILD_NORMAL,
                      DWORD rop = SRCCOPY, COLORREF background = CLR_DEFAULT,
                      COLORREF foreground = CLR_DEFAULT) const;

private:
    HIMAGELIST list_ = nullptr;
};
