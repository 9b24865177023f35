#include "framework/controlbar_win32.h"

#include "framework/framewnd_win32.h"

CControlBar::~CControlBar()
{
    if (frame_)
        frame_->RemoveControlBar(this);
}

bool CControlBar::CreateControl(CWnd* parent, const char* class_name, DWORD style, DWORD bar_style, UINT id)
{
    bar_style_ = bar_style;
    HWND hwnd = ::CreateWindowExA(0, class_name, "", style | WS_CHILD, 0, 0, 0, 0,
                                  parent ? parent->m_hWnd : nullptr,
                                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), ::GetModuleHandleA(nullptr),
                                  nullptr);
    if (!hwnd)
        return false;
    Attach(hwnd);
    frame_ = dynamic_cast<CFrameWnd*>(parent);
    if (frame_)
        frame_->AddControlBar(this);
    return true;
}
