// Letter case of ASCII letters only: query file keywords, class, property
// and registry names compare this way. Every other character stays as it
// is, so the result never depends on the locale.
#pragma once

#include <string>

template <typename Char>
Char ascii_lower(Char c)
{
    return c >= Char('A') && c <= Char('Z') ? static_cast<Char>(c - Char('A') + Char('a')) : c;
}

inline std::string ascii_lower(std::string text)
{
    for (char& c : text)
        c = ascii_lower(c);
    return text;
}

namespace ascii_case {
template <typename Text>
bool equal(const Text& a, const Text& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (ascii_lower(a[i]) != ascii_lower(b[i]))
            return false;
    return true;
}
}  // namespace ascii_case

inline bool equals_ignoring_case(const std::string& a, const std::string& b) { return ascii_case::equal(a, b); }
inline bool equals_ignoring_case(const std::wstring& a, const std::wstring& b) { return ascii_case::equal(a, b); }

// Byte order with ASCII letters folded, bytes compared unsigned.
inline bool less_ignoring_case(const std::string& a, const std::string& b)
{
    size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        unsigned char x = static_cast<unsigned char>(ascii_lower(a[i]));
        unsigned char y = static_cast<unsigned char>(ascii_lower(b[i]));
        if (x != y)
            return x < y;
    }
    return a.size() < b.size();
}
