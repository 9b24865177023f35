#include "output/cell_order.h"

#include "base/ascii_case.h"

namespace {

// A decimal number as the cell writes it: an optional minus sign, digits,
// optionally a point and more digits, nothing else. Its parts without
// leading zeros of the whole part or trailing zeros of the fraction, so that
// two numbers compare by their digits, of any length.
struct Decimal {
    bool negative = false;
    std::string whole;     // "" for zero
    std::string fraction;  // "" for none
};

bool is_digit(char c) { return c >= '0' && c <= '9'; }

bool parse_decimal(const std::string& text, Decimal& out)
{
    size_t i = 0;
    if (i < text.size() && text[i] == '-') {
        out.negative = true;
        ++i;
    }
    const size_t whole_start = i;
    while (i < text.size() && is_digit(text[i]))
        ++i;
    if (i == whole_start)
        return false;
    out.whole = text.substr(whole_start, i - whole_start);
    if (i < text.size() && text[i] == '.') {
        const size_t fraction_start = ++i;
        while (i < text.size() && is_digit(text[i]))
            ++i;
        if (i == fraction_start)
            return false;
        out.fraction = text.substr(fraction_start, i - fraction_start);
    }
    if (i != text.size())
        return false;
    const size_t first = out.whole.find_first_not_of('0');
    out.whole.erase(0, first == std::string::npos ? out.whole.size() : first);
    const size_t last = out.fraction.find_last_not_of('0');
    out.fraction.erase(last == std::string::npos ? 0 : last + 1);
    if (out.whole.empty() && out.fraction.empty())
        out.negative = false;  // "-0" is zero
    return true;
}

int sign_of(int v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

// Magnitudes: the longer whole part is the larger, then digit by digit.
int compare_magnitude(const Decimal& a, const Decimal& b)
{
    if (a.whole.size() != b.whole.size())
        return a.whole.size() < b.whole.size() ? -1 : 1;
    if (int c = a.whole.compare(b.whole))
        return sign_of(c);
    return sign_of(a.fraction.compare(b.fraction));
}

int compare_decimals(const Decimal& a, const Decimal& b)
{
    if (a.negative != b.negative)
        return a.negative ? -1 : 1;
    const int c = compare_magnitude(a, b);
    return a.negative ? -c : c;
}

int compare_texts(const std::string& a, const std::string& b)
{
    if (less_ignoring_case(a, b))
        return -1;
    if (less_ignoring_case(b, a))
        return 1;
    // Alike but for letter case: a fixed order all the same.
    return sign_of(a.compare(b));
}

}  // namespace

int compare_cells(const std::string& a, const std::string& b)
{
    if (a.empty() || b.empty())
        return a.empty() == b.empty() ? 0 : (a.empty() ? -1 : 1);
    Decimal x, y;
    const bool a_number = parse_decimal(a, x);
    const bool b_number = parse_decimal(b, y);
    if (a_number && b_number)
        return compare_decimals(x, y);
    if (a_number != b_number)
        return a_number ? -1 : 1;
    return compare_texts(a, b);
}
