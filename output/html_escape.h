// Text from the machine (names, values, the computer name) as HTML text:
// the five characters that could start markup, end an attribute or begin a
// character reference are written as character references, everything else
// is copied byte for byte.
#pragma once

#include <string>

inline std::string html_escape(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            out += c;
            break;
        }
    }
    return out;
}
