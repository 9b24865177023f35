// A local address as the browser control reports it, taken apart into path
// and anchor, whatever form the control writes it in: "C:\d\x.htm#007",
// "file://C:\d\x.htm#007", "file:///C:/d/x.htm#007". The path comes out in
// lower case with backslashes.
#pragma once

#include "base/ascii_case.h"

#include <algorithm>
#include <string>

struct BrowserAddress {
    std::string path;
    std::string anchor;
};

inline BrowserAddress address_of(const std::string& url)
{
    std::string rest = url;
    if (ascii_lower(rest.substr(0, 5)) == "file:")
        rest.erase(0, 5);
    rest.erase(0, rest.find_first_not_of("/\\"));
    BrowserAddress a;
    size_t hash = rest.find('#');
    if (hash != std::string::npos) {
        a.anchor = rest.substr(hash + 1);
        rest.erase(hash);
    }
    std::replace(rest.begin(), rest.end(), '/', '\\');
    a.path = ascii_lower(rest);
    return a;
}
