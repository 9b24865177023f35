// Entries of a window's handler table: each unpacks the message's
// parameters into the typed parameters of a named handler, as in
//   static const MessageMap map(&CFrameWnd::GetMessageMap(), {
//       on_create(&mwin::OnCreate),
//       on_size(&mwin::OnSize),
//       on_command_range(ID_FILL_TREE, ID_SAVE_QUERIES, &mwin::OnListCommand),
//   });
// A handler that wants the default behaviour as well calls Default() or its
// base class's handler.
#pragma once

#include "framework/wnd_win32.h"

namespace handler_detail {

template <class T>
T& as(CWnd& wnd)
{
    return static_cast<T&>(wnd);
}

// A mouse message's point: two signed 16-bit client coordinates, x in the
// low word (negative left of or above the client area).
inline POINT point_of(LPARAM lparam)
{
    return POINT{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
}

}  // namespace handler_detail

// Any message, with its raw parameters.
template <class T>
MessageEntry on_message(UINT message, LRESULT (T::*handler)(WPARAM, LPARAM))
{
    return {message, 0, 0, ANY_CODE, [handler](CWnd& w, WPARAM wp, LPARAM lp, LRESULT& r) {
                r = (handler_detail::as<T>(w).*handler)(wp, lp);
                return true;
            }};
}

// WM_CREATE: 0 to go on, -1 to fail the creation.
template <class T>
MessageEntry on_create(int (T::*handler)(CREATESTRUCTA*))
{
    return {WM_CREATE, 0, 0, ANY_CODE, [handler](CWnd& w, WPARAM, LPARAM lp, LRESULT& r) {
                r = (handler_detail::as<T>(w).*handler)(reinterpret_cast<CREATESTRUCTA*>(lp));
                return true;
            }};
}

// Messages without parameters: WM_DESTROY, WM_PAINT, WM_CLOSE,
// WM_EXITMENULOOP, WM_CANCELMODE ...
template <class T>
MessageEntry on_plain(UINT message, void (T::*handler)())
{
    return {message, 0, 0, ANY_CODE, [handler](CWnd& w, WPARAM, LPARAM, LRESULT& r) {
                (handler_detail::as<T>(w).*handler)();
                r = 0;
                return true;
            }};
}

template <class T>
MessageEntry on_destroy(void (T::*handler)())
{
    return on_plain(WM_DESTROY, handler);
}

template <class T>
MessageEntry on_paint(void (T::*handler)())
{
    return on_plain(WM_PAINT, handler);
}

template <class T>
MessageEntry on_close(void (T::*handler)())
{
    return on_plain(WM_CLOSE, handler);
}

// WM_SIZE: size type, client width and height.
template <class T>
MessageEntry on_size(void (T::*handler)(UINT, int, int))
{
    return {WM_SIZE, 0, 0, ANY_CODE, [handler](CWnd& w, WPARAM wp, LPARAM lp, LRESULT& r) {
                (handler_detail::as<T>(w).*handler)(static_cast<UINT>(wp), LOWORD(lp), HIWORD(lp));
                r = 0;
                return true;
            }};
}

// WM_ERASEBKGND: true when the background was erased.
template <class T>
MessageEntry on_erase_background(bool (T::*handler)(HDC))
{
    return {WM_ERASEBKGND, 0, 0, ANY_CODE, [handler](CWnd& w, WPARAM wp, LPARAM, LRESULT& r) {
                r = (handler_detail::as<T>(w).*handler)(reinterpret_cast<HDC>(wp)) ? 1 : 0;
                return true;
            }};
}

// Mouse messages (WM_LBUTTONDOWN, WM_LBUTTONUP, WM_MOUSEMOVE, ...): the key
// flags and the point in client coordinates.
template <class T>
MessageEntry on_mouse(UINT message, void (T::*handler)(UINT, POINT))
{
    return {message, 0, 0, ANY_CODE, [handler](CWnd& w, WPARAM wp, LPARAM lp, LRESULT& r) {
                (handler_detail::as<T>(w).*handler)(static_cast<UINT>(wp), handler_detail::point_of(lp));
                r = 0;
                return true;
            }};
}

// WM_MOUSEACTIVATE: the top-level window, hit test and mouse message; gives
// back an MA_ value.
template <class T>
MessageEntry on_mouse_activate(int (T::*handler)(HWND, UINT, UINT))
{
    return {WM_MOUSEACTIVATE, 0, 0, ANY_CODE, [handler](CWnd& w, WPARAM wp, LPARAM lp, LRESULT& r) {
                r = (handler_detail::as<T>(w).*handler)(reinterpret_cast<HWND>(wp), LOWORD(lp), HIWORD(lp));
                return true;
            }};
}

// WM_SETCURSOR: the window under the cursor, the hit test and the mouse
// message; true when the handler set the cursor.
template <class T>
MessageEntry on_set_cursor(bool (T::*handler)(HWND, UINT, UINT))
{
    return {WM_SETCURSOR, 0, 0, ANY_CODE, [handler](CWnd& w, WPARAM wp, LPARAM lp, LRESULT& r) {
                r = (handler_detail::as<T>(w).*handler)(reinterpret_cast<HWND>(wp), LOWORD(lp), HIWORD(lp)) ? 1
                                                                                                            : 0;
                return true;
            }};
}

// WM_SETFOCUS: the window that lost the focus.
template <class T>
MessageEntry on_set_focus(void (T::*handler)(HWND))
{
    return {WM_SETFOCUS, 0, 0, ANY_CODE, [handler](CWnd& w, WPARAM wp, LPARAM, LRESULT& r) {
                (handler_detail::as<T>(w).*handler)(reinterpret_cast<HWND>(wp));
                r = 0;
                return true;
            }};
}

// WM_KEYDOWN: the virtual key, the repeat count and the flags.
template <class T>
MessageEntry on_key_down(void (T::*handler)(UINT, UINT, UINT))
{
    return {WM_KEYDOWN, 0, 0, ANY_CODE, [handler](CWnd& w, WPARAM wp, LPARAM lp, LRESULT& r) {
                (handler_detail::as<T>(w).*handler)(static_cast<UINT>(wp), LOWORD(lp), HIWORD(lp));
                r = 0;
                return true;
            }};
}

// WM_KEYUP: the virtual key, the repeat count and the flags.
template <class T>
MessageEntry on_key_up(void (T::*handler)(UINT, UINT, UINT))
{
    return {WM_KEYUP, 0, 0, ANY_CODE, [handler](CWnd& w, WPARAM wp, LPARAM lp, LRESULT& r) {
                (handler_detail::as<T>(w).*handler)(static_cast<UINT>(wp), LOWORD(lp), HIWORD(lp));
                r = 0;
                return true;
            }};
}

// WM_TIMER: the timer's ID.
template <class T>
MessageEntry on_timer(void (T::*handler)(UINT_PTR))
{
    return {WM_TIMER, 0, 0, ANY_CODE, [handler](CWnd& w, WPARAM wp, LPARAM, LRESULT& r) {
                (handler_detail::as<T>(w).*handler)(static_cast<UINT_PTR>(wp));
                r = 0;
                return true;
            }};
}

// WM_INITMENUPOPUP: the popup, its position and whether it is the system menu.
template <class T>
MessageEntry on_init_menu_popup(void (T::*handler)(HMENU, UINT, bool))
{
    return {WM_INITMENUPOPUP, 0, 0, ANY_CODE, [handler](CWnd& w, WPARAM wp, LPARAM lp, LRESULT& r) {
                (handler_detail::as<T>(w).*handler)(reinterpret_cast<HMENU>(wp), LOWORD(lp), HIWORD(lp) != 0);
                r = 0;
                return true;
            }};
}

// WM_MENUSELECT: the entry (command or position), its MF_ flags and the menu.
template <class T>
MessageEntry on_menu_select(void (T::*handler)(UINT, UINT, HMENU))
{
    return {WM_MENUSELECT, 0, 0, ANY_CODE, [handler](CWnd& w, WPARAM wp, LPARAM lp, LRESULT& r) {
                (handler_detail::as<T>(w).*handler)(LOWORD(wp), HIWORD(wp), reinterpret_cast<HMENU>(lp));
                r = 0;
                return true;
            }};
}

// A command (menu entry, accelerator, toolbar button). The entry matches
// notification code 0 only: the frame takes each WM_COMMAND of a menu, an
// accelerator or a button and offers its ID, as code 0, to the view, the
// document, the frame and the application. An accelerator's WM_COMMAND
// (code 1) reaches this handler only through that routing; sent straight to
// a view or another window, it finds no entry.
template <class T>
MessageEntry on_command(UINT id, void (T::*handler)())
{
    return {WM_COMMAND, id, id, 0, [handler](CWnd& w, WPARAM, LPARAM, LRESULT& r) {
                (handler_detail::as<T>(w).*handler)();
                r = 0;
                return true;
            }};
}

template <class T>
MessageEntry on_command_range(UINT first, UINT last, void (T::*handler)(UINT))
{
    return {WM_COMMAND, first, last, 0, [handler](CWnd& w, WPARAM wp, LPARAM, LRESULT& r) {
                (handler_detail::as<T>(w).*handler)(LOWORD(wp));
                r = 0;
                return true;
            }};
}

// A control's notification by WM_COMMAND (BN_CLICKED, EN_CHANGE, ...).
template <class T>
MessageEntry on_control(UINT code, UINT id, void (T::*handler)())
{
    return {WM_COMMAND, id, id, code, [handler](CWnd& w, WPARAM, LPARAM, LRESULT& r) {
                (handler_detail::as<T>(w).*handler)();
                r = 0;
                return true;
            }};
}

// A notification by WM_NOTIFY with the code from any control whose ID is in
// the range (a tool tip asking for the text of the tool with a command's ID).
template <class T>
MessageEntry on_notify_range(UINT code, UINT first, UINT last, LRESULT (T::*handler)(NMHDR*))
{
    return {WM_NOTIFY, first, last, code, [handler](CWnd& w, WPARAM, LPARAM lp, LRESULT& r) {
                r = (handler_detail::as<T>(w).*handler)(reinterpret_cast<NMHDR*>(lp));
                return true;
            }};
}

// A control's notification by WM_NOTIFY (TVN_SELCHANGED, NM_CLICK, ...), from
// the control with the ID; code ANY_CODE takes all of them.
template <class T>
MessageEntry on_notify(UINT code, UINT id, LRESULT (T::*handler)(NMHDR*))
{
    return {WM_NOTIFY, id, id, code, [handler](CWnd& w, WPARAM, LPARAM lp, LRESULT& r) {
                r = (handler_detail::as<T>(w).*handler)(reinterpret_cast<NMHDR*>(lp));
                return true;
            }};
}
