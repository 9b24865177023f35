// WMI values to text: every type, the array types, the units and the date
// layouts, and the log lines that go with each appended text.
#include "reader/value_format.h"
#include "tests/support/fake_wmi.h"
#include "tests/support/test_folder.h"

#include <gtest/gtest.h>

#include <cctype>

namespace {

constexpr HResult DISP_E_BADINDEX_ = static_cast<HResult>(0x8002000Bu);

WmiValue with_type(uint16_t type, double real)
{
    WmiValue v = fake::of_type(type, 0);
    v.real = real;
    return v;
}

WmiValue ints_with_failure()
{
    WmiValue v = fake::int_array(VT_I4_, {1, 2, 3});
    v.elements[1].result = DISP_E_BADINDEX_;
    return v;
}

struct FormatCase {
    const char* label;
    Text filt;
    WmiValue value;
    std::string expected;
};

void PrintTo(const FormatCase& c, std::ostream* os) { *os << c.label; }

const std::vector<FormatCase>& format_cases()
{
    static const std::vector<FormatCase> cases = {
        // Scalars by type.
        {"i2", {}, fake::i2(-32768), "-32768"},
        {"i4", {}, fake::i4(2147483647), "2147483647"},
        {"i4 all bits set", {}, fake::of_type(VT_I4_, 0xFFFFFFFF), "-1"},
        {"r4 widened", {}, fake::r4(2.5f), "2.500000"},
        {"r4 six decimals", {}, fake::r4(-0.1f), "-0.100000"},
        {"r8 rounded to six decimals", {}, fake::r8(3.14159265358979), "3.141593"},
        {"r8 large", {}, fake::r8(1e20), "100000000000000000000.000000"},
        {"currency", {}, fake::cy(123456), "VT_CY"},
        {"date type", {}, fake::date(39887.35), "VT_DATE"},
        {"string", {}, fake::str("Intel(R) Core(TM)"), "Intel(R) Core(TM)"},
        {"string up to its first zero", {}, fake::str(std::wstring(L"ab\0cd", 5)), "ab"},
        {"empty string", {}, fake::str(""), ""},
        {"bool true", {}, fake::boolean(true), "TRUE"},
        {"bool any nonzero", {}, fake::of_type(VT_BOOL_, 1), "TRUE"},
        {"bool false", {}, fake::boolean(false), "FALSE"},
        {"ui1", {}, fake::ui1(255), "255"},
        {"empty", {}, fake::empty(), ""},
        {"null", {}, fake::null(), ""},
        {"error", {}, fake::error(static_cast<HResult>(0x80041002u)), ""},
        {"unknown", {}, fake::of_type(VT_UNKNOWN_, 0), ""},
        {"i1", {}, fake::of_type(VT_I1_, 5), ""},
        {"ui2", {}, fake::of_type(VT_UI2_, 5), ""},
        {"ui4", {}, fake::of_type(VT_UI4_, 5), ""},
        {"i8", {}, fake::of_type(VT_I8_, 5), ""},
        {"ui8", {}, fake::of_type(VT_UI8_, 5), ""},
        {"type outside the table", {}, fake::of_type(0x48, 5), ""},

        // Units.
        {"GB", "GB", fake::str("500107862016"), "465"},
        {"KB", "KB", fake::str("500107862016"), "488386584"},
        {"MB", "MB", fake::str("500107862016"), "476940"},
        {"gb in lower case", "gb", fake::str("500107862016"), "465"},
        {"Kb mixed case", "Kb", fake::str("500107862016"), "488386584"},
        {"TB below 2^40", "TB", fake::str("1099511627775"), "0"},
        {"TB", "TB", fake::str("2199023255552"), "2"},
        {"quotient over 32 bits", "KB", fake::str("9223372036854775807"), "9007199254740991"},
        {"number too large stays at the largest", "KB", fake::str("99999999999999999999"), "9007199254740991"},
        {"negative truncates toward zero", "KB", fake::str("-1536"), "-1"},
        {"leading blanks and sign", "KB", fake::str("  +3072"), "3"},
        {"decimals after the number", "KB", fake::str("4096.75"), "4"},
        {"not a number", "GB", fake::str("unknown"), "0"},
        {"unit on an integer type", "KB", fake::i4(2048), "2"},
        {"unit on an empty text", "GB", fake::null(), ""},
        {"other filt", "XB", fake::str("2048"), "2048"},

        // Date layouts.
        {"Date", "Date", fake::str("20090315083000.000000+060"), "2009-03-15"},
        {"DateTime", "DateTime", fake::str("20090315083000.000000+060"), "2009-03-15 08:30"},
        {"date in lower case", "date", fake::str("20090315083000.000000+060"), "2009-03-15"},
        {"Date on 8 characters", "Date", fake::str("20090315"), "2009-03-15"},
        {"Date on 6 characters", "Date", fake::str("200903"), "200903"},
        {"DateTime on 11 characters", "DateTime", fake::str("20090315083"), "2009-03-15 08:3"},
        {"DateTime on 10 characters", "DateTime", fake::str("2009031508"), "2009031508"},
        {"Date on an empty text", "Date", fake::str(""), ""},

        // Arrays.
        {"string array", {}, fake::str_array({L"Intel", L"AMD"}), "Intel AMD "},
        {"i4 array", {}, fake::int_array(VT_I4_, {1, 2, 3}), "1 2 3 "},
        {"i4 array all bits", {}, fake::int_array(VT_I4_, {0xFFFFFFFF}), "-1 "},
        {"i2 array, -1 not sign-extended", {}, fake::int_array(VT_I2_, {0xFFFF}), "65535 "},
        {"ui1 array", {}, fake::int_array(VT_UI1_, {7, 200}), "7 200 "},
        {"array without elements", {}, fake::int_array(VT_I4_, {}), ""},
        {"array of another type", {}, with_type(VT_ARRAY_ | VT_R8_, 0), ""},
        {"r8 array with elements", {}, fake::int_array(VT_R8_, {1, 2}), ""},
        {"array is never scaled", "KB", fake::str_array({L"2048"}), "2048 "},
        {"array never gets a date layout", "Date", fake::str_array({L"20090315083000"}), "20090315083000 "},
        {"failed element left out", {}, ints_with_failure(), "1 3 "},
    };
    return cases;
}

class ValueFormatCases : public ::testing::TestWithParam<FormatCase> {};

TEST_P(ValueFormatCases, AppendOneText)
{
    const FormatCase& c = GetParam();
    QueryItem item;
    item.name = "Prop";
    item.filt = c.filt;
    item.values.push_back("earlier");
    EXPECT_EQ(show_value(item, c.value), 0);
    ASSERT_EQ(item.values.size(), 2u);
    EXPECT_EQ(item.values[0], "earlier");
    EXPECT_EQ(item.values[1], c.expected);
    EXPECT_EQ(value_text(c.filt, c.value), c.expected);
}

INSTANTIATE_TEST_SUITE_P(ValueFormat, ValueFormatCases, ::testing::ValuesIn(format_cases()),
                         [](const ::testing::TestParamInfo<FormatCase>& info) {
                             std::string name;
                             for (const char* p = info.param.label; *p; ++p)
                                 name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                             return name + "_" + std::to_string(info.index);
                         });

TEST(ValueFormat, LogsEachTextAndEachFailedElement)
{
    TestLog log;
    QueryItem size;
    size.name = "Size";
    size.filt = "GB";
    show_value(size, fake::str("500107862016"));
    QueryItem ids;
    ids.name = "Ids";
    show_value(ids, ints_with_failure());
    QueryItem none;
    none.name = "VolumeName";
    show_value(none, fake::null());

    EXPECT_NE(log.text().find("    Size = 465\n"
                              "CWMI::show_arry () Error: 0x8002000b\n"
                              "    Ids = 1 3 \n"
                              "    VolumeName = \n"),
              std::string::npos)
        << log.text();
}

}  // namespace
