// The COM backend of the WMI service against the WMI service that Wine runs.
// The service tests go through wmi_service() only, as the reader does; Wine's
// own wmic, an independent WMI client, tells which values are right.
// The value tests feed the VARIANT conversion shapes that Wine never serves.
#include "reader/wmi_service.h"

#include "base/com_holders_win32.h"
#include "base/windows_win32.h"

#include "base/platform.h"

#include <gtest/gtest.h>

#include <oleauto.h>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <set>
#include <string>
#include <vector>

// In reader/wmi_service_win32.cpp.
void wmi_value_from_variant(const VARIANT& variant, WmiValue& value);

namespace {

constexpr HResult WBEM_S_FALSE_ = 1;
constexpr HResult WBEM_E_INVALID_NAMESPACE_ = static_cast<HResult>(0x8004100Eu);

std::wstring trimmed(const std::wstring& text)
{
    const wchar_t* blanks = L" \t\r\n";
    size_t first = text.find_first_not_of(blanks);
    if (first == std::wstring::npos)
        return std::wstring();
    size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

// Runs wmic with the arguments and gives back its lines, trimmed, without the
// empty ones: the header first, then one line per object. Piped, wmic writes
// UTF-16 LE with a byte order mark.
std::vector<std::wstring> wmic_lines(const std::string& arguments)
{
    std::string bytes;
    std::string command = "wmic " + arguments;
    FILE* pipe = _popen(command.c_str(), "rb");
    if (!pipe)
        return {};
    char chunk[4096];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, pipe)) > 0)
        bytes.append(chunk, n);
    _pclose(pipe);

    std::wstring text;
    size_t start = (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
                    static_cast<unsigned char>(bytes[1]) == 0xFE)
                       ? 2
                       : 0;
    for (size_t i = start; i + 1 < bytes.size(); i += 2)
        text += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                     (static_cast<unsigned char>(bytes[i + 1]) << 8));

    std::vector<std::wstring> lines;
    size_t from = 0;
    while (from <= text.size()) {
        size_t end = text.find(L'\n', from);
        if (end == std::wstring::npos)
            end = text.size();
        std::wstring line = trimmed(text.substr(from, end - from));
        if (!line.empty())
            lines.push_back(line);
        from = end + 1;
    }
    return lines;
}

// The quoted texts of a wmic array cell such as {"a","b"}.
std::vector<std::wstring> quoted_texts(const std::wstring& cell)
{
    std::vector<std::wstring> texts;
    size_t open = cell.find(L'"');
    while (open != std::wstring::npos) {
        size_t close = cell.find(L'"', open + 1);
        if (close == std::wstring::npos)
            break;
        texts.push_back(cell.substr(open + 1, close - open - 1));
        open = cell.find(L'"', close + 1);
    }
    return texts;
}

bool is_number_type(uint16_t type)
{
    switch (type) {
    case VT_I2_:
    case VT_I4_:
    case VT_R4_:
    case VT_R8_:
    case VT_BOOL_:
    case VT_I1_:
    case VT_UI1_:
    case VT_UI2_:
    case VT_UI4_:
    case VT_I8_:
    case VT_UI8_:
        return true;
    default:
        return false;
    }
}

// Each test runs in its own COM session on the test's thread, set up the way
// the reader sets it up and ended when the test ends. Whatever a test keeps of
// the service (its objects, enumerators) lives in the test body and so is gone
// before COM ends.
class WmiComService : public ::testing::Test {
protected:
    void SetUp() override
    {
        HResult hr = wmi_service().initialize();
        ASSERT_FALSE(failed(hr)) << std::hex << hr;
        com_started_ = true;
        // The process-wide security is set once per process: a test after the
        // first may be told it is too late, which leaves the first setting.
        hr = wmi_service().initialize_security();
        ASSERT_TRUE(!failed(hr) || hr == RESULT_RPC_E_TOO_LATE) << std::hex << hr;
    }

    void TearDown() override
    {
        services_.reset();
        locator_.reset();
        if (com_started_)
            wmi_service().uninitialize();
    }

    // The services of root\CIMV2, connected once per test; none when the
    // connection failed (which fails the test).
    WmiServices* cimv2()
    {
        if (!services_) {
            HResult hr = wmi_service().create_locator(locator_);
            EXPECT_FALSE(failed(hr)) << std::hex << hr;
            if (locator_) {
                hr = locator_->connect_server(L"root\\CIMV2", services_);
                EXPECT_FALSE(failed(hr)) << std::hex << hr;
            }
        }
        return services_.get();
    }

    // Every object the query returns, in the order of the walk.
    std::vector<std::unique_ptr<WmiObject>> all_objects(const std::wstring& wql)
    {
        std::vector<std::unique_ptr<WmiObject>> objects;
        WmiServices* services = cimv2();
        if (!services)
            return objects;
        std::unique_ptr<WmiEnumerator> enumerator;
        HResult hr = services->exec_query(wql, enumerator);
        EXPECT_FALSE(failed(hr)) << std::hex << hr;
        if (!enumerator) {
            ADD_FAILURE() << "no enumerator for " << platform::to_ansi(wql);
            return objects;
        }
        for (;;) {
            std::unique_ptr<WmiObject> object;
            hr = enumerator->next(object, 30000);
            if (!object) {
                // The end of the walk comes as WBEM_S_FALSE: fewer objects
                // than asked for, no error.
                EXPECT_EQ(hr, WBEM_S_FALSE_) << std::hex << hr;
                break;
            }
            EXPECT_FALSE(failed(hr)) << std::hex << hr;
            objects.push_back(std::move(object));
        }
        return objects;
    }

    static std::vector<std::wstring> names_of(WmiObject& object)
    {
        std::vector<std::optional<std::wstring>> fetched;
        HResult hr = object.get_names(fetched);
        EXPECT_FALSE(failed(hr)) << std::hex << hr;
        std::vector<std::wstring> names;
        for (const auto& name : fetched) {
            EXPECT_TRUE(name.has_value()) << "a name that could not be fetched";
            if (name)
                names.push_back(*name);
        }
        return names;
    }

    static WmiValue value_of(WmiObject& object, const std::wstring& property)
    {
        WmiValue value;
        HResult hr = object.get(property, value);
        EXPECT_FALSE(failed(hr)) << platform::to_ansi(property) << ": " << std::hex << hr;
        return value;
    }

    bool com_started_ = false;
    std::unique_ptr<WmiLocator> locator_;
    std::unique_ptr<WmiServices> services_;
};

TEST_F(WmiComService, SecurityCanBeSetAgain)
{
    // Wine answers S_OK every time; Windows says RPC_E_TOO_LATE once the
    // process has its security. Either way nothing breaks and COM goes on.
    HResult again = wmi_service().initialize_security();
    EXPECT_TRUE(again == 0 || again == RESULT_RPC_E_TOO_LATE) << std::hex << again;
    std::unique_ptr<WmiLocator> locator;
    EXPECT_EQ(wmi_service().create_locator(locator), 0);
    EXPECT_NE(locator, nullptr);
}

TEST_F(WmiComService, ProcessorObjectsHaveNamesAndValues)
{
    auto objects = all_objects(L"SELECT * FROM Win32_Processor");
    ASSERT_FALSE(objects.empty());
    std::set<uint16_t> types;
    for (auto& object : objects) {
        std::vector<std::wstring> names = names_of(*object);
        ASSERT_FALSE(names.empty());
        EXPECT_NE(std::find(names.begin(), names.end(), L"Name"), names.end());
        for (const std::wstring& name : names) {
            // Only non-system properties: the system ones begin with "__".
            EXPECT_NE(name.compare(0, 2, L"__"), 0) << platform::to_ansi(name);
            types.insert(value_of(*object, name).type);
        }
    }
    EXPECT_EQ(types.count(VT_BSTR_), 1u);
    EXPECT_TRUE(std::any_of(types.begin(), types.end(), is_number_type));
}

TEST_F(WmiComService, ProcessorValuesMatchWmic)
{
    auto objects = all_objects(L"SELECT * FROM Win32_Processor");
    ASSERT_FALSE(objects.empty());
    // A text and two numbers of the first processor, as wmic prints them.
    const struct {
        const wchar_t* property;
        uint16_t type;
    } cases[] = {
        {L"Name", VT_BSTR_},
        {L"NumberOfLogicalProcessors", VT_I4_},
        {L"AddressWidth", VT_I4_},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(platform::to_ansi(c.property));
        WmiValue value = value_of(*objects[0], c.property);
        ASSERT_EQ(value.type, c.type);
        std::wstring text = c.type == VT_BSTR_ ? value.text : std::to_wstring(value.integer);
        std::vector<std::wstring> lines = wmic_lines("cpu get " + platform::to_ansi(c.property));
        ASSERT_GE(lines.size(), 2u) << "wmic printed no value";
        EXPECT_EQ(lines[0], c.property);
        EXPECT_FALSE(text.empty());
        // wmic pads its columns with blanks; the value itself has none at
        // either end here.
        EXPECT_EQ(text, lines[1]);
    }
}

TEST_F(WmiComService, FilteredQueryReturnsTheSameProcessors)
{
    std::vector<std::wstring> all_names;
    for (auto& object : all_objects(L"SELECT * FROM Win32_Processor"))
        all_names.push_back(value_of(*object, L"Name").text);
    ASSERT_FALSE(all_names.empty());

    std::vector<std::wstring> filtered_names;
    for (auto& object : all_objects(L"SELECT Name FROM Win32_Processor WHERE Name<>''")) {
        WmiValue value = value_of(*object, L"Name");
        EXPECT_EQ(value.type, VT_BSTR_);
        filtered_names.push_back(value.text);
    }
    EXPECT_EQ(filtered_names, all_names);

    // The filter is applied, not ignored: no processor has an empty name.
    EXPECT_TRUE(all_objects(L"SELECT Name FROM Win32_Processor WHERE Name=''").empty());
}

TEST_F(WmiComService, MissingNamespaceFailsAtTheConnection)
{
    std::unique_ptr<WmiLocator> locator;
    ASSERT_EQ(wmi_service().create_locator(locator), 0);
    std::unique_ptr<WmiServices> services;
    HResult hr = locator->connect_server(L"root\\NoSuchNamespace", services);
    EXPECT_TRUE(failed(hr));
    EXPECT_EQ(hr, WBEM_E_INVALID_NAMESPACE_) << std::hex << hr;
    EXPECT_EQ(services, nullptr);
}

TEST_F(WmiComService, MissingClassGivesNoObjects)
{
    // Wine takes the query and its walk ends at once with WBEM_S_FALSE (the
    // check is in all_objects). Windows reports WBEM_E_INVALID_CLASS from the
    // walk instead; the reader ends either way with no rows.
    EXPECT_TRUE(all_objects(L"SELECT * FROM Win32_NoSuchClass").empty());
}

TEST_F(WmiComService, StringArrayMatchesWmic)
{
    // Wine serves the DNS servers of each network adapter as an array of
    // strings; wmic prints it as {"a","b"}, one line per adapter.
    auto objects = all_objects(L"SELECT * FROM Win32_NetworkAdapterConfiguration");
    ASSERT_FALSE(objects.empty());
    std::vector<std::wstring> lines = wmic_lines(
        "path Win32_NetworkAdapterConfiguration get DNSServerSearchOrder");
    ASSERT_EQ(lines.size(), objects.size() + 1);
    EXPECT_EQ(lines[0], L"DNSServerSearchOrder");

    size_t arrays = 0;
    for (size_t k = 0; k < objects.size(); ++k) {
        SCOPED_TRACE(k);
        WmiValue value = value_of(*objects[k], L"DNSServerSearchOrder");
        if (value.type == VT_NULL_)
            continue;
        ASSERT_EQ(value.type, VT_ARRAY_ | VT_BSTR_);
        ++arrays;
        EXPECT_EQ(value.lower_bound, 0);
        std::vector<std::wstring> texts;
        for (const WmiArrayElement& element : value.elements) {
            EXPECT_EQ(element.result, 0);
            texts.push_back(element.text);
        }
        EXPECT_FALSE(texts.empty());
        EXPECT_EQ(texts, quoted_texts(lines[k + 1]));
    }
    // Needs a name server in the machine's resolver setup.
    EXPECT_GT(arrays, 0u) << "no adapter has DNS servers";
}

TEST_F(WmiComService, NumberArrayElementsAreFetched)
{
    // The chassis types are Wine's one number array here. It is built from
    // 16-bit numbers into 32-bit elements, so only the type, the bounds and
    // the fetches are checked, not the numbers.
    auto objects = all_objects(L"SELECT * FROM Win32_SystemEnclosure");
    ASSERT_FALSE(objects.empty());
    WmiValue value = value_of(*objects[0], L"ChassisTypes");
    EXPECT_EQ(value.type, VT_ARRAY_ | VT_I4_);
    EXPECT_EQ(value.lower_bound, 0);
    ASSERT_FALSE(value.elements.empty());
    for (const WmiArrayElement& element : value.elements) {
        EXPECT_EQ(element.result, 0);
        EXPECT_TRUE(element.text.empty());
    }
}

// ---- the VARIANT conversion, on VARIANTs made here --------------------------

WmiValue converted(const VARIANT& v)
{
    WmiValue value;
    value.text = L"left over";  // the conversion starts from a clean value
    value.elements.resize(3);
    wmi_value_from_variant(v, value);
    return value;
}

TEST(WmiComValue, ScalarsGoIntoTheFieldOfTheirType)
{
    struct Case {
        const char* what;
        void (*fill)(VARIANT&);
        int64_t integer;
        double real;
    };
    const Case cases[] = {
        {"I2",
         [](VARIANT& v) {
             v.vt = VT_I2;
             v.iVal = -2;
         },
         -2, 0},
        {"I4 all bits",
         [](VARIANT& v) {
             v.vt = VT_I4;
             v.lVal = -1;
         },
         -1, 0},
        {"R4",
         [](VARIANT& v) {
             v.vt = VT_R4;
             v.fltVal = 1.25f;
         },
         0, 1.25},
        {"R8",
         [](VARIANT& v) {
             v.vt = VT_R8;
             v.dblVal = -3.5;
         },
         0, -3.5},
        {"CY",
         [](VARIANT& v) {
             v.vt = VT_CY;
             v.cyVal.int64 = 123456789012345LL;
         },
         123456789012345LL, 0},
        {"DATE",
         [](VARIANT& v) {
             v.vt = VT_DATE;
             v.date = 40000.25;
         },
         0, 40000.25},
        {"BOOL true",
         [](VARIANT& v) {
             v.vt = VT_BOOL;
             v.boolVal = VARIANT_TRUE;
         },
         -1, 0},
        {"BOOL false",
         [](VARIANT& v) {
             v.vt = VT_BOOL;
             v.boolVal = VARIANT_FALSE;
         },
         0, 0},
        {"I1",
         [](VARIANT& v) {
             v.vt = VT_I1;
             v.cVal = -5;
         },
         -5, 0},
        {"UI1",
         [](VARIANT& v) {
             v.vt = VT_UI1;
             v.bVal = 255;
         },
         255, 0},
        {"UI2",
         [](VARIANT& v) {
             v.vt = VT_UI2;
             v.uiVal = 65535;
         },
         65535, 0},
        {"UI4",
         [](VARIANT& v) {
             v.vt = VT_UI4;
             v.ulVal = 4294967295u;
         },
         4294967295LL, 0},
        {"I8",
         [](VARIANT& v) {
             v.vt = VT_I8;
             v.llVal = std::numeric_limits<LONGLONG>::min();
         },
         std::numeric_limits<int64_t>::min(), 0},
        {"UI8",
         [](VARIANT& v) {
             v.vt = VT_UI8;
             v.ullVal = 0xFFFFFFFFFFFFFFFEull;
         },
         -2, 0},
        {"ERROR",
         [](VARIANT& v) {
             v.vt = VT_ERROR;
             v.scode = static_cast<SCODE>(0x80020004u);
         },
         static_cast<int32_t>(0x80020004u), 0},
        {"NULL", [](VARIANT& v) { v.vt = VT_NULL; }, 0, 0},
        {"EMPTY", [](VARIANT& v) { v.vt = VT_EMPTY; }, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Variant v;
        c.fill(*v.get());
        WmiValue value = converted(v.ref());
        EXPECT_EQ(value.type, v.get()->vt);
        EXPECT_EQ(value.integer, c.integer);
        EXPECT_EQ(value.real, c.real);
        EXPECT_TRUE(value.text.empty());
        EXPECT_TRUE(value.elements.empty());
    }
}

TEST(WmiComValue, TextKeepsEveryCharacter)
{
    Variant v;
    const wchar_t text[] = L"a\0b \x00e9";
    v.get()->vt = VT_BSTR;
    v.get()->bstrVal = SysAllocStringLen(text, 5);
    WmiValue value = converted(v.ref());
    EXPECT_EQ(value.type, VT_BSTR_);
    EXPECT_EQ(value.text, std::wstring(text, 5));

    Variant none;  // a null BSTR is the empty text
    none.get()->vt = VT_BSTR;
    none.get()->bstrVal = nullptr;
    EXPECT_EQ(converted(none.ref()).text, L"");
}

// An array of the element type with the given lower bound, filled by put.
template <class T>
SAFEARRAY* make_array(VARTYPE type, LONG lower, const std::vector<T>& elements)
{
    SAFEARRAYBOUND bound{static_cast<ULONG>(elements.size()), lower};
    SAFEARRAY* array = SafeArrayCreate(type, 1, &bound);
    for (size_t i = 0; i < elements.size(); ++i) {
        LONG at = lower + static_cast<LONG>(i);
        T element = elements[i];
        SafeArrayPutElement(array, &at, &element);
    }
    return array;
}

std::vector<uint32_t> slots_of(const WmiValue& value)
{
    std::vector<uint32_t> slots;
    for (const WmiArrayElement& element : value.elements) {
        EXPECT_EQ(element.result, 0);
        slots.push_back(element.slot);
    }
    return slots;
}

TEST(WmiComValue, NumberArraysFillTheLowBytesOfTheSlot)
{
    // Small elements are not sign-extended; wide ones keep their low 32 bits.
    struct Case {
        const char* what;
        SAFEARRAY* (*make)();
        VARTYPE type;
        std::vector<uint32_t> slots;
    };
    const Case cases[] = {
        {"I2",
         [] {
             return make_array<SHORT>(VT_I2, 0, {-1, 7, -32768});
         },
         VT_I2,
         {65535u, 7u, 32768u}},
        {"UI1",
         [] {
             return make_array<BYTE>(VT_UI1, 0, {200, 0, 1});
         },
         VT_UI1,
         {200u, 0u, 1u}},
        {"I1", [] { return make_array<CHAR>(VT_I1, 0, {-1}); }, VT_I1, {255u}},
        {"I4",
         [] {
             return make_array<LONG>(VT_I4, 0, {-1, 1, 2, 3});
         },
         VT_I4,
         {0xFFFFFFFFu, 1u, 2u, 3u}},
        {"I8",
         [] {
             return make_array<LONGLONG>(VT_I8, 0, {0x100000005LL, -1});
         },
         VT_I8,
         {5u, 0xFFFFFFFFu}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Variant v;
        v.get()->vt = VT_ARRAY | c.type;
        v.get()->parray = c.make();
        ASSERT_NE(v.get()->parray, nullptr);
        WmiValue value = converted(v.ref());
        EXPECT_EQ(value.type, VT_ARRAY | c.type);
        EXPECT_EQ(value.lower_bound, 0);
        EXPECT_EQ(slots_of(value), c.slots);
    }
}

TEST(WmiComValue, StringArrayKeepsBoundAndTexts)
{
    SAFEARRAYBOUND bound{3, 5};
    Variant v;
    v.get()->vt = VT_ARRAY | VT_BSTR;
    v.get()->parray = SafeArrayCreate(VT_BSTR, 1, &bound);
    const wchar_t* texts[] = {L"first", L"", L"third one"};
    for (LONG i = 0; i < 3; ++i) {
        LONG at = 5 + i;
        BSTR text = SysAllocString(texts[i]);
        SafeArrayPutElement(v.get()->parray, &at, text);  // copies the text
        SysFreeString(text);
    }
    WmiValue value = converted(v.ref());
    EXPECT_EQ(value.type, VT_ARRAY_ | VT_BSTR_);
    EXPECT_EQ(value.lower_bound, 5);
    ASSERT_EQ(value.elements.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(value.elements[i].result, 0);
        EXPECT_EQ(value.elements[i].text, texts[i]);
        EXPECT_EQ(value.elements[i].slot, 0u);
    }
}

TEST(WmiComValue, EmptyArrayHasNoElements)
{
    Variant v;
    v.get()->vt = VT_ARRAY | VT_I4;
    v.get()->parray = make_array<LONG>(VT_I4, 1, {});
    WmiValue value = converted(v.ref());
    EXPECT_EQ(value.type, VT_ARRAY_ | VT_I4_);
    EXPECT_EQ(value.lower_bound, 1);
    EXPECT_TRUE(value.elements.empty());
}

}  // namespace
