// The browser control's site and event sink. The site keeps the control in
// place in one child rectangle of the parent: no menus, no border space, no
// tool bars of its own, no undo. The sink hands four navigation events on.
#include "framework/browser_site_win32.h"

#include "base/platform.h"

#include <exdispid.h>

namespace {
int g_objects = 0;  // only the window thread makes and releases them
}  // namespace

int browser_site_objects() { return g_objects; }

BrowserSite::BrowserSite(HWND parent, const RECT& rect) : parent_(parent), rect_(rect) { ++g_objects; }

BrowserSite::~BrowserSite() { --g_objects; }

STDMETHODIMP BrowserSite::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleClientSite))
        *out = static_cast<IOleClientSite*>(this);
    else if (IsEqualIID(iid, IID_IOleWindow) || IsEqualIID(iid, IID_IOleInPlaceSite))
        *out = static_cast<IOleInPlaceSite*>(this);
    else if (IsEqualIID(iid, IID_IOleInPlaceUIWindow) || IsEqualIID(iid, IID_IOleInPlaceFrame))
        *out = static_cast<IOleInPlaceFrame*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) BrowserSite::AddRef() { return ++references_; }

STDMETHODIMP_(ULONG) BrowserSite::Release()
{
    ULONG left = --references_;
    if (left == 0)
        delete this;
    return left;
}

// IOleClientSite: the control is never saved and lives in no container that
// it could enumerate.
STDMETHODIMP BrowserSite::SaveObject() { return E_NOTIMPL; }

STDMETHODIMP BrowserSite::GetMoniker(DWORD, DWORD, IMoniker** out)
{
    if (out)
        *out = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP BrowserSite::GetContainer(IOleContainer** out)
{
    if (out)
        *out = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP BrowserSite::ShowObject() { return S_OK; }
STDMETHODIMP BrowserSite::OnShowWindow(BOOL) { return S_OK; }
STDMETHODIMP BrowserSite::RequestNewObjectLayout() { return E_NOTIMPL; }

// IOleWindow: the parent window stands for the site and the frame alike.
STDMETHODIMP BrowserSite::GetWindow(HWND* out)
{
    if (!out)
        return E_POINTER;
    *out = parent_;
    return S_OK;
}

STDMETHODIMP BrowserSite::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

// IOleInPlaceSite
STDMETHODIMP BrowserSite::CanInPlaceActivate() { return S_OK; }
STDMETHODIMP BrowserSite::OnInPlaceActivate() { return S_OK; }
STDMETHODIMP BrowserSite::OnUIActivate() { return S_OK; }

STDMETHODIMP BrowserSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                           RECT* position, RECT* clip, OLEINPLACEFRAMEINFO* info)
{
    if (!frame || !document || !position || !clip || !info)
        return E_POINTER;
    AddRef();
    *frame = static_cast<IOleInPlaceFrame*>(this);
    *document = nullptr;  // no document window apart from the frame
    *position = rect_;
    *clip = rect_;
    info->cb = sizeof(OLEINPLACEFRAMEINFO);
    info->fMDIApp = FALSE;
    info->hwndFrame = parent_;
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
}

STDMETHODIMP BrowserSite::Scroll(SIZE) { return E_NOTIMPL; }
STDMETHODIMP BrowserSite::OnUIDeactivate(BOOL) { return S_OK; }

STDMETHODIMP BrowserSite::OnInPlaceDeactivate()
{
    active_.reset();
    return S_OK;
}

STDMETHODIMP BrowserSite::DiscardUndoState() { return S_OK; }
STDMETHODIMP BrowserSite::DeactivateAndUndo() { return S_OK; }

// The control asks for another rectangle: it keeps the one the host gave.
STDMETHODIMP BrowserSite::OnPosRectChange(const RECT*) { return S_OK; }

// IOleInPlaceUIWindow: no room for the control's tool bars.
STDMETHODIMP BrowserSite::GetBorder(RECT*) { return INPLACE_E_NOTOOLSPACE; }
STDMETHODIMP BrowserSite::RequestBorderSpace(const BORDERWIDTHS*) { return INPLACE_E_NOTOOLSPACE; }
STDMETHODIMP BrowserSite::SetBorderSpace(const BORDERWIDTHS*) { return OLE_E_INVALIDRECT; }

// The control hands over (or takes back, with none) its in-place active
// object, the one that gets the keys.
STDMETHODIMP BrowserSite::SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR)
{
    if (object)
        object->AddRef();
    active_.reset(object);
    return S_OK;
}

// IOleInPlaceFrame: no shared menus, no status text, no keys of the frame's
// own to offer.
STDMETHODIMP BrowserSite::InsertMenus(HMENU, OLEMENUGROUPWIDTHS*) { return E_NOTIMPL; }
STDMETHODIMP BrowserSite::SetMenu(HMENU, HOLEMENU, HWND) { return S_OK; }
STDMETHODIMP BrowserSite::RemoveMenus(HMENU) { return E_NOTIMPL; }
STDMETHODIMP BrowserSite::SetStatusText(LPCOLESTR) { return S_OK; }
STDMETHODIMP BrowserSite::EnableModeless(BOOL) { return S_OK; }
STDMETHODIMP BrowserSite::TranslateAccelerator(MSG*, WORD) { return S_FALSE; }

namespace {

// The VARIANT an event argument stands for: the events pass most of their
// arguments by reference to a VARIANT.
const VARIANT* dereferenced(const VARIANT* argument)
{
    while (argument && V_VT(argument) == (VT_BYREF | VT_VARIANT))
        argument = V_VARIANTREF(argument);
    return argument;
}

std::string text_of(const VARIANT* argument)
{
    argument = dereferenced(argument);
    if (!argument || V_VT(argument) != VT_BSTR || !V_BSTR(argument))
        return std::string();
    return platform::to_ansi(std::wstring(V_BSTR(argument), SysStringLen(V_BSTR(argument))));
}

long number_of(const VARIANT* argument)
{
    argument = dereferenced(argument);
    if (!argument)
        return 0;
    VARIANT copy;
    VariantInit(&copy);
    long number = 0;
    if (SUCCEEDED(VariantChangeType(&copy, const_cast<VARIANT*>(argument), 0, VT_I4)))
        number = V_I4(&copy);
    VariantClear(&copy);
    return number;
}

// Argument `n` in the order of the event's declaration: DISPPARAMS holds
// them last first.
const VARIANT* argument(const DISPPARAMS* params, UINT n)
{
    if (!params || n >= params->cArgs)
        return nullptr;
    return &params->rgvarg[params->cArgs - 1 - n];
}

}  // namespace

BrowserEventSink::BrowserEventSink(BrowserEvents* events) : events_(events) { ++g_objects; }

BrowserEventSink::~BrowserEventSink() { --g_objects; }

STDMETHODIMP BrowserEventSink::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IDispatch) &&
        !IsEqualIID(iid, DIID_DWebBrowserEvents2))
        return E_NOINTERFACE;
    *out = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) BrowserEventSink::AddRef() { return ++references_; }

STDMETHODIMP_(ULONG) BrowserEventSink::Release()
{
    ULONG left = --references_;
    if (left == 0)
        delete this;
    return left;
}

STDMETHODIMP BrowserEventSink::GetTypeInfoCount(UINT* count)
{
    if (!count)
        return E_POINTER;
    *count = 0;
    return S_OK;
}

STDMETHODIMP BrowserEventSink::GetTypeInfo(UINT, LCID, ITypeInfo** out)
{
    if (out)
        *out = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP BrowserEventSink::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

// Arguments, in declaration order:
//   BeforeNavigate2     (browser, url, flags, target, post data, headers, cancel)
//   NavigateComplete2   (browser, url)
//   DocumentComplete    (browser, url)
//   NavigateError       (browser, url, frame, status code, cancel)
// Nothing is ever cancelled.
STDMETHODIMP BrowserEventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                      UINT*)
{
    if (!events_)
        return S_OK;
    switch (id) {
    case DISPID_BEFORENAVIGATE2:
        events_->OnBeforeNavigate2(text_of(argument(params, 1)));
        break;
    case DISPID_NAVIGATECOMPLETE2:
        events_->OnNavigateComplete2(text_of(argument(params, 1)));
        break;
    case DISPID_DOCUMENTCOMPLETE:
        events_->OnDocumentComplete(text_of(argument(params, 1)));
        break;
    case DISPID_NAVIGATEERROR:
        events_->OnNavigateError(text_of(argument(params, 1)), number_of(argument(params, 3)));
        break;
    default:
        break;
    }
    return S_OK;
}
