// Chains built by hand for the tests: lists and items as the query file
// reader makes them, filled with values as the readers would.
#pragma once

#include "config/query_list.h"

#include <initializer_list>
#include <string>
#include <vector>

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

// A pending WMI list as the query file gives it (path, class, optional filter
// and variable) with checked items of the given names, appended to the chain.
inline QueryList& add_wmi_list(std::unique_ptr<QueryList>& first, const Text& name,
                               const std::vector<std::string>& items,
                               const Text& path = std::string("root\\CIMV2"), const Text& filt = {},
                               const Text& var = {})
{
    std::unique_ptr<QueryList> list = init_list();
    list->path = path;
    list->name = name;
    list->filt = filt;
    list->var = var;
    list->is_wmi = 1;
    for (const std::string& n : items) {
        std::unique_ptr<QueryItem> item = init_item();
        item->name = n;
        item->checked = 1;
        append_item(*list, std::move(item));
    }
    return *append_list(first, std::move(list));
}
