// Helpers of the host tests of the query file reader and the output files.
// Building chains by hand for the output tests: lists and items as the query
// file reader makes them, filled with values as the readers would.
#pragma once

#include "config/query_list.h"

#include <initializer_list>
#include <string>

// A named list (nullptr: no name) appended to the chain, with its counters.
inline QueryList& add_list(std::unique_ptr<QueryList>& first, const char* name, int id, int rows, int items,
                           bool wmi = true, bool reg = false)
{
    std::unique_ptr<QueryList> list = init_list();
    if (name)
        list->name = name;
    list->id = id;
    list->row_count = rows;
    list->item_count = items;
    list->is_wmi = wmi;
    list->is_reg = reg;
    list->pending = 0;
    return *append_list(first, std::move(list));
}

// A checked, valid item (nullptr: no name) with the given values.
inline QueryItem& add_item(QueryList& list, const char* name, std::initializer_list<const char*> values)
{
    std::unique_ptr<QueryItem> item = init_item();
    item->checked = 1;
    if (name)
        item->name = name;
    for (const char* v : values)
        item->values.emplace_back(v);
    return *append_item(list, std::move(item));
}

// "\n" -> CR LF: the expected bytes of a file the program writes.
inline std::string crlf(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

// Death-test messages are matched as regular expressions.
inline std::string literally(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (std::string("\\^$.|?*+()[]{}").find(c) != std::string::npos)
            out += '\\';
        out += c;
    }
    return out;
}
