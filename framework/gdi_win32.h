// GDI holders of the window side. Each owns its handle and gives it back
// with the object: device contexts are deleted or released, bitmaps,
// brushes and pens deleted. CFont (gdi.h) is shared with the core.
#pragma once

#include "framework/gdi.h"

#include <windows.h>

#include <string>

// A device context. CDC itself owns a memory context (CreateCompatibleDC);
// CPaintDC and CClientDC hold the context of a window for one scope.
class CDC {
public:
    CDC() = default;
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    // A memory context like the given one (the screen's when none).
    bool CreateCompatibleDC(HDC like);
    HDC GetSafeHdc() const { return hdc_; }
    operator HDC() const { return hdc_; }

    // Selects a GDI object and gives back the one it replaced; the caller
    // selects that back before the object ends (or uses SelectionGuard).
    HGDIOBJ SelectObject(HGDIOBJ object) { return ::SelectObject(hdc_, object); }

    void FillSolidRect(const RECT& rect, COLORREF color);
    // Top and left edges in one colour, bottom and right in the other.
    void Draw3dRect(const RECT& rect, COLORREF top_left, COLORREF bottom_right);
    void TextOut(int x, int y, const std::string& text) { ::TextOutA(hdc_, x, y, text.data(), int(text.size())); }
    COLORREF SetTextColor(COLORREF color) { return ::SetTextColor(hdc_, color); }
    int SetBkMode(int mode) { return ::SetBkMode(hdc_, mode); }
    bool BitBlt(int x, int y, int width, int height, HDC source, int source_x, int source_y, DWORD rop)
    {
        return ::BitBlt(hdc_, x, y, width, height, source, source_x, source_y, rop) != 0;
    }

protected:
    HDC hdc_ = nullptr;
};

// BeginPaint and EndPaint of a WM_PAINT handler.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(HWND hwnd);
    ~CPaintDC() override;
    const PAINTSTRUCT& paint() const { return paint_; }

private:
    HWND hwnd_;
    PAINTSTRUCT paint_{};
};

// GetDC and ReleaseDC of a window's client area.
class CClientDC : public CDC {
public:
    explicit CClientDC(HWND hwnd);
    ~CClientDC() override;

private:
    HWND hwnd_;
};

// Puts an object into a context for one scope and the old one back after.
class SelectionGuard {
public:
    SelectionGuard(HDC dc, HGDIOBJ object) : dc_(dc), old_(::SelectObject(dc, object)) {}
    ~SelectionGuard() { ::SelectObject(dc_, old_); }
    SelectionGuard(const SelectionGuard&) = delete;
    SelectionGuard& operator=(const SelectionGuard&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// The common part of the holders of one GDI object.
template <class Handle>
class GdiObject {
public:
    GdiObject() = default;
    ~GdiObject() { DeleteObject(); }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    Handle handle() const { return handle_; }
    operator Handle() const { return handle_; }
    void DeleteObject()
    {
        if (handle_) {
            ::DeleteObject(handle_);
            handle_ = nullptr;
        }
    }
    // Takes the handle over; the holder deletes it.
    void Attach(Handle handle)
    {
        DeleteObject();
        handle_ = handle;
    }
    Handle Detach()
    {
        Handle handle = handle_;
        handle_ = nullptr;
        return handle;
    }

protected:
    Handle handle_ = nullptr;
};

class CBitmap : public GdiObject<HBITMAP> {
public:
    // A bitmap resource of the program; colours as stored.
    bool LoadBitmap(UINT resource_id);
    // A bitmap resource whose greys become the system's button colours.
    bool LoadMappedBitmap(UINT resource_id);
    bool CreateCompatibleBitmap(HDC like, int width, int height);
    SIZE GetSize() const;
};

class CBrush : public GdiObject<HBRUSH> {
public:
    bool CreateSolidBrush(COLORREF color);
};

class CPen : public GdiObject<HPEN> {
public:
    bool CreatePen(int style, int width, COLORREF color);
};
