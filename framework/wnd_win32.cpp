#include "framework/wnd_win32.h"

#include <cstdio>
#include <unordered_map>

namespace {

// The objects bound to the windows. Windows belong to the window thread,
// and so does this map.
std::unordered_map<HWND, CWnd*>& window_map()
{
    static std::unordered_map<HWND, CWnd*> map;
    return map;
}

// The object whose window is being made on this thread: bound at the
// window's first message (WM_GETMINMAXINFO comes before WM_NCCREATE).
thread_local CWnd* g_creating = nullptr;

}  // namespace

const MessageEntry* MessageMap::find(UINT message, WPARAM wparam, LPARAM lparam) const
{
    for (const MessageMap* map = this; map; map = map->base_) {
        for (const MessageEntry& entry : map->entries_) {
            if (entry.message != message)
                continue;
            if (message == WM_COMMAND) {
                UINT id = LOWORD(wparam);
                UINT code = HIWORD(wparam);
                if (id < entry.first_id || id > entry.last_id)
                    continue;
                if (entry.code != ANY_CODE && entry.code != code)
                    continue;
            } else if (message == WM_NOTIFY) {
                auto* header = reinterpret_cast<const NMHDR*>(lparam);
                if (header->idFrom < entry.first_id || header->idFrom > entry.last_id)
                    continue;
                if (entry.code != ANY_CODE && entry.code != header->code)
                    continue;
            }
            return &entry;
        }
    }
    return nullptr;
}

LRESULT CALLBACK framework_window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam)
{
    CWnd* wnd = CWnd::FromHandlePermanent(hwnd);
    if (!wnd && g_creating) {
        wnd = g_creating;
        g_creating = nullptr;
        wnd->Bind(hwnd);
        wnd->owns_window_ = true;
    }
    if (!wnd)
        return ::DefWindowProcA(hwnd, message, wparam, lparam);
    ++wnd->depth_;
    LRESULT result = wnd->Route(message, wparam, lparam);
    --wnd->depth_;
    if (message == WM_NCDESTROY) {
        wnd->Unbind();
        wnd->ended_ = true;
    }
    // A window closed inside one of its own handlers ends its object only
    // when that handler has returned.
    if (wnd->ended_ && wnd->depth_ == 0) {
        wnd->ended_ = false;
        wnd->PostNcDestroy();
    }
    return result;
}

LRESULT CALLBACK framework_subclass_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam)
{
    CWnd* wnd = CWnd::FromHandlePermanent(hwnd);
    if (!wnd)
        return ::DefWindowProcA(hwnd, message, wparam, lparam);
    if (message == WM_NCDESTROY) {
        WNDPROC original = wnd->original_proc_;
        wnd->UnsubclassWindow();
        return ::CallWindowProcA(original, hwnd, message, wparam, lparam);
    }
    return wnd->Route(message, wparam, lparam);
}

CWnd::~CWnd()
{
    if (!m_hWnd)
        return;
    if (original_proc_) {
        UnsubclassWindow();
    } else if (owns_window_) {
        auto_delete_ = false;
        ::DestroyWindow(m_hWnd);
    }
    Unbind();
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd)
{
    if (!hwnd)
        return nullptr;
    auto found = window_map().find(hwnd);
    return found == window_map().end() ? nullptr : found->second;
}

void CWnd::Bind(HWND hwnd)
{
    m_hWnd = hwnd;
    window_map()[hwnd] = this;
}

void CWnd::Unbind()
{
    if (m_hWnd) {
        auto found = window_map().find(m_hWnd);
        if (found != window_map().end() && found->second == this)
            window_map().erase(found);
    }
    m_hWnd = nullptr;
    owns_window_ = false;
}

std::string CWnd::RegisterClass(UINT class_style, HCURSOR cursor, HBRUSH background, HICON icon)
{
    char name[96];
    std::snprintf(name, sizeof name, "PolrixWnd:%x:%p:%p:%p", class_style, static_cast<void*>(cursor),
                  static_cast<void*>(background), static_cast<void*>(icon));
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    WNDCLASSA existing{};
    if (::GetClassInfoA(instance, name, &existing))
        return name;
    WNDCLASSA wc{};
    wc.style = class_style;
    wc.lpfnWndProc = framework_window_proc;
    wc.hInstance = instance;
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.lpszClassName = name;
    ::RegisterClassA(&wc);
    return name;
}

bool CWnd::CreateEx(DWORD ex_style, const std::string& class_name, const std::string& title, DWORD style,
                    const RECT& rect, HWND parent, HMENU menu_or_id, void* params)
{
    g_creating = this;
    HWND hwnd = ::CreateWindowExA(ex_style, class_name.c_str(), title.c_str(), style, rect.left, rect.top,
                                  rect.right - rect.left, rect.bottom - rect.top, parent, menu_or_id,
                                  ::GetModuleHandleA(nullptr), params);
    g_creating = nullptr;
    // A create handler that failed has destroyed the window already.
    return hwnd != nullptr && m_hWnd == hwnd;
}

bool CWnd::Create(const std::string& title, DWORD style, const RECT& rect, CWnd* parent, UINT id, void* params)
{
    std::string name = RegisterClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW),
                                     reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), nullptr);
    return CreateEx(0, name, title, style | WS_CHILD, rect, parent ? parent->m_hWnd : nullptr,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), params);
}

bool CWnd::DestroyWindow()
{
    if (!m_hWnd)
        return false;
    if (original_proc_) {
        HWND hwnd = UnsubclassWindow();
        return ::DestroyWindow(hwnd) != 0;
    }
    return ::DestroyWindow(m_hWnd) != 0;
}

bool CWnd::SubclassWindow(HWND hwnd)
{
    if (!hwnd || m_hWnd || FromHandlePermanent(hwnd))
        return false;
    Bind(hwnd);
    original_proc_ = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(framework_subclass_proc)));
    return true;
}

bool CWnd::SubclassDlgItem(UINT id, CWnd* parent)
{
    return parent && SubclassWindow(::GetDlgItem(parent->m_hWnd, id));
}

HWND CWnd::UnsubclassWindow()
{
    HWND hwnd = m_hWnd;
    if (hwnd && original_proc_)
        ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_proc_));
    original_proc_ = nullptr;
    Unbind();
    return hwnd;
}

HWND CWnd::Detach()
{
    HWND hwnd = m_hWnd;
    if (FromHandlePermanent(hwnd) == this)
        Unbind();
    m_hWnd = nullptr;
    return hwnd;
}

bool CWnd::PreTranslateMessage(MSG*) { return false; }

const MessageMap& CWnd::GetMessageMap() const
{
    static const MessageMap map(nullptr, {});
    return map;
}

bool CWnd::Dispatch(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result)
{
    const MessageEntry* entry = GetMessageMap().find(message, wparam, lparam);
    return entry && entry->call(*this, wparam, lparam, result);
}

LRESULT CWnd::Route(UINT message, WPARAM wparam, LPARAM lparam)
{
    UINT saved_message = current_message_;
    WPARAM saved_wparam = current_wparam_;
    LPARAM saved_lparam = current_lparam_;
    current_message_ = message;
    current_wparam_ = wparam;
    current_lparam_ = lparam;
    LRESULT result = WindowProc(message, wparam, lparam);
    current_message_ = saved_message;
    current_wparam_ = saved_wparam;
    current_lparam_ = saved_lparam;
    return result;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wparam, LPARAM lparam)
{
    LRESULT result = 0;
    if (Dispatch(message, wparam, lparam, result))
        return result;
    return DefWindowProc(message, wparam, lparam);
}

LRESULT CWnd::Default() { return DefWindowProc(current_message_, current_wparam_, current_lparam_); }

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wparam, LPARAM lparam)
{
    if (original_proc_)
        return ::CallWindowProcA(original_proc_, m_hWnd, message, wparam, lparam);
    return ::DefWindowProcA(m_hWnd, message, wparam, lparam);
}

bool CWnd::OnCmdMsg(unsigned id, bool run)
{
    const MessageEntry* entry = GetMessageMap().find(WM_COMMAND, MAKEWPARAM(id, 0), 0);
    if (!entry)
        return CCmdTarget::OnCmdMsg(id, run);
    if (run) {
        LRESULT ignored = 0;
        entry->call(*this, MAKEWPARAM(id, 0), 0, ignored);
    }
    return true;
}

RECT CWnd::GetClientRect() const
{
    RECT rect{};
    ::GetClientRect(m_hWnd, &rect);
    return rect;
}

RECT CWnd::GetWindowRect() const
{
    RECT rect{};
    ::GetWindowRect(m_hWnd, &rect);
    return rect;
}

std::string CWnd::GetWindowText() const
{
    int length = ::GetWindowTextLengthA(m_hWnd);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    int got = ::GetWindowTextA(m_hWnd, &text[0], length + 1);
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return text;
}

void CWnd::ModifyStyle(DWORD remove, DWORD add)
{
    DWORD style = (GetStyle() & ~remove) | add;
    ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>(style));
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}
