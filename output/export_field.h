// One field of a tab-separated file: a tab, carriage return or line feed
// inside it becomes one blank, so every line keeps its field count.
#pragma once

#include <string>

inline std::string export_field(std::string text)
{
    for (char& c : text)
        if (c == '\t' || c == '\r' || c == '\n')
            c = ' ';
    return text;
}
