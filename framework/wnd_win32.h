// The window base class. A CWnd is bound to its HWND from the window's first
// message on and hands each message to a named handler with typed
// parameters, found in the class's handler table; a message without a
// handler in the class goes to its base class's table and at last to the
// window's default procedure.
//
// A window made by Create/CreateEx belongs to its object: destroying the
// object destroys the window. A control made by a wrapper class or a window
// subclassed with SubclassWindow belongs to its parent: the wrapper only
// holds the handle (and gives the window its original procedure back).
#pragma once

#include "framework/cmdtarget_win32.h"

#include "base/windows_win32.h"

// <windowsx.h> defines SubclassWindow as a macro of two arguments. In a
// source that includes it before this header, the macro would rewrite the
// declaration of CWnd's member of that name; it goes here. No header of the
// framework includes <windowsx.h>.
#undef SubclassWindow

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

class CWnd;

// One handler: the message (and, for WM_COMMAND and WM_NOTIFY, the range of
// control or command IDs and the notification code) and the call that
// unpacks the parameters. call returns false when the handler left the
// message to the default procedure.
struct MessageEntry {
    UINT message;
    UINT first_id;
    UINT last_id;
    UINT code;
    std::function<bool(CWnd&, WPARAM, LPARAM, LRESULT&)> call;
};

class MessageMap {
public:
    MessageMap(const MessageMap* base, std::initializer_list<MessageEntry> entries)
        : base_(base), entries_(entries)
    {
    }
    // The handler of the message in this class or the nearest base class.
    const MessageEntry* find(UINT message, WPARAM wparam, LPARAM lparam) const;

private:
    const MessageMap* base_;
    std::vector<MessageEntry> entries_;
};

// An entry's code that takes every notification code of its WM_COMMAND or
// WM_NOTIFY. Commands of menus, accelerators and toolbar buttons do not come
// through it: the frame routes them by ID (see on_command).
constexpr UINT ANY_CODE = 0xFFFFFFFFu;

class CWnd : public CCmdTarget {
public:
    CWnd() = default;
    ~CWnd() override;

    HWND m_hWnd = nullptr;
    operator HWND() const { return m_hWnd; }

    // The object bound to a window of this thread, none for a window that
    // no CWnd holds.
    static CWnd* FromHandlePermanent(HWND hwnd);

    // Registers (once) a window class of this framework with the icon,
    // cursor and background and gives back its name.
    static std::string RegisterClass(UINT class_style, HCURSOR cursor, HBRUSH background, HICON icon);

    // Makes a window of a class registered with RegisterClass (or any
    // class whose procedure is CWnd's) bound to this object. For child
    // windows menu_or_id is the control ID. params reaches
    // CREATESTRUCT::lpCreateParams.
    bool CreateEx(DWORD ex_style, const std::string& class_name, const std::string& title, DWORD style,
                  const RECT& rect, HWND parent, HMENU menu_or_id, void* params = nullptr);
    // A child window of the framework's plain class.
    bool Create(const std::string& title, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                void* params = nullptr);
    virtual bool DestroyWindow();

    // Wraps a window made elsewhere (a control): its messages go through
    // this object's handler table, then to its own procedure.
    bool SubclassWindow(HWND hwnd);
    bool SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();
    // Holds a handle without taking its messages or its life.
    void Attach(HWND hwnd) { m_hWnd = hwnd; }
    HWND Detach();

    // Called before the message is translated and dispatched; true when it
    // was handled and must not be dispatched.
    virtual bool PreTranslateMessage(MSG* msg);
    // The message through the handler tables, then the default procedure.
    virtual LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam);
    // The default procedure for the message being handled.
    LRESULT Default();
    // Commands: a WM_COMMAND entry of the handler table handles it.
    bool OnCmdMsg(unsigned id, bool run) override;
    // Called after the window's last message; the object may end itself.
    virtual void PostNcDestroy() {}

    // Thin calls on the handle.
    void ShowWindow(int show) { ::ShowWindow(m_hWnd, show); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    void Invalidate(bool erase = true) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    bool IsWindowVisible() const { return m_hWnd && ::IsWindowVisible(m_hWnd); }
    void MoveWindow(int x, int y, int width, int height, bool repaint = true)
    {
        ::MoveWindow(m_hWnd, x, y, width, height, repaint);
    }
    void MoveWindow(const RECT& rect, bool repaint = true)
    {
        MoveWindow(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, repaint);
    }
    RECT GetClientRect() const;
    RECT GetWindowRect() const;
    void SetWindowText(const std::string& text) { ::SetWindowTextA(m_hWnd, text.c_str()); }
    std::string GetWindowText() const;
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtrA(m_hWnd, GWL_STYLE)); }
    void ModifyStyle(DWORD remove, DWORD add);
    CWnd* GetParent() const { return FromHandlePermanent(::GetParent(m_hWnd)); }
    CWnd* GetDlgItem(UINT id) const { return FromHandlePermanent(::GetDlgItem(m_hWnd, id)); }
    HMENU GetMenu() const { return ::GetMenu(m_hWnd); }
    LRESULT SendMessage(UINT message, WPARAM wparam = 0, LPARAM lparam = 0) const
    {
        return ::SendMessageA(m_hWnd, message, wparam, lparam);
    }
    bool PostMessage(UINT message, WPARAM wparam = 0, LPARAM lparam = 0) const
    {
        return ::PostMessageA(m_hWnd, message, wparam, lparam) != 0;
    }

protected:
    // The class's handler table; a derived class returns a static table
    // whose base is its base class's table:
    //   const MessageMap& mine::GetMessageMap() const {
    //       static const MessageMap map(&base::GetMessageMap(), { on_size(&mine::OnSize) });
    //       return map; }
    virtual const MessageMap& GetMessageMap() const;
    // The procedure of a message no handler took: the subclassed control's
    // own procedure, or DefWindowProc.
    virtual LRESULT DefWindowProc(UINT message, WPARAM wparam, LPARAM lparam);
    // Handles the message through the tables; false when no handler did.
    bool Dispatch(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result);

    void Bind(HWND hwnd);
    void Unbind();
    // Handles one message: WindowProc with the message kept for Default().
    LRESULT Route(UINT message, WPARAM wparam, LPARAM lparam);
    // Set for windows that the framework makes with new and that end with
    // their window (views, frames made by a document template).
    bool auto_delete_ = false;

public:
    void SetAutoDelete(bool on) { auto_delete_ = on; }

private:
    friend LRESULT CALLBACK framework_window_proc(HWND, UINT, WPARAM, LPARAM);
    friend LRESULT CALLBACK framework_subclass_proc(HWND, UINT, WPARAM, LPARAM);

    WNDPROC original_proc_ = nullptr;  // of a subclassed control
    bool owns_window_ = false;
    // The message being handled, for Default().
    UINT current_message_ = 0;
    WPARAM current_wparam_ = 0;
    LPARAM current_lparam_ = 0;
    // Messages of this window being handled now (one inside another's
    // handler counts twice), and whether the window has ended: the object
    // may end itself only once the outermost handler has returned.
    int depth_ = 0;
    bool ended_ = false;
};

LRESULT CALLBACK framework_window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
