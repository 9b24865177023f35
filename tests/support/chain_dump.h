// The chain as text, for comparing whole chains in tests: one line per list
// (its ID, its set flags and its present texts), one indented line per item.
#pragma once

#include "config/query_list.h"

#include <string>

inline std::string show_text(const char* label, const Text& text)
{
    return text ? std::string(" ") + label + "=[" + *text + "]" : std::string();
}

inline std::string dump(QueryList* first)
{
    std::string out;
    for_each_list(first, [&](QueryList& l) {
        out += "list " + std::to_string(l.id);
        if (l.is_wmi)
            out += " WMI";
        if (l.is_reg)
            out += " REG";
        if (l.enum_keys)
            out += " EnumKey";
        if (l.enum_values)
            out += " EnumVal";
        if (!l.pending)
            out += " read";
        out += show_text("path", l.path) + show_text("name", l.name) + show_text("disp", l.disp) +
               show_text("filt", l.filt) + show_text("var", l.var) + show_text("written", l.var_as_written) + "\n";
        for_each_item(l, [&](QueryItem& i) {
            out += "  item";
            if (!i.checked)
                out += " unchecked";
            if (!i.valid)
                out += " invalid";
            out += show_text("name", i.name) + show_text("disp", i.disp) + show_text("filt", i.filt) + "\n";
        });
    });
    return out;
}
