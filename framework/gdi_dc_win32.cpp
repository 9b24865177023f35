// Device contexts and the bitmap, brush and pen holders.
#include "framework/gdi_win32.h"

CDC::~CDC()
{
    if (hdc_)
        ::DeleteDC(hdc_);
}

bool CDC::CreateCompatibleDC(HDC like)
{
    if (hdc_)
        ::DeleteDC(hdc_);
    hdc_ = ::CreateCompatibleDC(like);
    return hdc_ != nullptr;
}

void CDC::FillSolidRect(const RECT& rect, COLORREF color)
{
    COLORREF old = ::SetBkColor(hdc_, color);
    ::ExtTextOutA(hdc_, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    ::SetBkColor(hdc_, old);
}

void CDC::Draw3dRect(const RECT& rect, COLORREF top_left, COLORREF bottom_right)
{
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    FillSolidRect(RECT{rect.left, rect.top, rect.left + width - 1, rect.top + 1}, top_left);
    FillSolidRect(RECT{rect.left, rect.top, rect.left + 1, rect.top + height - 1}, top_left);
    FillSolidRect(RECT{rect.right - 1, rect.top, rect.right, rect.bottom}, bottom_right);
    FillSolidRect(RECT{rect.left, rect.bottom - 1, rect.right, rect.bottom}, bottom_right);
}

CPaintDC::CPaintDC(HWND hwnd) : hwnd_(hwnd) { hdc_ = ::BeginPaint(hwnd, &paint_); }

CPaintDC::~CPaintDC()
{
    ::EndPaint(hwnd_, &paint_);
    hdc_ = nullptr;
}

CClientDC::CClientDC(HWND hwnd) : hwnd_(hwnd) { hdc_ = ::GetDC(hwnd); }

CClientDC::~CClientDC()
{
    if (hdc_)
        ::ReleaseDC(hwnd_, hdc_);
    hdc_ = nullptr;
}

bool CBitmap::LoadBitmap(UINT resource_id)
{
    Attach(::LoadBitmapA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resource_id)));
    return handle_ != nullptr;
}

bool CBitmap::LoadMappedBitmap(UINT resource_id)
{
    Attach(static_cast<HBITMAP>(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resource_id),
                                             IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS)));
    return handle_ != nullptr;
}

bool CBitmap::CreateCompatibleBitmap(HDC like, int width, int height)
{
    Attach(::CreateCompatibleBitmap(like, width, height));
    return handle_ != nullptr;
}

SIZE CBitmap::GetSize() const
{
    BITMAP info{};
    if (!handle_ || !::GetObjectA(handle_, sizeof info, &info))
        return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight};
}

bool CBrush::CreateSolidBrush(COLORREF color)
{
    Attach(::CreateSolidBrush(color));
    return handle_ != nullptr;
}

bool CPen::CreatePen(int style, int width, COLORREF color)
{
    Attach(::CreatePen(style, width, color));
    return handle_ != nullptr;
}
