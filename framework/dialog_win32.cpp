#include "framework/dialog_win32.h"

#include "framework/winapp_win32.h"

#include <algorithm>

INT_PTR CALLBACK framework_dialog_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam)
{
    CDialog* dialog = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(hwnd));
    if (message == WM_INITDIALOG && !dialog) {
        dialog = reinterpret_cast<CDialog*>(lparam);
        dialog->Bind(hwnd);
    }
    if (!dialog)
        return FALSE;
    // The dialog manager asking for its own default handling of the message
    // that a handler passed on with Default().
    if (dialog->in_default_ && message == dialog->default_message_)
        return FALSE;
    LRESULT result = dialog->Route(message, wparam, lparam);
    bool handled = dialog->handled_;
    if (message == WM_NCDESTROY) {
        dialog->Unbind();
        return FALSE;
    }
    if (!handled)
        return FALSE;
    switch (message) {
    case WM_INITDIALOG:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
        return static_cast<INT_PTR>(result);
    default:
        ::SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, static_cast<LONG_PTR>(result));
        return TRUE;
    }
}

CDialog::CDialog(UINT template_id, CWnd* parent) : template_id_(template_id), parent_(parent) {}

CDialog::CDialog(const DLGTEMPLATE* memory_template, CWnd* parent)
    : memory_template_(memory_template), parent_(parent)
{
}

CDialog::~CDialog()
{
    // A modal dialog's window is gone when DoModal returns.
    if (m_hWnd)
        Unbind();
}

INT_PTR CDialog::DoModal()
{
    HWND owner = parent_ ? parent_->m_hWnd : nullptr;
    if (!owner) {
        if (CWinApp* app = AfxGetApp())
            owner = app->main_window;
    }
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    LPARAM self = reinterpret_cast<LPARAM>(this);
    INT_PTR result = memory_template_ ? ::DialogBoxIndirectParamA(instance, memory_template_, owner,
                                                                  framework_dialog_proc, self)
                                      : ::DialogBoxParamA(instance, MAKEINTRESOURCEA(template_id_), owner,
                                                          framework_dialog_proc, self);
    if (m_hWnd)
        Unbind();
    return result;
}

void CDialog::EndDialog(int result) { ::EndDialog(m_hWnd, result); }

bool CDialog::OnInitDialog()
{
    // Centred on the owner, and kept whole on the owner's screen (the work
    // area, without the task bar). A dialog without an owner stays where
    // its template puts it.
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if (!owner)
        return true;
    RECT over{};
    RECT box{};
    ::GetWindowRect(owner, &over);
    ::GetWindowRect(m_hWnd, &box);
    const LONG width = box.right - box.left;
    const LONG height = box.bottom - box.top;
    LONG left = over.left + ((over.right - over.left) - width) / 2;
    LONG top = over.top + ((over.bottom - over.top) - height) / 2;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (::GetMonitorInfoA(::MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor)) {
        const RECT& work = monitor.rcWork;
        left = std::max(work.left, std::min(left, work.right - width));
        top = std::max(work.top, std::min(top, work.bottom - height));
    }
    ::SetWindowPos(m_hWnd, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wparam, LPARAM lparam)
{
    LRESULT result = 0;
    bool handled = true;
    if (message == WM_INITDIALOG) {
        result = OnInitDialog() ? TRUE : FALSE;
    } else if (Dispatch(message, wparam, lparam, result)) {
    } else if (message == WM_COMMAND && LOWORD(wparam) == IDOK && (lparam == 0 || HIWORD(wparam) == BN_CLICKED)) {
        OnOK();
    } else if (message == WM_COMMAND && LOWORD(wparam) == IDCANCEL &&
               (lparam == 0 || HIWORD(wparam) == BN_CLICKED)) {
        OnCancel();
    } else {
        handled = false;
    }
    handled_ = handled;
    return result;
}

LRESULT CDialog::DefWindowProc(UINT message, WPARAM wparam, LPARAM lparam)
{
    bool was_in_default = in_default_;
    UINT was_message = default_message_;
    in_default_ = true;
    default_message_ = message;
    LRESULT result = ::DefDlgProcA(m_hWnd, message, wparam, lparam);
    in_default_ = was_in_default;
    default_message_ = was_message;
    return result;
}
