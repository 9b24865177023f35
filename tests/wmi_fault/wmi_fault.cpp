// A WMI locator that misbehaves on purpose, for the tests: an in-process COM
// server of CLSID_WbemLocator that serves what a script file says (classes,
// objects, typed values) and fails or waits at any step of a read, and hands
// every class that the script does not serve on to Wine's own WMI service.
// See README.md beside this file for the script's format.
//
// The script's path comes from the environment variable
// POLRIX_WMI_FAULT_SCRIPT; it is read anew for each locator (the reader makes
// one per list), so a test may change it between reads. Without the variable
// every class is passed through and nothing is traced. Each call is written
// to the trace file, the script's path with ".trace" appended, before the
// call does anything, so a call that never returns still has its line.
#include <windows.h>

#include <objbase.h>
#include <oleauto.h>
#include <wbemcli.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace {

// ---- the script ------------------------------------------------------------------

// One fault: at a step, at its Nth call (0: every call), for one property
// of Get (empty: any), what happens.
struct Fault {
    enum Action { fail, wait, slow } action = fail;
    std::string step;  // connect, query, next, names, get
    unsigned at = 0;
    std::wstring property;
    HRESULT code = S_OK;  // fail
    long seconds = 0;     // wait, slow; -1 for ever
};

struct Property {
    std::wstring name;
    VARIANT value;
};

struct ClassScript {
    std::wstring name;
    bool pass = false;
    std::vector<std::vector<Property>> objects;
    std::vector<Fault> faults;
};

struct Script {
    std::string trace;
    std::vector<Fault> connect_faults;
    std::vector<ClassScript> classes;

    Script() = default;
    Script(const Script&) = delete;
    Script& operator=(const Script&) = delete;
    ~Script()
    {
        for (ClassScript& c : classes)
            for (auto& object : c.objects)
                for (Property& p : object)
                    VariantClear(&p.value);
    }

    // The class of that name (ASCII case ignored), or none: passed through.
    const ClassScript* find(const std::wstring& name) const
    {
        for (const ClassScript& c : classes)
            if (_wcsicmp(c.name.c_str(), name.c_str()) == 0)
                return &c;
        return nullptr;
    }
};

std::wstring wide(const std::string& text)
{
    if (text.empty())
        return std::wstring();
    int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n);
    return out;
}

std::string narrow(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
    return out;
}

// The next blank-separated word of the line; the rest stays in `line`.
std::string word(std::string& line)
{
    size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos) {
        line.clear();
        return std::string();
    }
    size_t end = line.find_first_of(" \t", start);
    std::string w = line.substr(start, end == std::string::npos ? std::string::npos : end - start);
    line = end == std::string::npos ? std::string() : line.substr(end + 1);
    return w;
}

long long number(const std::string& text) { return std::strtoll(text.c_str(), nullptr, 0); }

// "fail CODE", "wait SECONDS|forever" or "slow SECONDS|forever" after the
// step, "at N" and (for get) the property.
bool parse_action(std::string rest, Fault& fault)
{
    std::string action = word(rest);
    std::string argument = word(rest);
    if (action == "fail") {
        fault.action = Fault::fail;
        fault.code = static_cast<HRESULT>(static_cast<unsigned long>(std::strtoul(argument.c_str(), nullptr, 0)));
        return true;
    }
    if (action == "wait" || action == "slow") {
        fault.action = action == "wait" ? Fault::wait : Fault::slow;
        fault.seconds = argument == "forever" ? -1 : std::atol(argument.c_str());
        return true;
    }
    return false;
}

// A typed value: TYPE and its text. Arrays are TYPE[] with their elements
// separated by blanks (numbers) or "|" (texts).
bool parse_value(const std::string& type, const std::string& text, VARIANT& v)
{
    VariantInit(&v);
    struct Kind {
        const char* name;
        VARTYPE vt;
    };
    static const Kind kinds[] = {
        {"i1", VT_I1},     {"ui1", VT_UI1},  {"i2", VT_I2},     {"ui2", VT_UI2}, {"i4", VT_I4},
        {"ui4", VT_UI4},   {"i8", VT_I8},    {"ui8", VT_UI8},   {"r4", VT_R4},   {"r8", VT_R8},
        {"bool", VT_BOOL}, {"str", VT_BSTR}, {"date", VT_BSTR}, {"cy", VT_CY},
    };
    if (type == "null") {
        v.vt = VT_NULL;
        return true;
    }
    if (type == "empty")
        return true;
    bool array = type.size() > 2 && type.compare(type.size() - 2, 2, "[]") == 0;
    std::string base = array ? type.substr(0, type.size() - 2) : type;
    VARTYPE vt = VT_EMPTY;
    for (const Kind& k : kinds)
        if (base == k.name)
            vt = k.vt;
    if (vt == VT_EMPTY)
        return false;

    // One scalar into a VARIANT of its type, through a VT_BSTR or VT_I8
    // VARIANT and VariantChangeType, so each width is filled as COM fills it.
    auto scalar = [&](const std::string& t, VARIANT& out) {
        VariantInit(&out);
        if (vt == VT_BSTR) {
            std::wstring w = wide(t);
            out.vt = VT_BSTR;
            out.bstrVal = SysAllocStringLen(w.data(), static_cast<UINT>(w.size()));
            return true;
        }
        if (vt == VT_BOOL) {
            out.vt = VT_BOOL;
            out.boolVal = t == "true" ? VARIANT_TRUE : VARIANT_FALSE;
            return true;
        }
        if (vt == VT_R4 || vt == VT_R8) {
            out.vt = VT_R8;
            out.dblVal = std::strtod(t.c_str(), nullptr);
        } else if (vt == VT_UI8) {
            out.vt = VT_UI8;
            out.ullVal = std::strtoull(t.c_str(), nullptr, 0);
            return true;
        } else if (vt == VT_CY) {
            out.vt = VT_CY;
            out.cyVal.int64 = number(t);
            return true;
        } else {
            out.vt = VT_I8;
            out.llVal = number(t);
        }
        // Out-of-range values keep their low bytes, as a provider's would.
        VARIANT wide_value = out;
        VariantInit(&out);
        if (vt == VT_R4) {
            out.vt = VT_R4;
            out.fltVal = static_cast<float>(wide_value.dblVal);
        } else if (vt == VT_R8) {
            out = wide_value;
        } else {
            out.vt = vt;
            out.llVal = 0;
            LONGLONG n = wide_value.llVal;
            switch (vt) {
            case VT_I1:
                out.cVal = static_cast<CHAR>(n);
                break;
            case VT_UI1:
                out.bVal = static_cast<BYTE>(n);
                break;
            case VT_I2:
                out.iVal = static_cast<SHORT>(n);
                break;
            case VT_UI2:
                out.uiVal = static_cast<USHORT>(n);
                break;
            case VT_I4:
                out.lVal = static_cast<LONG>(n);
                break;
            case VT_UI4:
                out.ulVal = static_cast<ULONG>(n);
                break;
            default:
                out.llVal = n;
                break;  // VT_I8
            }
        }
        return true;
    };

    if (!array)
        return scalar(text, v);

    std::vector<std::string> parts;
    std::string rest = text;
    if (vt == VT_BSTR) {
        if (!rest.empty()) {
            size_t from = 0;
            for (;;) {
                size_t bar = rest.find('|', from);
                parts.push_back(rest.substr(from, bar == std::string::npos ? std::string::npos : bar - from));
                if (bar == std::string::npos)
                    break;
                from = bar + 1;
            }
        }
    } else {
        for (std::string w = word(rest); !w.empty(); w = word(rest))
            parts.push_back(w);
    }
    SAFEARRAYBOUND bound{static_cast<ULONG>(parts.size()), 0};
    SAFEARRAY* sa = SafeArrayCreate(vt, 1, &bound);
    if (!sa)
        return false;
    for (size_t i = 0; i < parts.size(); ++i) {
        VARIANT element;
        scalar(parts[i], element);
        LONG at = static_cast<LONG>(i);
        // SafeArrayPutElement takes a BSTR itself, every other type by address.
        SafeArrayPutElement(sa, &at,
                            vt == VT_BSTR ? static_cast<void*>(element.bstrVal)
                                          : static_cast<void*>(&element.llVal));
        VariantClear(&element);
    }
    v.vt = VT_ARRAY | vt;
    v.parray = sa;
    return true;
}

// Reads the script; a line it cannot read is written to the trace as
// "script: bad line N" and skipped.
std::shared_ptr<Script> read_script()
{
    auto script = std::make_shared<Script>();
    // The process's own environment, not the C runtime's copy of it: a test
    // sets the variable with SetEnvironmentVariable.
    char path[MAX_PATH * 4];
    DWORD length = GetEnvironmentVariableA("POLRIX_WMI_FAULT_SCRIPT", path, sizeof path);
    if (length == 0 || length >= sizeof path)
        return script;
    script->trace = std::string(path) + ".trace";
    FILE* file = std::fopen(path, "rb");
    if (!file)
        return script;
    std::string all;
    char chunk[4096];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        all.append(chunk, n);
    std::fclose(file);

    std::vector<std::string> bad;
    ClassScript* current = nullptr;
    size_t from = 0;
    for (int line_number = 1; from < all.size(); ++line_number) {
        size_t end = all.find('\n', from);
        std::string line = all.substr(from, end == std::string::npos ? std::string::npos : end - from);
        from = end == std::string::npos ? all.size() : end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::string rest = line;
        std::string key = word(rest);
        bool ok = true;
        if (key.empty() || key[0] == '#') {
        } else if (key == "class") {
            script->classes.emplace_back();
            current = &script->classes.back();
            current->name = wide(word(rest));
        } else if (key == "connect") {
            Fault fault;
            fault.step = key;
            ok = parse_action(rest, fault) && fault.action != Fault::slow;
            if (ok)
                script->connect_faults.push_back(fault);
        } else if (!current) {
            ok = false;
        } else if (key == "pass") {
            current->pass = true;
        } else if (key == "object") {
            current->objects.emplace_back();
        } else if (key == "value") {
            std::string name = word(rest);
            std::string type = word(rest);
            Property property;
            property.name = wide(name);
            ok = !current->objects.empty() && parse_value(type, rest, property.value);
            if (ok)
                current->objects.back().push_back(property);
        } else if (key == "query" || key == "next" || key == "names" || key == "get") {
            Fault fault;
            fault.step = key;
            std::string saved = rest;
            if (word(saved) == "at") {
                word(rest);
                fault.at = static_cast<unsigned>(std::atoi(word(rest).c_str()));
            }
            if (key == "get") {
                std::string look = rest;
                std::string w = word(look);
                if (w != "fail" && w != "wait" && w != "slow") {
                    fault.property = wide(w);
                    rest = look;
                }
            }
            // Only Next has a time-out to honour.
            ok = parse_action(rest, fault) && (fault.action != Fault::slow || key == "next");
            if (ok)
                current->faults.push_back(fault);
        } else {
            ok = false;
        }
        if (!ok)
            bad.push_back("script: bad line " + std::to_string(line_number) + ": " + line);
    }
    for (const std::string& b : bad) {
        if (FILE* trace = std::fopen(script->trace.c_str(), "ab")) {
            std::fprintf(trace, "%s\r\n", b.c_str());
            std::fclose(trace);
        }
    }
    return script;
}

// ---- the trace and the faults ------------------------------------------------------

std::mutex g_trace_mutex;

void trace(const Script& script, const std::string& line)
{
    if (script.trace.empty())
        return;
    std::lock_guard<std::mutex> lock(g_trace_mutex);
    if (FILE* file = std::fopen(script.trace.c_str(), "ab")) {
        std::fprintf(file, "%s\r\n", line.c_str());
        std::fclose(file);
    }
}

void sleep_seconds(long seconds) { Sleep(seconds < 0 ? INFINITE : static_cast<DWORD>(seconds) * 1000); }

// The fault for the call'th call of the step (counted from 1), or none.
const Fault* fault_for(const std::vector<Fault>& faults, const char* step, unsigned call,
                       const std::wstring& property = std::wstring())
{
    for (const Fault& f : faults)
        if (f.step == step && (f.at == 0 || f.at == call) &&
            (f.property.empty() || _wcsicmp(f.property.c_str(), property.c_str()) == 0))
            return &f;
    return nullptr;
}

// Carries out a fault of a step without a time-out of its own: a wait, then
// the call goes on (S_OK), or the failure code.
HRESULT apply(const Fault* fault)
{
    if (!fault)
        return S_OK;
    if (fault->action == Fault::fail)
        return fault->code;
    sleep_seconds(fault->seconds);
    return S_OK;
}

// ---- COM objects -----------------------------------------------------------------------

LONG g_objects = 0;

// IUnknown for the one interface I that the class serves.
template <class I>
class Unknown : public I {
public:
    Unknown() { InterlockedIncrement(&g_objects); }
    virtual ~Unknown() { InterlockedDecrement(&g_objects); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override
    {
        if (!out)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == __uuidof(I)) {
            *out = static_cast<I*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        LONG left = InterlockedDecrement(&refs_);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

private:
    LONG refs_ = 1;
};

// Per query of one class: the class's script and the calls counted for
// "at N". A class that the script does not name is served as one that says
// "pass" and has no faults.
struct ReadCounts {
    std::shared_ptr<Script> script;
    const ClassScript* cls = nullptr;
    ClassScript passed;
    std::mutex mutex;
    unsigned next = 0, names = 0, gets = 0;

    unsigned count(unsigned ReadCounts::*counter)
    {
        std::lock_guard<std::mutex> lock(mutex);
        return ++(this->*counter);
    }
};

constexpr HRESULT NOT_SUPPORTED = WBEM_E_NOT_SUPPORTED;

class ScriptObject : public Unknown<IWbemClassObject> {
public:
    ScriptObject(std::shared_ptr<ReadCounts> counts, const std::vector<Property>* properties)
        : counts_(std::move(counts)), properties_(properties)
    {
    }

    HRESULT STDMETHODCALLTYPE Get(LPCWSTR name, LONG, VARIANT* value, CIMTYPE* type, LONG* flavor) override
    {
        const std::wstring property = name ? name : L"";
        trace(*counts_->script, "Get " + narrow(counts_->cls->name) + " " + narrow(property));
        unsigned call = counts_->count(&ReadCounts::gets);
        HRESULT hr = apply(fault_for(counts_->cls->faults, "get", call, property));
        if (FAILED(hr))
            return hr;
        if (type)
            *type = 0;
        if (flavor)
            *flavor = 0;
        for (const Property& p : *properties_) {
            if (_wcsicmp(p.name.c_str(), property.c_str()) == 0) {
                if (!value)
                    return S_OK;
                VariantInit(value);
                return VariantCopy(value, const_cast<VARIANT*>(&p.value));
            }
        }
        return WBEM_E_NOT_FOUND;
    }

    HRESULT STDMETHODCALLTYPE GetNames(LPCWSTR, LONG, VARIANT*, SAFEARRAY** names) override
    {
        trace(*counts_->script, "GetNames " + narrow(counts_->cls->name));
        unsigned call = counts_->count(&ReadCounts::names);
        HRESULT hr = apply(fault_for(counts_->cls->faults, "names", call));
        if (FAILED(hr))
            return hr;
        if (!names)
            return WBEM_E_INVALID_PARAMETER;
        SAFEARRAYBOUND bound{static_cast<ULONG>(properties_->size()), 0};
        *names = SafeArrayCreate(VT_BSTR, 1, &bound);
        for (size_t i = 0; i < properties_->size(); ++i) {
            LONG at = static_cast<LONG>(i);
            BSTR text = SysAllocString((*properties_)[i].name.c_str());
            SafeArrayPutElement(*names, &at, text);
            SysFreeString(text);
        }
        return S_OK;
    }

    // Nothing else of an object is scripted.
    HRESULT STDMETHODCALLTYPE GetQualifierSet(IWbemQualifierSet**) override { return NOT_SUPPORTED; }
    HRESULT STDMETHODCALLTYPE Put(LPCWSTR, LONG, VARIANT*, CIMTYPE) override { return NOT_SUPPORTED; }
    HRESULT STDMETHODCALLTYPE Delete(LPCWSTR) override { return NOT_SUPPORTED; }
    HRESULT STDMETHODCALLTYPE BeginEnumeration(LONG) override { return NOT_SUPPORTED; }
    HRESULT STDMETHODCALLTYPE Next(LONG, BSTR*, VARIANT*, CIMTYPE*, LONG*) override { return WBEM_S_NO_MORE_DATA; }
    HRESULT STDMETHODCALLTYPE EndEnumeration() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetPropertyQualifierSet(LPCWSTR, IWbemQualifierSet**) override
    {
        return NOT_SUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE Clone(IWbemClassObject**) override { return NOT_SUPPORTED; }
    HRESULT STDMETHODCALLTYPE GetObjectText(LONG, BSTR*) override { return NOT_SUPPORTED; }
    HRESULT STDMETHODCALLTYPE SpawnDerivedClass(LONG, IWbemClassObject**) override { return NOT_SUPPORTED; }
    HRESULT STDMETHODCALLTYPE SpawnInstance(LONG, IWbemClassObject**) override { return NOT_SUPPORTED; }
    HRESULT STDMETHODCALLTYPE CompareTo(LONG, IWbemClassObject*) override { return NOT_SUPPORTED; }
    HRESULT STDMETHODCALLTYPE GetPropertyOrigin(LPCWSTR, BSTR*) override { return NOT_SUPPORTED; }
    HRESULT STDMETHODCALLTYPE InheritsFrom(LPCWSTR) override { return NOT_SUPPORTED; }
    HRESULT STDMETHODCALLTYPE GetMethod(LPCWSTR, LONG, IWbemClassObject**, IWbemClassObject**) override
    {
        return NOT_SUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE PutMethod(LPCWSTR, LONG, IWbemClassObject*, IWbemClassObject*) override
    {
        return NOT_SUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DeleteMethod(LPCWSTR) override { return NOT_SUPPORTED; }
    HRESULT STDMETHODCALLTYPE BeginMethodEnumeration(LONG) override { return NOT_SUPPORTED; }
    HRESULT STDMETHODCALLTYPE NextMethod(LONG, BSTR*, IWbemClassObject**, IWbemClassObject**) override
    {
        return NOT_SUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE EndMethodEnumeration() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetMethodQualifierSet(LPCWSTR, IWbemQualifierSet**) override
    {
        return NOT_SUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE GetMethodOrigin(LPCWSTR, BSTR*) override { return NOT_SUPPORTED; }

private:
    std::shared_ptr<ReadCounts> counts_;
    const std::vector<Property>* properties_;
};

// The objects of one query: the script's, or those of Wine's enumerator.
class Enumerator : public Unknown<IEnumWbemClassObject> {
public:
    Enumerator(std::shared_ptr<ReadCounts> counts, IEnumWbemClassObject* real)
        : counts_(std::move(counts)), real_(real)
    {
    }
    ~Enumerator() override
    {
        if (real_)
            real_->Release();
    }

    HRESULT STDMETHODCALLTYPE Next(LONG timeout, ULONG count, IWbemClassObject** objects, ULONG* returned) override
    {
        trace(*counts_->script, "Next " + narrow(counts_->cls->name) +
                                    " timeout=" + std::to_string(static_cast<unsigned long>(timeout)));
        if (returned)
            *returned = 0;
        if (!objects || !returned)
            return WBEM_E_INVALID_PARAMETER;
        unsigned call = counts_->count(&ReadCounts::next);
        if (const Fault* fault = fault_for(counts_->cls->faults, "next", call)) {
            if (fault->action == Fault::fail)
                return fault->code;
            if (fault->action == Fault::wait) {
                sleep_seconds(fault->seconds);  // the time-out is ignored
            } else {
                // Slow: the object comes after its time, unless the time-out
                // comes first; then the answer is WBEM_S_TIMEDOUT, no object.
                const DWORD wanted = timeout < 0 ? INFINITE : static_cast<DWORD>(timeout);
                const DWORD slow = fault->seconds < 0 ? INFINITE : static_cast<DWORD>(fault->seconds) * 1000;
                if (slow == INFINITE || (wanted != INFINITE && wanted < slow)) {
                    Sleep(wanted);
                    return WBEM_S_TIMEDOUT;
                }
                Sleep(slow);
            }
        }
        if (real_)
            return real_->Next(timeout, count, objects, returned);
        const auto& all = counts_->cls->objects;
        while (*returned < count && position_ < all.size()) {
            objects[*returned] = new ScriptObject(counts_, &all[position_++]);
            ++*returned;
        }
        return *returned == count ? WBEM_S_NO_ERROR : WBEM_S_FALSE;
    }

    HRESULT STDMETHODCALLTYPE Reset() override
    {
        position_ = 0;
        return real_ ? real_->Reset() : S_OK;
    }
    HRESULT STDMETHODCALLTYPE NextAsync(ULONG, IWbemObjectSink*) override { return NOT_SUPPORTED; }
    HRESULT STDMETHODCALLTYPE Clone(IEnumWbemClassObject**) override { return NOT_SUPPORTED; }
    HRESULT STDMETHODCALLTYPE Skip(LONG, ULONG) override { return NOT_SUPPORTED; }

private:
    std::shared_ptr<ReadCounts> counts_;
    IEnumWbemClassObject* real_;
    size_t position_ = 0;
};

// The class of a WQL statement: the word after FROM.
std::wstring class_of_query(const std::wstring& wql)
{
    std::wstring upper = wql;
    for (wchar_t& c : upper)
        c = static_cast<wchar_t>(towupper(c));
    size_t from = upper.find(L" FROM ");
    if (from == std::wstring::npos)
        return std::wstring();
    size_t start = wql.find_first_not_of(L' ', from + 6);
    if (start == std::wstring::npos)
        return std::wstring();
    size_t end = wql.find_first_of(L" \t", start);
    return wql.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
}

class Services : public Unknown<IWbemServices> {
public:
    Services(std::shared_ptr<Script> script, IWbemServices* real) : script_(std::move(script)), real_(real) {}
    ~Services() override { real_->Release(); }

    HRESULT STDMETHODCALLTYPE ExecQuery(const BSTR language, const BSTR query, LONG flags, IWbemContext* context,
                                        IEnumWbemClassObject** result) override
    {
        const std::wstring wql = query ? query : L"";
        trace(*script_, "ExecQuery " + narrow(wql));
        if (!result)
            return WBEM_E_INVALID_PARAMETER;
        *result = nullptr;
        const std::wstring name = class_of_query(wql);
        const ClassScript* cls = script_->find(name);
        auto counts = std::make_shared<ReadCounts>();
        counts->script = script_;
        counts->passed.name = name;
        counts->passed.pass = true;
        counts->cls = cls ? cls : &counts->passed;
        HRESULT hr = apply(fault_for(counts->cls->faults, "query", 1));
        if (FAILED(hr))
            return hr;
        IEnumWbemClassObject* real = nullptr;
        if (counts->cls->pass) {
            hr = real_->ExecQuery(language, query, flags, context, &real);
            if (FAILED(hr) || !real)
                return hr;
        }
        *result = new Enumerator(counts, real);
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE OpenNamespace(const BSTR, LONG, IWbemContext*, IWbemServices**,
                                            IWbemCallResult**) override
    {
        return NOT_SUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE CancelAsyncCall(IWbemObjectSink*) override { return NOT_SUPPORTED; }
    HRESULT STDMETHODCALLTYPE QueryObjectSink(LONG, IWbemObjectSink**) override { return NOT_SUPPORTED; }
    HRESULT STDMETHODCALLTYPE GetObject(const BSTR, LONG, IWbemContext*, IWbemClassObject**,
                                        IWbemCallResult**) override
    {
        return NOT_SUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE GetObjectAsync(const BSTR, LONG, IWbemContext*, IWbemObjectSink*) override
    {
        return NOT_SUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE PutClass(IWbemClassObject*, LONG, IWbemContext*, IWbemCallResult**) override
    {
        return NOT_SUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE PutClassAsync(IWbemClassObject*, LONG, IWbemContext*, IWbemObjectSink*) override
    {
        return NOT_SUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DeleteClass(const BSTR, LONG, IWbemContext*, IWbemCallResult**) override
    {
        return NOT_SUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DeleteClassAsync(const BSTR, LONG, IWbemContext*, IWbemObjectSink*) override
    {
        return NOT_SUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE CreateClassEnum(const BSTR, LONG, IWbemContext*, IEnumWbemClassObject**) override
    {
        return NOT_SUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE CreateClassEnumAsync(const BSTR, LONG, IWbemContext*, IWbemObjectSink*) override
    {
        return NOT_SUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE PutInstance(IWbemClassObject*, LONG, IWbemContext*, IWbemCallResult**) override
    {
        return NOT_SUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE PutInstanceAsync(IWbemClassObject*, LONG, IWbemContext*, IWbemObjectSink*) override
    {
        return NOT_SUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DeleteInstance(const BSTR, LONG, IWbemContext*, IWbemCallResult**) override
    {
        return NOT_SUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DeleteInstanceAsync(const BSTR, LONG, IWbemContext*, IWbemObjectSink*) override
    {
        return NOT_SUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE CreateInstanceEnum(const BSTR, LONG, IWbemContext*, IEnumWbemClassObject**) override
    {
        return NOT_SUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE CreateInstanceEnumAsync(const BSTR, LONG, IWbemContext*, IWbemObjectSink*) override
    {
        return NOT_SUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE ExecQueryAsync(const BSTR, const BSTR, LONG, IWbemContext*,
                                             IWbemObjectSink*) override
    {
        return NOT_SUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE ExecNotificationQuery(const BSTR, const BSTR, LONG, IWbemContext*,
                                                    IEnumWbemClassObject**) override
    {
        return NOT_SUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE ExecNotificationQueryAsync(const BSTR, const BSTR, LONG, IWbemContext*,
                                                         IWbemObjectSink*) override
    {
        return NOT_SUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE ExecMethod(const BSTR, const BSTR, LONG, IWbemContext*, IWbemClassObject*,
                                         IWbemClassObject**, IWbemCallResult**) override
    {
        return NOT_SUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE ExecMethodAsync(const BSTR, const BSTR, LONG, IWbemContext*, IWbemClassObject*,
                                              IWbemObjectSink*) override
    {
        return NOT_SUPPORTED;
    }

private:
    std::shared_ptr<Script> script_;
    IWbemServices* real_;
};

// Wine's own locator, from its wbemprox.dll by its system path
// (system32\wbem, which a 32-bit process sees as syswow64\wbem): asked
// directly, so that this DLL standing as the class's registered server does
// not create itself again. The module stays loaded for the process's life.
HRESULT real_locator(IWbemLocator** locator)
{
    static HMODULE module = [] {
        wchar_t path[MAX_PATH];
        UINT n = GetSystemDirectoryW(path, MAX_PATH);
        std::wstring full(path, n);
        full += L"\\wbem\\wbemprox.dll";
        return LoadLibraryW(full.c_str());
    }();
    if (!module)
        return REGDB_E_CLASSNOTREG;
    using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    auto get = reinterpret_cast<GetClassObject>(
        reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")));
    if (!get)
        return E_NOINTERFACE;
    IClassFactory* factory = nullptr;
    HRESULT hr = get(CLSID_WbemLocator, IID_IClassFactory, reinterpret_cast<void**>(&factory));
    if (FAILED(hr))
        return hr;
    hr = factory->CreateInstance(nullptr, IID_IWbemLocator, reinterpret_cast<void**>(locator));

    factory->Release();
    return hr;
}

class Locator : public Unknown<IWbemLocator> {
public:
    Locator() : script_(read_script()) {}

    HRESULT STDMETHODCALLTYPE ConnectServer(const BSTR name_space, const BSTR user, const BSTR password,
                                            const BSTR locale, LONG flags, const BSTR authority,
                                            IWbemContext* context, IWbemServices** services) override
    {
        trace(*script_, "ConnectServer " + narrow(name_space ? name_space : L""));
        if (!services)
            return WBEM_E_INVALID_PARAMETER;
        *services = nullptr;
        ++connects_;
        HRESULT hr = apply(fault_for(script_->connect_faults, "connect", connects_));
        if (FAILED(hr))
            return hr;
        IWbemLocator* locator = nullptr;
        hr = real_locator(&locator);
        if (FAILED(hr))
            return hr;
        IWbemServices* real = nullptr;
        hr = locator->ConnectServer(name_space, user, password, locale, flags, authority, context, &real);
        locator->Release();
        if (FAILED(hr) || !real)
            return hr;
        *services = new Services(script_, real);
        return S_OK;
    }

private:
    std::shared_ptr<Script> script_;
    unsigned connects_ = 0;
};

class Factory : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override
    {
        if (!out)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *out = this;
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // one static object
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        Locator* locator = new Locator;
        HRESULT hr = locator->QueryInterface(riid, out);
        locator->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

Factory g_factory;

}  // namespace

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID riid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (clsid != CLSID_WbemLocator)
        return CLASS_E_CLASSNOTAVAILABLE;
    return g_factory.QueryInterface(riid, out);
}

// Never unloaded: a call given up by the reader may still be waiting in here,
// and Wine's wbemprox.dll stays loaded behind it.
extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() { return S_FALSE; }
