#include "framework/image_list_win32.h"

bool CImageList::Create(int cx, int cy, UINT flags, int initial, int grow)
{
    Attach(ImageList_Create(cx, cy, flags, initial, grow));
    return list_ != nullptr;
}

bool CImageList::LoadBitmap(HINSTANCE module, const char* name, int cx, int grow, COLORREF mask, UINT load_flags)
{
    Attach(ImageList_LoadImageA(module, name, cx, grow, mask, IMAGE_BITMAP, load_flags));
    return list_ != nullptr;
}

int CImageList::Add(HBITMAP bitmap, COLORREF mask)
{
    if (!list_)
        return -1;
    return ImageList_AddMasked(list_, bitmap, mask);
}

void CImageList::Attach(HIMAGELIST list)
{
    if (list == list_)
        return;
    DeleteImageList();
    list_ = list;
}

HIMAGELIST CImageList::Detach()
{
    HIMAGELIST list = list_;
    list_ = nullptr;
    return list;
}

void CImageList::DeleteImageList()
{
    if (list_) {
        ImageList_Destroy(list_);
        list_ = nullptr;
    }
}

int CImageList::GetImageCount() const { return list_ ? ImageList_GetImageCount(list_) : 0; }

bool CImageList::GetImageInfo(int image, IMAGEINFO& info) const
{
    return list_ && ImageList_GetImageInfo(list_, image, &info);
}

bool DrawImageIndirect(HIMAGELIST list, HDC dc, int image, POINT point, SIZE size, POINT origin, UINT style,
                       DWORD rop, COLORREF background, COLORREF foreground)
{
    if (!list)
        return false;
    IMAGELISTDRAWPARAMS params{};
    params.cbSize = sizeof params;
    params.himl = list;
    params.i = image;
    params.hdcDst = dc;
    params.x = point.x;
    params.y = point.y;
    params.cx = size.cx;
    params.cy = size.cy;
    params.xBitmap = origin.x;
    params.yBitmap = origin.y;
    params.rgbBk = background;
    params.rgbFg = foreground;
    params.fStyle = style;
    params.dwRop = rop;
    return ImageList_DrawIndirect(&params) != FALSE;
}

bool CImageList::DrawIndirect(HDC dc, int image, POINT point, SIZE size, POINT origin, UINT style, DWORD rop,
                              COLORREF background, COLORREF foreground) const
{
    return DrawImageIndirect(list_, dc, image, point, size, origin, style, rop, background, foreground);
}
