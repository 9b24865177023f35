// A bare WMI and registry client to measure polrix against: it reads what
// the default query file reads, the same way, with nothing around it.
//
// For each known class it starts a thread that does what one WMI read of the
// program does: CoInitialize, CoInitializeSecurity, the locator, the
// connection to root\CIMV2, "SELECT * FROM <class>", every property of every
// object read with Get, everything released, CoUninitialize. The threads run
// one after the other. Then it lists the subkeys of the uninstall key and
// reads DisplayName and DisplayVersion of each. It formats nothing, and prints
// one line of totals.
//
// Stands alone: it links none of the program's code.

#include "base/windows_win32.h"

#include <objbase.h>
#include <oleauto.h>
#include <wbemidl.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

// The classes of the default query file, in its order.
const char* const KNOWN_CLASS_NAMES[16] = {
    "Win32_SystemEnclosure",
    "Win32_Bios",
    "Win32_Processor",
    "Win32_PhysicalMemory",
    "Win32_OnBoardDevice",
    "Win32_DiskDrive",
    "Win32_LogicalDisk",
    "Win32_CDROMDrive",
    "Win32_SoundDevice",
    "Win32_NetworkAdapterConfiguration",
    "Win32_DisplayConfiguration",
    "Win32_DesktopMonitor",
    "Win32_PrinterConfiguration",
    "Win32_USBController",
    "Win32_OperatingSystem",
    "Win32_Product",
};

const char UNINSTALL_KEY[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    T* operator->() const { return p_; }
    T* get() const { return p_; }
    T** put()
    {
        reset();
        return &p_;
    }
    void reset()
    {
        if (p_) {
            p_->Release();
            p_ = nullptr;
        }
    }

private:
    T* p_ = nullptr;
};

class Bstr {
public:
    explicit Bstr(const wchar_t* text) : b_(SysAllocString(text)) {}
    Bstr() = default;
    ~Bstr() { SysFreeString(b_); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    BSTR get() const { return b_; }
    BSTR* put()
    {
        SysFreeString(b_);
        b_ = nullptr;
        return &b_;
    }

private:
    BSTR b_ = nullptr;
};

class Variant {
public:
    Variant() { VariantInit(&v_); }
    ~Variant() { VariantClear(&v_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    VARIANT* get() { return &v_; }

private:
    VARIANT v_;
};

class SafeArray {
public:
    SafeArray() = default;
    ~SafeArray()
    {
        if (a_)
            SafeArrayDestroy(a_);
    }
    SafeArray(const SafeArray&) = delete;
    SafeArray& operator=(const SafeArray&) = delete;
    SAFEARRAY* get() const { return a_; }
    SAFEARRAY** put() { return &a_; }

private:
    SAFEARRAY* a_ = nullptr;
};

class RegKey {
public:
    RegKey() = default;
    ~RegKey()
    {
        if (k_)
            RegCloseKey(k_);
    }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    HKEY get() const { return k_; }
    HKEY* put() { return &k_; }

private:
    HKEY k_ = nullptr;
};

struct ClassResult {
    HRESULT failure = S_OK;  // the first step that failed, if any
    const char* step = "";
    unsigned long objects = 0;
    unsigned long properties = 0;
    unsigned long touched = 0;  // a number that depends on every value read
};

std::wstring widened(const char* text)
{
    std::wstring out;
    for (; *text; ++text)
        out += static_cast<wchar_t>(static_cast<unsigned char>(*text));
    return out;
}

// Looks at the value the way a formatter would have to: its type and its
// first bytes, or the length of its text.
unsigned long touch(const VARIANT& v)
{
    unsigned long sum = v.vt;
    if (v.vt == VT_BSTR && v.bstrVal)
        sum += SysStringLen(v.bstrVal);
    else if (v.vt & VT_ARRAY)
        sum += v.parray ? v.parray->cbElements : 0;
    else if (v.vt != VT_EMPTY && v.vt != VT_NULL)
        sum += static_cast<unsigned long>(v.lVal);
    return sum;
}

void read_object(IWbemClassObject* object, ClassResult& result)
{
    SafeArray names;
    if (FAILED(object->GetNames(nullptr, WBEM_FLAG_NONSYSTEM_ONLY, nullptr, names.put())) || !names.get())
        return;
    LONG lower = 0;
    LONG upper = -1;
    if (FAILED(SafeArrayGetLBound(names.get(), 1, &lower)) || FAILED(SafeArrayGetUBound(names.get(), 1, &upper)))
        return;
    for (LONG i = lower; i <= upper; ++i) {
        Bstr name;
        if (FAILED(SafeArrayGetElement(names.get(), &i, name.put())))
            continue;
        Variant value;
        if (SUCCEEDED(object->Get(name.get(), 0, value.get(), nullptr, nullptr))) {
            ++result.properties;
            result.touched += touch(*value.get());
        }
    }
}

// One WMI read of one class, on the calling thread, inside its own COM session.
void read_class(const char* class_name, ClassResult& result)
{
    HRESULT hr = CoInitialize(nullptr);
    if (FAILED(hr)) {
        result.failure = hr;
        result.step = "CoInitialize";
        return;
    }
    do {
        hr = CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                                  RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
        if (FAILED(hr) && hr != RPC_E_TOO_LATE) {
            result.failure = hr;
            result.step = "CoInitializeSecurity";
            break;
        }
        ComPtr<IWbemLocator> locator;
        hr = CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                              reinterpret_cast<void**>(locator.put()));
        if (FAILED(hr) || !locator.get()) {
            result.failure = FAILED(hr) ? hr : E_POINTER;
            result.step = "CoCreateInstance";
            break;
        }
        Bstr name_space(L"root\\CIMV2");
        ComPtr<IWbemServices> services;
        hr = locator->ConnectServer(name_space.get(), nullptr, nullptr, nullptr, WBEM_FLAG_CONNECT_USE_MAX_WAIT,
                                    nullptr, nullptr, services.put());
        if (FAILED(hr) || !services.get()) {
            result.failure = FAILED(hr) ? hr : E_POINTER;
            result.step = "ConnectServer";
            break;
        }
        Bstr language(L"WQL");
        Bstr statement((L"SELECT * FROM " + widened(class_name)).c_str());
        ComPtr<IEnumWbemClassObject> enumerator;
        hr = services->ExecQuery(language.get(), statement.get(),
                                 WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY, nullptr, enumerator.put());
        if (FAILED(hr) || !enumerator.get()) {
            result.failure = FAILED(hr) ? hr : E_POINTER;
            result.step = "ExecQuery";
            break;
        }
        for (;;) {
            ComPtr<IWbemClassObject> object;
            ULONG returned = 0;
            hr = enumerator->Next(WBEM_INFINITE, 1, object.put(), &returned);
            if (returned == 0 || !object.get())
                break;
            ++result.objects;
            read_object(object.get(), result);
        }
    } while (false);
    CoUninitialize();
}

struct RegistryResult {
    unsigned long entries = 0;
    unsigned long values = 0;
    unsigned long bytes = 0;
};

// One value as text: asks for the size first, so no text is cut.
bool read_value(HKEY key, const char* name, unsigned long& bytes)
{
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return false;
    std::vector<BYTE> data(size + 1, 0);
    if (RegQueryValueExA(key, name, nullptr, &type, data.data(), &size) != ERROR_SUCCESS)
        return false;
    bytes += size;
    return true;
}

void read_uninstall(RegistryResult& result)
{
    RegKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, 0, KEY_READ, key.put()) != ERROR_SUCCESS)
        return;
    DWORD longest = 0;
    if (RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, nullptr, &longest, nullptr, nullptr, nullptr,
                         nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return;
    std::vector<char> name(longest + 1);
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(name.size());
        LONG status = RegEnumKeyExA(key.get(), index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_MORE_DATA) {
            name.resize(name.size() * 2);
            --index;
            continue;
        }
        if (status != ERROR_SUCCESS)
            break;
        ++result.entries;
        RegKey entry;
        if (RegOpenKeyExA(key.get(), name.data(), 0, KEY_READ, entry.put()) != ERROR_SUCCESS)
            continue;
        for (const char* value_name : {"DisplayName", "DisplayVersion"})
            if (read_value(entry.get(), value_name, result.bytes))
                ++result.values;
    }
}

}  // namespace

int main()
{
    auto start = std::chrono::steady_clock::now();

    unsigned long objects = 0;
    unsigned long properties = 0;
    unsigned long touched = 0;
    int failures = 0;
    for (const char* class_name : KNOWN_CLASS_NAMES) {
        ClassResult result;
        std::thread worker(read_class, class_name, std::ref(result));
        worker.join();
        if (FAILED(result.failure)) {
            std::fprintf(stderr, "%s: %s failed: 0x%08lx\n", class_name, result.step,
                         static_cast<unsigned long>(result.failure));
            ++failures;
        }
        objects += result.objects;
        properties += result.properties;
        touched += result.touched;
    }

    RegistryResult registry;
    read_uninstall(registry);

    auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    std::printf(
        "wmi_client: %u classes, %lu objects, %lu properties read (check %lu), "
        "%lu uninstall entries, %lu registry values read, %lld ms\n",
        static_cast<unsigned>(sizeof KNOWN_CLASS_NAMES / sizeof KNOWN_CLASS_NAMES[0]), objects, properties,
        touched, registry.entries, registry.values, static_cast<long long>(elapsed));
    return failures == 0 ? 0 : 1;
}
