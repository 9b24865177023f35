#include "framework/framewnd_win32.h"

#include "framework/controlbar_win32.h"
#include "framework/doctemplate_win32.h"
#include "framework/document_win32.h"
#include "framework/handlers_win32.h"
#include "framework/resources_win32.h"
#include "framework/statusbar_win32.h"
#include "framework/toolbar_win32.h"
#include "framework/winapp_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>

CFrameWnd::~CFrameWnd()
{
    // The bars outlive the frame object only as members of a derived
    // frame, which destroys them first; forget any that remain.
    bars_.clear();
}

bool CFrameWnd::LoadFrame(UINT resource_id, DWORD style, CWnd* parent, CCreateContext* context)
{
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    HICON icon = ::LoadIconA(instance, MAKEINTRESOURCEA(resource_id));
    std::string title;
    if (load_string(resource_id, title))
        app_title_ = title;
    CWinApp* app = AfxGetApp();
    if (app && app->app_title.empty())
        app->app_title = app_title_;
    menu_ = ::LoadMenuA(instance, MAKEINTRESOURCEA(resource_id));
    std::string name = RegisterClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW),
                                     reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), icon);
    if (context)
        document_ = context->document;
    create_context_ = context;
    RECT rect{CW_USEDEFAULT, CW_USEDEFAULT, 0, 0};
    bool made = CreateEx(0, name, app_title_, style, rect, parent ? parent->m_hWnd : nullptr, menu_, context);
    create_context_ = nullptr;
    if (!made) {
        if (menu_ && !::IsMenu(menu_))
            menu_ = nullptr;
        if (menu_)
            ::DestroyMenu(menu_);
        menu_ = nullptr;
        return false;
    }
    RecalcLayout();
    return true;
}

const MessageMap& CFrameWnd::GetMessageMap() const
{
    static const MessageMap map(&(CWnd::GetMessageMap()),
                                {
                                    on_create(&CFrameWnd::OnCreate),
                                    on_size(&CFrameWnd::OnSize),
                                    on_close(&CFrameWnd::OnClose),
                                    on_destroy(&CFrameWnd::OnDestroy),
                                    on_set_focus(&CFrameWnd::OnSetFocus),
                                    on_init_menu_popup(&CFrameWnd::OnInitMenuPopup),
                                    on_menu_select(&CFrameWnd::OnMenuSelect),
                                    on_plain(WM_EXITMENULOOP, &CFrameWnd::OnExitMenuLoop),
                                    on_notify_range(TTN_GETDISPINFOA, 1, 0xFFFF, &CFrameWnd::OnToolTipText),
                                    on_notify_range(TTN_GETDISPINFOW, 1, 0xFFFF, &CFrameWnd::OnToolTipText),
                                    on_command_range(ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, &CFrameWnd::OnBarCheck),
                                });
    return map;
}

LRESULT CFrameWnd::WindowProc(UINT message, WPARAM wparam, LPARAM lparam)
{
    // Menu entries and accelerators (no control), toolbar buttons and other
    // buttons (BN_CLICKED, 0) are commands; other control notifications go
    // to the handler table as they are.
    if (message == WM_COMMAND && (lparam == 0 || HIWORD(wparam) == 0)) {
        if (OnCmdMsg(LOWORD(wparam), true))
            return 0;
    }
    return CWnd::WindowProc(message, wparam, lparam);
}

int CFrameWnd::OnCreate(CREATESTRUCTA* create)
{
    if (Default() == -1)
        return -1;
    auto* context = static_cast<CCreateContext*>(create->lpCreateParams);
    return OnCreateClient(create, context) ? 0 : -1;
}

bool CFrameWnd::OnCreateClient(CREATESTRUCTA*, CCreateContext* context)
{
    if (!context || !context->new_view)
        return true;
    RECT rect{0, 0, 0, 0};
    return CView::CreateView(context->new_view, this, AFX_IDW_PANE_FIRST, rect, context) != nullptr;
}

void CFrameWnd::OnSize(UINT type, int, int)
{
    if (type != SIZE_MINIMIZED)
        RecalcLayout();
}

void CFrameWnd::RecalcLayout()
{
    if (!m_hWnd)
        return;
    RECT client = GetClientRect();
    RECT rest = client;
    for (CControlBar* bar : bars_) {
        if (!bar->m_hWnd || !(bar->GetStyle() & WS_VISIBLE))
            continue;
        if (bar->at_top())
            rest.top += bar->Place(client, rest.top);
        else
            rest.bottom -= bar->Place(client, rest.bottom);
    }
    if (rest.bottom < rest.top)
        rest.bottom = rest.top;
    if (HWND pane = ::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST))
        ::MoveWindow(pane, rest.left, rest.top, rest.right - rest.left, rest.bottom - rest.top, TRUE);
}

void CFrameWnd::OnClose()
{
    // A frame not shown yet is still being made (a box of the start may be
    // waiting in its creation): destroyed now, the creation would go on in a
    // window that is gone. So the close waits until the frame is shown.
    if (!::IsWindowVisible(m_hWnd)) {
        close_pending_ = true;
        return;
    }
    // Closing the frame that shows the document closes the document: the
    // template ends it once the frame has ended (PostNcDestroy).
    DestroyWindow();
}

void CFrameWnd::ShowFrame(int how)
{
    ShowWindow(how);
    if (close_pending_ && ::IsWindowVisible(m_hWnd)) {
        close_pending_ = false;
        ::PostMessageA(m_hWnd, WM_CLOSE, 0, 0);
    }
}

void CFrameWnd::OnDestroy()
{
    CWinApp* app = AfxGetApp();
    if (app && app->main_window == m_hWnd) {
        app->main_window = nullptr;
        ::PostQuitMessage(0);
    }
    Default();
}

void CFrameWnd::PostNcDestroy()
{
    menu_ = nullptr;  // destroyed with the window
    CDocTemplate* doc_template = doc_template_;
    bool end_object = auto_delete_;
    if (end_object)
        delete this;
    if (doc_template)
        doc_template->FrameEnded(this);
}

void CFrameWnd::OnSetFocus(HWND old)
{
    if (active_view_ && active_view_->m_hWnd)
        ::SetFocus(active_view_->m_hWnd);
    else
        (void)old;
}

void CFrameWnd::SetActiveView(CView* view)
{
    if (view == active_view_)
        return;
    CView* previous = active_view_;
    active_view_ = view;
    if (previous)
        previous->OnActivateView(false);
    if (view)
        view->OnActivateView(true);
}

CDocument* CFrameWnd::GetActiveDocument() const
{
    if (active_view_ && active_view_->GetDocument())
        return active_view_->GetDocument();
    return document_;
}

bool CFrameWnd::OnCmdMsg(unsigned id, bool run)
{
    if (active_view_ && active_view_->OnCmdMsg(id, run))
        return true;
    if (CDocument* document = GetActiveDocument()) {
        if (document->OnCmdMsg(id, run))
            return true;
    }
    if (CWnd::OnCmdMsg(id, run))
        return true;
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(id, run);
}

bool CFrameWnd::PreTranslateMessage(MSG* msg)
{
    for (HWND hwnd = msg->hwnd; hwnd && hwnd != m_hWnd; hwnd = ::GetParent(hwnd)) {
        CWnd* wnd = FromHandlePermanent(hwnd);
        if (wnd && wnd->PreTranslateMessage(msg))
            return true;
    }
    return false;
}

void CFrameWnd::InitialUpdateFrame(CDocument* document)
{
    if (document)
        document->UpdateInitialViews();
    if (!active_view_ && document && !document->views().empty())
        SetActiveView(document->views().front());
    OnUpdateFrameTitle();
    SetMessageText(idle_text());
}

void CFrameWnd::OnUpdateFrameTitle()
{
    CDocument* document = GetActiveDocument();
    if (document)
        SetWindowText(document->GetTitle() + " - " + app_title_);
    else
        SetWindowText(app_title_);
}

void CFrameWnd::AddControlBar(CControlBar* bar)
{
    if (std::find(bars_.begin(), bars_.end(), bar) == bars_.end())
        bars_.push_back(bar);
}

void CFrameWnd::RemoveControlBar(CControlBar* bar)
{
    bars_.erase(std::remove(bars_.begin(), bars_.end(), bar), bars_.end());
}

CControlBar* CFrameWnd::GetControlBar(UINT id) const
{
    for (CControlBar* bar : bars_) {
        if (bar->m_hWnd && static_cast<UINT>(::GetDlgCtrlID(bar->m_hWnd)) == id)
            return bar;
    }
    return nullptr;
}

void CFrameWnd::ShowControlBar(CControlBar* bar, bool show)
{
    if (!bar || !bar->m_hWnd)
        return;
    bar->ShowWindow(show ? SW_SHOW : SW_HIDE);
    RecalcLayout();
    UpdateBarChecks(GetMenu());
}

void CFrameWnd::OnBarCheck(UINT id)
{
    CControlBar* bar = GetControlBar(id);
    if (bar)
        ShowControlBar(bar, !(bar->GetStyle() & WS_VISIBLE));
}

void CFrameWnd::UpdateBarChecks(HMENU menu)
{
    if (!menu)
        return;
    for (UINT id : {UINT(ID_VIEW_TOOLBAR), UINT(ID_VIEW_STATUS_BAR)}) {
        CControlBar* bar = GetControlBar(id);
        bool shown = bar && (bar->GetStyle() & WS_VISIBLE);
        ::CheckMenuItem(menu, id, MF_BYCOMMAND | (shown ? MF_CHECKED : MF_UNCHECKED));
    }
}

void CFrameWnd::OnInitMenuPopup(HMENU popup, UINT, bool system)
{
    if (system)
        return;
    int count = ::GetMenuItemCount(popup);
    for (int i = 0; i < count; ++i) {
        UINT id = ::GetMenuItemID(popup, i);
        if (id == 0 || id == static_cast<UINT>(-1))
            continue;  // a separator or a popup of its own
        bool handled = OnCmdMsg(id, false);
        ::EnableMenuItem(popup, static_cast<UINT>(i), MF_BYPOSITION | (handled ? MF_ENABLED : MF_GRAYED));
    }
    UpdateBarChecks(popup);
}

void CFrameWnd::OnMenuSelect(UINT item, UINT flags, HMENU menu)
{
    if (flags == 0xFFFF && !menu) {
        SetMessageText(idle_text());  // the menu was closed
        return;
    }
    if (flags & (MF_POPUP | MF_SEPARATOR))
        SetMessageText("");
    else
        SetMessageText(command_prompt(item));
}

void CFrameWnd::OnExitMenuLoop() { SetMessageText(idle_text()); }

LRESULT CFrameWnd::OnToolTipText(NMHDR* header)
{
    // A toolbar button's tip: the second line of its command's string. The
    // text is copied into the notification's own buffer, which outlives
    // this call; a tip too long for it is cut.
    const std::string tip = command_tip(static_cast<UINT>(header->idFrom));
    if (header->code == TTN_GETDISPINFOW) {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
        const int room = static_cast<int>(std::size(info->szText)) - 1;
        const int length = ::MultiByteToWideChar(CP_ACP, 0, tip.data(),
                                                 static_cast<int>(std::min<size_t>(tip.size(), room)),
                                                 info->szText, room);
        info->szText[length] = L'\0';
        info->lpszText = info->szText;
        info->hinst = nullptr;
    } else {
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
        const size_t length = std::min(tip.size(), std::size(info->szText) - 1);
        tip.copy(info->szText, length);
        info->szText[length] = '\0';
        info->lpszText = info->szText;
        info->hinst = nullptr;
    }
    return 0;
}

CStatusBar* CFrameWnd::FindStatusBar() const
{
    for (CControlBar* bar : bars_) {
        if (auto* status = dynamic_cast<CStatusBar*>(bar))
            return status;
    }
    return nullptr;
}

void CFrameWnd::SetMessageText(const std::string& text)
{
    CStatusBar* status = FindStatusBar();
    if (status && status->GetCount() > 0 && status->GetItemID(0) == ID_SEPARATOR)
        status->SetPaneText(0, text);
}

void CFrameWnd::UpdateCommandStates()
{
    for (CControlBar* bar : bars_) {
        if (bar->m_hWnd && (bar->GetStyle() & WS_VISIBLE))
            bar->UpdateCommandStates(*this);
    }
}
