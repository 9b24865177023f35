#include "reader/value_format.h"

#include "base/ascii_case.h"
#include "base/log.h"
#include "base/platform.h"
#include "base/text_file.h"

#include <cstdint>
#include <limits>

namespace {

// A wide text as "%S" prints it: up to its first zero character.
std::string narrow(const std::wstring& text) { return platform::to_ansi(text.substr(0, text.find(L'\0'))); }

// The number at the start of the text, read as _atoi64 reads it: blanks
// skipped, an optional sign, the decimal digits up to the first other
// character. No digits read as 0; a number too large for 64 bits stays at
// the largest (or smallest) value.
int64_t leading_int64(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const uint64_t limit = negative ? uint64_t{1} << 63 : uint64_t(std::numeric_limits<int64_t>::max());
    uint64_t magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        unsigned digit = static_cast<unsigned>(text[i] - '0');
        if (magnitude > (limit - digit) / 10) {
            magnitude = limit;
            break;
        }
        magnitude = magnitude * 10 + digit;
    }
    if (!negative)
        return static_cast<int64_t>(magnitude);
    if (magnitude == uint64_t{1} << 63)
        return std::numeric_limits<int64_t>::min();
    return -static_cast<int64_t>(magnitude);
}

// The divisor of a unit filt, or 0 for any other text.
int64_t unit_divisor(const std::string& filt)
{
    if (equals_ignoring_case(filt, "KB"))
        return int64_t{1} << 10;
    if (equals_ignoring_case(filt, "MB"))
        return int64_t{1} << 20;
    if (equals_ignoring_case(filt, "GB"))
        return int64_t{1} << 30;
    if (equals_ignoring_case(filt, "TB"))
        return int64_t{1} << 40;
    return 0;
}

}  // namespace

std::string scalar_text(const WmiValue& value)
{
    switch (value.type) {
    case VT_I2_:
        return format_text("%i", static_cast<int>(static_cast<int16_t>(value.integer)));
    case VT_I4_:
        return format_text("%i", static_cast<int>(static_cast<int32_t>(value.integer)));
    case VT_R4_:
        return format_text("%f", static_cast<double>(static_cast<float>(value.real)));
    case VT_R8_:
        return format_text("%f", value.real);
    case VT_CY_:
        return "VT_CY";
    case VT_DATE_:
        return "VT_DATE";
    case VT_BSTR_:
        return narrow(value.text);
    case VT_BOOL_:
        return static_cast<int16_t>(value.integer) != 0 ? "TRUE" : "FALSE";
    case VT_UI1_:
        return format_text("%i", static_cast<int>(static_cast<uint8_t>(value.integer)));
    default:
        // VT_EMPTY, VT_NULL, VT_ERROR, VT_I1, VT_UI2, VT_UI4, VT_I8, VT_UI8
        // and the rest are not shown.
        return std::string();
    }
}

std::string element_text(uint16_t array_type, const WmiArrayElement& element)
{
    // The number elements arrive in a 32-bit slot of which an 8- or 16-bit
    // element fills only the low bytes: they are not sign-extended.
    switch (array_type) {
    case VT_ARRAY_ | VT_BSTR_:
        return narrow(element.text) + " ";
    case VT_ARRAY_ | VT_UI1_:
        return format_text("%d ", static_cast<int>(element.slot & 0xFFu));
    case VT_ARRAY_ | VT_I2_:
        return format_text("%d ", static_cast<int>(element.slot & 0xFFFFu));
    case VT_ARRAY_ | VT_I4_:
        return format_text("%d ", static_cast<int>(static_cast<int32_t>(element.slot)));
    default:
        return std::string();
    }
}

std::string array_text(const WmiValue& value, std::vector<HResult>* failed_elements)
{
    std::string text;
    for (const WmiArrayElement& element : value.elements) {
        if (failed(element.result)) {
            if (failed_elements)
                failed_elements->push_back(element.result);
            continue;
        }
        text += element_text(value.type, element);
    }
    return text;
}

std::string apply_filt(const Text& filt, std::string text)
{
    if (text.empty() || !filt)
        return text;
    if (int64_t divisor = unit_divisor(*filt)) {
        // Integer division, truncated toward zero; all digits are kept.
        return std::to_string(static_cast<long long>(leading_int64(text) / divisor));
    }
    // A CIM date: yyyymmddHHMM followed by seconds and more; the characters
    // are taken by position and not checked.
    if (equals_ignoring_case(*filt, "Date") && text.size() >= 8)
        return text.substr(0, 4) + "-" + text.substr(4, 2) + "-" + text.substr(6, 2);
    if (equals_ignoring_case(*filt, "DateTime") && text.size() >= 11)
        return text.substr(0, 4) + "-" + text.substr(4, 2) + "-" + text.substr(6, 2) + " " + text.substr(8, 2) +
               ":" + text.substr(10, 2);
    return text;
}

std::string value_text(const Text& filt, const WmiValue& value, std::vector<HResult>* failed_elements)
{
    // Arrays are never scaled or laid out as dates.
    if (value.type & VT_ARRAY_)
        return array_text(value, failed_elements);
    return apply_filt(filt, scalar_text(value));
}

std::string entry_log_line(const Text& name, const std::string& entry)
{
    return "    " + name.value_or(std::string()) + " = " + entry + "\n";
}

std::string element_error_line(HResult code)
{
    return format_text("CWMI::show_arry () Error: 0x%08x\n", static_cast<unsigned>(code));
}

void append_entry(QueryItem& item, std::string entry)
{
    write_log("%s", entry_log_line(item.name, entry).c_str());
    item.values.push_back(std::move(entry));
}

int show_value(QueryItem& item, const WmiValue& value)
{
    if (value.type & VT_ARRAY_)
        return show_arry(item, value);
    append_entry(item, value_text(item.filt, value));
    return 0;
}

int show_arry(QueryItem& item, const WmiValue& value)
{
    std::vector<HResult> failed_elements;
    std::string entry = array_text(value, &failed_elements);
    for (HResult hr : failed_elements)
        write_log("%s", element_error_line(hr).c_str());
    append_entry(item, std::move(entry));
    return 0;
}
