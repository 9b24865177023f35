// Names that the ANSI code page loses or confuses, for the tests of the
// registry functions and the registry list reader. Each has its own text
// data, so a read that reaches another name shows the other's data.
//
// Wine lists values and subkeys sorted by name, the store values in the
// order of their creation and subkeys by name: each table is in that order.
#pragma once

#include <string>
#include <vector>

struct TestName {
    std::wstring wide;  // the name as the registry holds it
    std::string text;   // its ANSI form (code page 1252 with best fit)
    std::string data;   // the text of its value
};

// 301 characters: longer than the first name buffer of the enumerations.
inline std::wstring long_value_name() { return L"L" + std::wstring(300, L'l'); }

// Value names: the default value (empty name), an ASCII name and its
// fullwidth look-alike, names around a long one, names the code page has no
// form for.
inline std::vector<TestName> value_names()
{
    return {
        {L"", "", "default"},
        {L"<b>", "<b>", "ascii twin"},
        {L"A before", "A before", "before"},
        {long_value_name(), std::string(1, 'L') + std::string(300, 'l'), "long"},
        {L"Z after", "Z after", "after"},
        {L"\u2713 check", "? check", "check"},
        {L"\u540D\u524D", "??", "cjk"},
        {L"\uFF1Cb\uFF1E", "<b>", "fullwidth"},
    };
}

// Subkey names: the same kinds, without the empty name (a key has none) and
// with a long name that still leaves the key's ANSI path under 260
// characters, which is as long as Wine's ANSI calls take.
inline std::vector<TestName> key_names()
{
    return {
        {L"<b>", "<b>", "ascii twin"},
        {L"A before", "A before", "before"},
        {L"L" + std::wstring(199, L'l'), "L" + std::string(199, 'l'), "long"},
        {L"Z after", "Z after", "after"},
        {L"\u2713 check", "? check", "check"},
        {L"\u540D\u524D", "??", "cjk"},
        {L"\uFF1Cb\uFF1E", "<b>", "fullwidth"},
    };
}
