// The COM backend of the WMI service against the locator that misbehaves on
// purpose (wmi_fault.dll, built beside this program): the paths that Wine's
// own service never shows (a Next that honours its time-out, a failure code
// at each step) and every value kind through real VARIANTs and SAFEARRAYs.
// The DLL's class object is registered for CLSID_WbemLocator in the test's
// apartment, so the backend's own CoCreateInstance finds it; the script goes
// to the DLL through POLRIX_WMI_FAULT_SCRIPT.
#include "reader/value_format.h"
#include "reader/wmi_service.h"

#include "base/windows_win32.h"

#include "tests/support/test_folder.h"

#include <gtest/gtest.h>

#include <objbase.h>
#include <wbemcli.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace {

constexpr HResult TIMEDOUT = 0x00040004;  // WBEM_S_TIMEDOUT
constexpr HResult END_OF_WALK = 1;        // WBEM_S_FALSE

HResult code(unsigned value) { return static_cast<HResult>(value); }

std::string read_all(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class WmiFault : public ::testing::Test {
protected:
    void SetUp() override
    {
        script_ = folder_.path("script.txt");
        SetEnvironmentVariableA("POLRIX_WMI_FAULT_SCRIPT", script_.c_str());
        ASSERT_FALSE(failed(wmi_service().initialize()));
        com_started_ = true;
        HMODULE dll = LoadLibraryA("wmi_fault.dll");
        ASSERT_NE(dll, nullptr) << "wmi_fault.dll is not beside the test program";
        using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
        auto get = reinterpret_cast<GetClassObject>(
            reinterpret_cast<void*>(GetProcAddress(dll, "DllGetClassObject")));
        ASSERT_NE(get, nullptr);
        IUnknown* factory = nullptr;
        ASSERT_EQ(get(CLSID_WbemLocator, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
        ASSERT_EQ(CoRegisterClassObject(CLSID_WbemLocator, factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                                        &cookie_),
                  S_OK);
        factory->Release();
    }

    void TearDown() override
    {
        if (cookie_)
            CoRevokeClassObject(cookie_);
        if (com_started_)
            wmi_service().uninitialize();
        SetEnvironmentVariableA("POLRIX_WMI_FAULT_SCRIPT", nullptr);
    }

    void write_script(const std::string& text)
    {
        std::ofstream(script_, std::ios::binary) << text;
        DeleteFileA(trace_path().c_str());
    }
    std::string trace_path() const { return script_ + ".trace"; }

    // Where a walk over the query ended: the step that failed ("" when
    // none did), its answer, the objects that came, how long it took.
    struct Walk {
        std::string step;
        HResult hr = 0;
        int objects = 0;
        long long ms = 0;
    };

    Walk walk(const std::wstring& wql, unsigned timeout_ms)
    {
        Walk w;
        const auto start = std::chrono::steady_clock::now();
        auto end = [&](const char* step, HResult hr) {
            w.step = step;
            w.hr = hr;
            w.ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
                       .count();
            return w;
        };
        std::unique_ptr<WmiLocator> locator;
        HResult hr = wmi_service().create_locator(locator);
        if (failed(hr))
            return end("locator", hr);
        std::unique_ptr<WmiServices> services;
        hr = locator->connect_server(L"root\\CIMV2", services);
        if (failed(hr))
            return end("connect", hr);
        std::unique_ptr<WmiEnumerator> enumerator;
        hr = services->exec_query(wql, enumerator);
        if (failed(hr))
            return end("query", hr);
        for (;;) {
            std::unique_ptr<WmiObject> object;
            hr = enumerator->next(object, timeout_ms);
            if (failed(hr) || hr == TIMEDOUT)
                return end("next", hr);
            if (!object)
                return end("", hr);
            ++w.objects;
            std::vector<std::optional<std::wstring>> names;
            hr = object->get_names(names);
            if (failed(hr))
                return end("names", hr);
            for (const auto& name : names) {
                WmiValue value;
                hr = object->get(name.value_or(L""), value);
                if (failed(hr))
                    return end("get", hr);
            }
        }
    }

    TestFolder folder_;
    std::string script_;
    bool com_started_ = false;
    DWORD cookie_ = 0;
};

const char TWO_OBJECTS[] =
    "class Fault_Test\n"
    "object\n"
    "value Name str first\n"
    "value Size ui1 7\n"
    "object\n"
    "value Name str second\n"
    "value Size ui1 8\n";

TEST_F(WmiFault, EveryStepAnswersAsTheScriptSays)
{
    struct Case {
        const char* fault;    // the script's line after the class and its objects
        unsigned timeout_ms;  // Next's time-out
        const char* step;     // where the walk ends
        HResult hr;
        int objects;  // the objects read before
        long long min_ms, max_ms;
    };
    const Case cases[] = {
        {"", 500, "", END_OF_WALK, 2, 0, 3000},
        {"connect fail 0x80041003", 500, "connect", code(0x80041003u), 0, 0, 3000},
        {"connect wait 1", 500, "", END_OF_WALK, 2, 900, 4000},
        {"query fail 0x80041010", 500, "query", code(0x80041010u), 0, 0, 3000},
        {"query wait 1", 500, "", END_OF_WALK, 2, 900, 4000},
        {"next at 2 fail 0x80041001", 500, "next", code(0x80041001u), 1, 0, 3000},
        // A Next that honours its time-out: no object, WBEM_S_TIMEDOUT, after
        // the time-out and not much later.
        {"next slow forever", 500, "next", TIMEDOUT, 0, 450, 2500},
        {"next at 2 slow forever", 300, "next", TIMEDOUT, 1, 250, 2500},
        // Objects slower than the time-out time out; slow ones within it all come.
        {"next slow 1", 500, "next", TIMEDOUT, 0, 450, 2500},
        {"next slow 1", 2000, "", END_OF_WALK, 2, 2900, 6000},
        // A Next that ignores its time-out, as Wine's does.
        {"next at 1 wait 1", 200, "", END_OF_WALK, 2, 900, 4000},
        {"names at 2 fail 0x80041004", 500, "names", code(0x80041004u), 2, 0, 3000},
        {"get Size fail 0x80041002", 500, "get", code(0x80041002u), 1, 0, 3000},
        {"get at 3 fail 0x80041005", 500, "get", code(0x80041005u), 2, 0, 3000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.fault) + ", time-out " + std::to_string(c.timeout_ms));
        // connect lines stand before any class; the others belong to it.
        const bool global = std::string(c.fault).rfind("connect", 0) == 0;
        write_script(global ? std::string(c.fault) + "\n" + TWO_OBJECTS
                            : std::string(TWO_OBJECTS) + c.fault + "\n");
        Walk w = walk(L"SELECT * FROM Fault_Test", c.timeout_ms);
        EXPECT_EQ(w.step, c.step);
        EXPECT_EQ(w.hr, c.hr) << std::hex << w.hr;
        EXPECT_EQ(w.objects, c.objects);
        EXPECT_GE(w.ms, c.min_ms);
        EXPECT_LE(w.ms, c.max_ms);
        // The backend handed Next the time-out it was given, never WBEM_INFINITE.
        const std::string trace = read_all(trace_path());
        EXPECT_EQ(trace.find("bad line"), std::string::npos) << trace;
        EXPECT_EQ(trace.find("timeout=4294967295"), std::string::npos) << trace;
        if (c.objects > 0 || std::string(c.step) == "next") {
            EXPECT_NE(trace.find("Next Fault_Test timeout=" + std::to_string(c.timeout_ms) + "\r\n"),
                      std::string::npos)
                << trace;
        }
    }
}

TEST_F(WmiFault, ClassesNotNamedComeFromWinesService)
{
    write_script(TWO_OBJECTS);
    Walk w = walk(L"SELECT * FROM Win32_OperatingSystem", 5000);
    EXPECT_EQ(w.step, "");
    EXPECT_EQ(w.objects, 1);
    const std::string trace = read_all(trace_path());
    EXPECT_NE(trace.find("ExecQuery SELECT * FROM Win32_OperatingSystem\r\n"), std::string::npos) << trace;
    EXPECT_NE(trace.find("Next Win32_OperatingSystem timeout=5000\r\n"), std::string::npos) << trace;
}

TEST_F(WmiFault, EveryValueKindThroughComAndTheFormatting)
{
    struct Case {
        const char* property;
        const char* typed;  // TYPE TEXT as the script writes it
        const char* filt;   // nullptr: none
        uint16_t type;
        const char* text;  // as the value formatting shows it
    };
    const Case cases[] = {
        {"I1", "i1 -5", nullptr, VT_I1_, ""},
        {"UI1", "ui1 255", nullptr, VT_UI1_, "255"},
        {"I2", "i2 -2", nullptr, VT_I2_, "-2"},
        {"UI2", "ui2 65535", nullptr, VT_UI2_, ""},
        {"I4", "i4 -7", nullptr, VT_I4_, "-7"},
        {"I4Size", "i4 2147483647", "MB", VT_I4_, "2047"},
        {"UI4", "ui4 4294967295", nullptr, VT_UI4_, ""},
        {"I8", "i8 -9000000000", nullptr, VT_I8_, ""},
        {"UI8", "ui8 18446744073709551615", nullptr, VT_UI8_, ""},
        {"R4", "r4 1.5", nullptr, VT_R4_, "1.500000"},
        {"R8", "r8 -2.25", nullptr, VT_R8_, "-2.250000"},
        {"True", "bool true", nullptr, VT_BOOL_, "TRUE"},
        {"False", "bool false", nullptr, VT_BOOL_, "FALSE"},
        {"Text", "str two words  ", nullptr, VT_BSTR_, "two words  "},
        {"EmptyText", "str", nullptr, VT_BSTR_, ""},
        {"Installed", "date 20240131235958.000000+060", "Date", VT_BSTR_, "2024-01-31"},
        {"Booted", "date 20240131235958.000000+060", "DateTime", VT_BSTR_, "2024-01-31 23:59"},
        {"Money", "cy 12345", nullptr, VT_CY_, "VT_CY"},
        {"Null", "null", nullptr, VT_NULL_, ""},
        {"Empty", "empty", nullptr, VT_EMPTY_, ""},
        {"Numbers", "i4[] 1 -2 3", nullptr, VT_ARRAY_ | VT_I4_, "1 -2 3 "},
        {"Shorts", "i2[] -1 5", nullptr, VT_ARRAY_ | VT_I2_, "65535 5 "},
        {"Bytes", "ui1[] 200 0", "MB", VT_ARRAY_ | VT_UI1_, "200 0 "},
        {"Texts", "str[] a|b c|", nullptr, VT_ARRAY_ | VT_BSTR_, "a b c  "},
        {"NoNumbers", "i4[]", nullptr, VT_ARRAY_ | VT_I4_, ""},
        {"Longs", "ui4[] 1 2", nullptr, VT_ARRAY_ | VT_UI4_, ""},
    };
    std::string script = "class Fault_Values\nobject\n";
    for (const Case& c : cases)
        script += std::string("value ") + c.property + " " + c.typed + "\n";
    write_script(script);

    std::unique_ptr<WmiLocator> locator;
    ASSERT_EQ(wmi_service().create_locator(locator), 0);
    std::unique_ptr<WmiServices> services;
    ASSERT_EQ(locator->connect_server(L"root\\CIMV2", services), 0);
    std::unique_ptr<WmiEnumerator> enumerator;
    ASSERT_EQ(services->exec_query(L"SELECT * FROM Fault_Values", enumerator), 0);
    std::unique_ptr<WmiObject> object;
    ASSERT_EQ(enumerator->next(object, 1000), 0);
    ASSERT_NE(object, nullptr);

    std::vector<std::optional<std::wstring>> names;
    ASSERT_EQ(object->get_names(names), 0);
    ASSERT_EQ(names.size(), std::size(cases));
    for (size_t k = 0; k < std::size(cases); ++k) {
        const Case& c = cases[k];
        SCOPED_TRACE(c.typed);
        std::wstring property(c.property, c.property + std::strlen(c.property));
        EXPECT_EQ(names[k].value_or(L""), property) << "names in the object's order";
        WmiValue value;
        ASSERT_EQ(object->get(property, value), 0);
        EXPECT_EQ(value.type, c.type);
        EXPECT_EQ(value_text(c.filt ? Text(c.filt) : Text(), value), c.text);
    }
    WmiValue missing;
    EXPECT_EQ(object->get(L"NoSuchProperty", missing), code(0x80041002u));  // WBEM_E_NOT_FOUND
    std::unique_ptr<WmiObject> none;
    EXPECT_EQ(enumerator->next(none, 1000), END_OF_WALK);
    EXPECT_EQ(none, nullptr);
}

}  // namespace
