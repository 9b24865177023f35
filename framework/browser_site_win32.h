// The container side of the browser control: the one COM object that the
// control talks to as its client site, in-place site and in-place frame, and
// the sink of its navigation events. Only BrowserHost uses these.
#pragma once

#include "base/com_holders_win32.h"
#include "base/windows_win32.h"
#include "framework/browser_host_win32.h"

#include <exdisp.h>
#include <ole2.h>

#include <memory>

// How many sites and sinks exist: each lives until the last reference that
// the control took is given back.
int browser_site_objects();

// Client site, in-place site and in-place frame in one object, so that the
// control finds each of them by QueryInterface on any other. It knows the
// parent window and the control's rectangle, and keeps the in-place active
// object that the control hands over.
class BrowserSite final : public IOleClientSite, public IOleInPlaceSite, public IOleInPlaceFrame {
public:
    // Starts with one reference, the creator's.
    BrowserSite(HWND parent, const RECT& rect);
    BrowserSite(const BrowserSite&) = delete;
    BrowserSite& operator=(const BrowserSite&) = delete;

    void set_rect(const RECT& rect) { rect_ = rect; }
    const RECT& rect() const { return rect_; }
    HWND parent() const { return parent_; }
    IOleInPlaceActiveObject* active_object() const { return active_.get(); }
    // Lets go of the active object; the host calls it when it shuts down.
    void release_active_object() { active_.reset(); }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IOleClientSite
    STDMETHODIMP SaveObject() override;
    STDMETHODIMP GetMoniker(DWORD assign, DWORD which, IMoniker** out) override;
    STDMETHODIMP GetContainer(IOleContainer** out) override;
    STDMETHODIMP ShowObject() override;
    STDMETHODIMP OnShowWindow(BOOL show) override;
    STDMETHODIMP RequestNewObjectLayout() override;

    // IOleWindow (shared by the in-place site and the frame)
    STDMETHODIMP GetWindow(HWND* out) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL enter) override;

    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override;
    STDMETHODIMP OnInPlaceActivate() override;
    STDMETHODIMP OnUIActivate() override;
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, RECT* position,
                                  RECT* clip, OLEINPLACEFRAMEINFO* info) override;
    STDMETHODIMP Scroll(SIZE extent) override;
    STDMETHODIMP OnUIDeactivate(BOOL undoable) override;
    STDMETHODIMP OnInPlaceDeactivate() override;
    STDMETHODIMP DiscardUndoState() override;
    STDMETHODIMP DeactivateAndUndo() override;
    STDMETHODIMP OnPosRectChange(const RECT* position) override;

    // IOleInPlaceUIWindow
    STDMETHODIMP GetBorder(RECT* border) override;
    STDMETHODIMP RequestBorderSpace(const BORDERWIDTHS* widths) override;
    STDMETHODIMP SetBorderSpace(const BORDERWIDTHS* widths) override;
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR name) override;

    // IOleInPlaceFrame
    STDMETHODIMP InsertMenus(HMENU shared, OLEMENUGROUPWIDTHS* widths) override;
    STDMETHODIMP SetMenu(HMENU shared, HOLEMENU descriptor, HWND active_object) override;
    STDMETHODIMP RemoveMenus(HMENU shared) override;
    STDMETHODIMP SetStatusText(LPCOLESTR text) override;
    STDMETHODIMP EnableModeless(BOOL enable) override;
    STDMETHODIMP TranslateAccelerator(MSG* msg, WORD id) override;

private:
    ~BrowserSite();  // through Release only

    ULONG references_ = 1;
    HWND parent_;
    RECT rect_;
    ComPtr<IOleInPlaceActiveObject> active_;
};

// The sink of the control's DWebBrowserEvents2: turns the events that the
// program cares for into calls of a BrowserEvents, and ignores the rest.
class BrowserEventSink final : public IDispatch {
public:
    // Starts with one reference, the creator's; events may be none.
    explicit BrowserEventSink(BrowserEvents* events);
    BrowserEventSink(const BrowserEventSink&) = delete;
    BrowserEventSink& operator=(const BrowserEventSink&) = delete;

    // No more calls out, even if the control still holds a reference.
    void disconnect() { events_ = nullptr; }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IDispatch
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** out) override;
    STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* exception, UINT* bad_argument) override;

private:
    ~BrowserEventSink();  // through Release only

    ULONG references_ = 1;
    BrowserEvents* events_;
};
