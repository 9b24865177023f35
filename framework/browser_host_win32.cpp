// The browser control's life in the host: created and activated in place,
// its events connected at creation and disconnected at destruction, and
// every interface pointer in a holder, so that destroy() is one ordered
// shutdown followed by the holders letting go.
#include "framework/browser_host_win32.h"

#include "framework/browser_site_win32.h"
#include "base/platform.h"

#include <oleauto.h>

namespace {

std::string text_of(const Bstr& b) { return platform::to_ansi(b.text()); }

bool is_key_message(UINT message) { return message >= WM_KEYFIRST && message <= WM_KEYLAST; }

}  // namespace

struct BrowserHost::Control {
    // Members in the order they come into being; each holder releases its
    // pointer when the Control goes.
    ComPtr<BrowserSite> site;
    ComPtr<BrowserEventSink> sink;
    ComPtr<IOleObject> object;
    ComPtr<IWebBrowser2> browser;
    ComPtr<IOleInPlaceObject> in_place;
    ComPtr<IConnectionPoint> events;
    DWORD events_cookie = 0;
    // The active object from the query after activation, when the control
    // did not hand one to the site.
    ComPtr<IOleInPlaceActiveObject> queried_active;

    IOleInPlaceActiveObject* active_object() const
    {
        return site->active_object() ? site->active_object() : queried_active.get();
    }
};

BrowserHost::BrowserHost() = default;

BrowserHost::~BrowserHost() { destroy(); }

HRESULT BrowserHost::create(HWND parent, const RECT& rect, BrowserEvents* events)
{
    destroy();
    std::unique_ptr<Control> c(new Control);
    c->site.reset(new BrowserSite(parent, rect));
    c->sink.reset(new BrowserEventSink(events));

    IOleObject* object = nullptr;
    HRESULT hr = CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                  reinterpret_cast<void**>(&object));
    if (FAILED(hr))
        return hr;
    c->object.reset(object);
    control_ = std::move(c);  // from here on, destroy() undoes what was done

    Control& k = *control_;
    hr = k.object->SetClientSite(k.site.get());
    if (SUCCEEDED(hr)) {
        k.browser = com_query<IWebBrowser2>(k.object.get(), IID_IWebBrowser2);
        if (!k.browser)
            hr = E_NOINTERFACE;
    }
    if (SUCCEEDED(hr)) {
        auto container = com_query<IConnectionPointContainer>(k.object.get(), IID_IConnectionPointContainer);
        IConnectionPoint* point = nullptr;
        if (container && SUCCEEDED(container->FindConnectionPoint(DIID_DWebBrowserEvents2, &point))) {
            k.events.reset(point);
            if (FAILED(k.events->Advise(static_cast<IDispatch*>(k.sink.get()), &k.events_cookie)))
                k.events.reset();
        }
    }
    if (SUCCEEDED(hr)) {
        RECT position = rect;
        hr = k.object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, k.site.get(), 0, parent, &position);
    }
    if (SUCCEEDED(hr)) {
        k.in_place = com_query<IOleInPlaceObject>(k.object.get(), IID_IOleInPlaceObject);
        if (!k.site->active_object())
            k.queried_active = com_query<IOleInPlaceActiveObject>(k.object.get(), IID_IOleInPlaceActiveObject);
        set_rect(rect);
    }
    if (FAILED(hr))
        destroy();
    return hr;
}

void BrowserHost::destroy()
{
    if (!control_)
        return;
    Control& k = *control_;
    k.sink->disconnect();
    if (k.events) {
        k.events->Unadvise(k.events_cookie);
        k.events.reset();
    }
    if (k.in_place) {
        k.in_place->InPlaceDeactivate();
        k.in_place.reset();
    }
    k.site->release_active_object();
    k.queried_active.reset();
    k.browser.reset();
    k.object->Close(OLECLOSE_NOSAVE);
    k.object->SetClientSite(nullptr);
    control_.reset();  // the control, then the site and the sink
}

int BrowserHost::container_objects_alive() { return browser_site_objects(); }

bool BrowserHost::is_created() const { return control_ != nullptr; }

HRESULT BrowserHost::navigate(const std::string& address)
{
    if (!control_)
        return E_UNEXPECTED;
    Bstr url(platform::from_ansi(address));
    if (!url.get())
        return E_OUTOFMEMORY;
    // No flags, no target frame, no post data, no extra headers.
    VARIANT none;
    VariantInit(&none);
    return control_->browser->Navigate(url.get(), &none, &none, &none, &none);
}

HRESULT BrowserHost::refresh()
{
    if (!control_)
        return E_UNEXPECTED;
    return control_->browser->Refresh();
}

std::string BrowserHost::location_url() const
{
    if (!control_)
        return std::string();
    Bstr url;
    HRESULT hr = control_->browser->get_LocationURL(url.put());
    return SUCCEEDED(hr) ? text_of(url) : std::string();
}

std::string BrowserHost::document_type() const
{
    std::string type;
    document_type(type);
    return type;
}

HRESULT BrowserHost::document_type(std::string& type) const
{
    type.clear();
    if (!control_)
        return E_UNEXPECTED;
    Bstr text;
    HRESULT hr = control_->browser->get_Type(text.put());
    if (SUCCEEDED(hr))
        type = text_of(text);
    return hr;
}

void BrowserHost::set_rect(const RECT& rect)
{
    if (!control_)
        return;
    control_->site->set_rect(rect);
    if (control_->in_place) {
        RECT position = rect;
        RECT clip = rect;
        control_->in_place->SetObjectRects(&position, &clip);
    }
}

HWND BrowserHost::window() const
{
    HWND hwnd = nullptr;
    if (control_ && control_->in_place && SUCCEEDED(control_->in_place->GetWindow(&hwnd)))
        return hwnd;
    return nullptr;
}

bool BrowserHost::translate_accelerator(MSG* msg)
{
    if (!control_ || !msg || !is_key_message(msg->message))
        return false;
    IOleInPlaceActiveObject* active = control_->active_object();
    return active && active->TranslateAccelerator(msg) == S_OK;
}
