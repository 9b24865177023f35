#include "framework/static_win32.h"

bool CStatic::Create(const std::string& text, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    HWND hwnd = ::CreateWindowExA(0, "STATIC", text.c_str(), style | WS_CHILD, rect.left, rect.top,
                                  rect.right - rect.left, rect.bottom - rect.top,
                                  parent ? parent->m_hWnd : nullptr,
                                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), ::GetModuleHandleA(nullptr),
                                  nullptr);
    return hwnd && SubclassWindow(hwnd);
}

HBITMAP CStatic::SetBitmap(HBITMAP bitmap)
{
    return reinterpret_cast<HBITMAP>(SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
}
