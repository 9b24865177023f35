// The COM backend of the WMI service: the local WMI service through
// IWbemLocator, IWbemServices, IEnumWbemClassObject and IWbemClassObject.
//
// Every interface pointer, BSTR, VARIANT and SAFEARRAY lives in a holder that
// gives it back when the holder goes, so no early return leaks one. Each
// wrapper object owns exactly one interface pointer and releases it when it is
// destroyed; nothing is cached beyond that, so all of them are gone before
// the reader ends COM on its thread. Result codes are handed on as COM gave
// them.
#include "reader/wmi_service.h"

#include "base/com_holders_win32.h"
#include "base/windows_win32.h"

#include <objbase.h>
#include <oleauto.h>
#include <wbemidl.h>

#include <algorithm>
#include <cstring>
#include <vector>

// Turns one VARIANT into the portable value; also used by the tests, which
// feed it VARIANTs of every shape.
void wmi_value_from_variant(const VARIANT& variant, WmiValue& value);

namespace {

HResult result_of(HRESULT hr) { return static_cast<HResult>(hr); }

// COM never answers success without the object it was asked for; should it
// happen all the same when creating the locator or connecting, the caller is
// told E_POINTER rather than handed nothing to work with. exec_query is the
// one exception (see there).
HResult missing_object() { return result_of(E_POINTER); }

// The bounds of dimension 1: the result of the first call that failed, or
// success with both bounds.
HRESULT array_bounds(SAFEARRAY* array, LONG& lower, LONG& upper)
{
    HRESULT hr = SafeArrayGetLBound(array, 1, &lower);
    if (SUCCEEDED(hr))
        hr = SafeArrayGetUBound(array, 1, &upper);
    return hr;
}

// Gives back what a fetch copied out for the element types that own
// something; plain numbers own nothing.
void release_fetched(VARTYPE element_type, void* fetched)
{
    switch (element_type) {
    case VT_VARIANT:
        VariantClear(static_cast<VARIANT*>(fetched));
        break;
    case VT_UNKNOWN:
    case VT_DISPATCH: {
        IUnknown* unknown = nullptr;
        std::memcpy(&unknown, fetched, sizeof unknown);
        if (unknown)
            unknown->Release();
        std::memset(fetched, 0, sizeof unknown);
        break;
    }
    default:
        break;
    }
}

void array_from_variant(const VARIANT& variant, WmiValue& value)
{
    if (variant.vt & VT_BYREF)
        return;  // WMI hands out values, never references to them
    SAFEARRAY* array = variant.parray;
    if (!array)
        return;
    // A fetch takes one index per dimension: WMI arrays have one, and an
    // array of another shape is kept as an array without elements.
    if (SafeArrayGetDim(array) != 1)
        return;
    LONG lower = 0;
    LONG upper = -1;
    if (FAILED(array_bounds(array, lower, upper)))
        return;
    value.lower_bound = lower;

    const VARTYPE element_type = variant.vt & VT_TYPEMASK;
    // Records would need their IRecordInfo to be given back: WMI has none,
    // so they stay without elements.
    if (element_type == VT_RECORD)
        return;

    // The slot for number elements: zero before the first element and not
    // cleared between elements, so an 8- or 16-bit element fills only its low
    // bytes. Elements wider than 4 bytes go into a buffer of their size, of
    // which the low 32 bits are kept.
    const UINT element_size = SafeArrayGetElemsize(array);
    std::vector<uint64_t> buffer((std::max<UINT>(element_size, 4) + 7) / 8, 0);

    for (int64_t index = lower; index <= upper; ++index) {
        LONG at = static_cast<LONG>(index);
        WmiArrayElement element;
        if (element_type == VT_BSTR) {
            Bstr fetched;
            element.result = result_of(SafeArrayGetElement(array, &at, fetched.put()));
            if (!failed(element.result))
                element.text = fetched.text();
        } else {
            element.result = result_of(SafeArrayGetElement(array, &at, buffer.data()));
            std::memcpy(&element.slot, buffer.data(), sizeof element.slot);
            if (!failed(element.result))
                release_fetched(element_type, buffer.data());
        }
        value.elements.push_back(std::move(element));
    }
}

}  // namespace

void wmi_value_from_variant(const VARIANT& variant, WmiValue& value)
{
    value = WmiValue();
    value.type = variant.vt;
    if (variant.vt & VT_ARRAY) {
        array_from_variant(variant, value);
        return;
    }
    switch (variant.vt) {
    case VT_I2:
        value.integer = variant.iVal;
        break;
    case VT_I4:
        value.integer = variant.lVal;
        break;
    case VT_R4:
        value.real = static_cast<double>(variant.fltVal);
        break;
    case VT_R8:
        value.real = variant.dblVal;
        break;
    case VT_CY:
        value.integer = variant.cyVal.int64;
        break;
    case VT_DATE:
        value.real = variant.date;
        break;
    case VT_BSTR:
        if (variant.bstrVal)
            value.text.assign(variant.bstrVal, SysStringLen(variant.bstrVal));
        break;
    case VT_ERROR:
        value.integer = variant.scode;
        break;
    case VT_BOOL:
        value.integer = variant.boolVal;  // VARIANT_TRUE is the 16-bit -1
        break;
    case VT_I1:
        value.integer = static_cast<signed char>(variant.cVal);
        break;
    case VT_UI1:
        value.integer = variant.bVal;
        break;
    case VT_UI2:
        value.integer = variant.uiVal;
        break;
    case VT_UI4:
        value.integer = variant.ulVal;
        break;
    case VT_I8:
        value.integer = variant.llVal;
        break;
    case VT_UI8:
        value.integer = static_cast<int64_t>(variant.ullVal);  // the same 64 bits
        break;
    default:
        break;  // VT_EMPTY, VT_NULL, VT_UNKNOWN and the rest carry nothing here
    }
}

namespace {

class ComObject : public WmiObject {
public:
    explicit ComObject(IWbemClassObject* object) : object_(object) {}

    HResult get_names(std::vector<std::optional<std::wstring>>& names) override
    {
        names.clear();
        SafeArray array;
        HRESULT hr = object_->GetNames(nullptr, WBEM_FLAG_NONSYSTEM_ONLY, nullptr, array.put());
        if (FAILED(hr) || !array.get())
            return result_of(hr);
        LONG lower = 0;
        LONG upper = -1;
        HRESULT bound = array_bounds(array.get(), lower, upper);
        if (FAILED(bound))
            return result_of(bound);
        for (int64_t index = lower; index <= upper; ++index) {
            LONG at = static_cast<LONG>(index);
            Bstr name;
            if (SUCCEEDED(SafeArrayGetElement(array.get(), &at, name.put())))
                names.emplace_back(name.text());
            else
                names.emplace_back(std::nullopt);
        }
        return result_of(hr);
    }

    HResult get(const std::wstring& property, WmiValue& value) override
    {
        Bstr name(property);
        if (!name.get())
            return result_of(E_OUTOFMEMORY);
        Variant variant;
        HRESULT hr = object_->Get(name.get(), 0, variant.get(), nullptr, nullptr);
        if (SUCCEEDED(hr))
            wmi_value_from_variant(variant.ref(), value);
        return result_of(hr);
    }

private:
    ComPtr<IWbemClassObject> object_;
};

class ComEnumerator : public WmiEnumerator {
public:
    explicit ComEnumerator(IEnumWbemClassObject* enumerator) : enumerator_(enumerator) {}

    HResult next(std::unique_ptr<WmiObject>& object, unsigned timeout_ms) override
    {
        object.reset();
        ComPtr<IWbemClassObject> fetched;
        ULONG returned = 0;
        // Every run ends: never WBEM_INFINITE, the reader's limit instead.
        const LONG timeout = static_cast<LONG>(std::min<unsigned>(timeout_ms, 0x7FFFFFFFu));
        HRESULT hr = enumerator_->Next(timeout, 1, fetched.put(), &returned);
        if (returned == 1 && fetched)
            object.reset(new ComObject(fetched.detach()));
        return result_of(hr);
    }

private:
    ComPtr<IEnumWbemClassObject> enumerator_;
};

class ComServices : public WmiServices {
public:
    explicit ComServices(IWbemServices* services) : services_(services) {}

    HResult exec_query(const std::wstring& wql, std::unique_ptr<WmiEnumerator>& result) override
    {
        result.reset();
        Bstr language(L"WQL");
        Bstr statement(wql);
        if (!language.get() || !statement.get())
            return result_of(E_OUTOFMEMORY);
        ComPtr<IEnumWbemClassObject> enumerator;
        HRESULT hr = services_->ExecQuery(language.get(), statement.get(),
                                          WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY, nullptr,
                                          enumerator.put());
        // A success without an enumerator goes on as it came, not as
        // E_POINTER: the reader logs a refused query with the code that the
        // service gave, and that code is what a person looking into the
        // failure needs to see.
        if (SUCCEEDED(hr) && enumerator)
            result.reset(new ComEnumerator(enumerator.detach()));
        return result_of(hr);
    }

private:
    ComPtr<IWbemServices> services_;
};

class ComLocator : public WmiLocator {
public:
    explicit ComLocator(IWbemLocator* locator) : locator_(locator) {}

    HResult connect_server(const std::wstring& name_space, std::unique_ptr<WmiServices>& services) override
    {
        services.reset();
        Bstr path(name_space);
        if (!path.get())
            return result_of(E_OUTOFMEMORY);
        ComPtr<IWbemServices> connected;
        // No user, password, locale, authority or context: the local service
        // with the caller's rights; the wait for it is bounded.
        HRESULT hr = locator_->ConnectServer(path.get(), nullptr, nullptr, nullptr, WBEM_FLAG_CONNECT_USE_MAX_WAIT,
                                             nullptr, nullptr, connected.put());
        if (FAILED(hr))
            return result_of(hr);
        if (!connected)
            return missing_object();
        services.reset(new ComServices(connected.detach()));
        return result_of(hr);
    }

private:
    ComPtr<IWbemLocator> locator_;
};

class ComWmiService : public WmiService {
public:
    HResult initialize() override { return result_of(CoInitialize(nullptr)); }

    HResult initialize_security() override
    {
        return result_of(CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                                              RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr));
    }

    HResult create_locator(std::unique_ptr<WmiLocator>& locator) override
    {
        locator.reset();
        ComPtr<IWbemLocator> created;
        HRESULT hr = CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                                      reinterpret_cast<void**>(created.put()));
        if (FAILED(hr))
            return result_of(hr);
        if (!created)
            return missing_object();
        locator.reset(new ComLocator(created.detach()));
        return result_of(hr);
    }

    void uninitialize() override { CoUninitialize(); }
};

}  // namespace

// COM keeps its state per thread, so one stateless object serves every
// reader thread: each one starts and ends COM for itself. It is never
// destroyed: the worker of a read that was given up may still come back to
// it while the process ends.
WmiService& default_wmi_service()
{
    static ComWmiService* service = new ComWmiService;
    return *service;
}
