// The chain of query lists and their items: what the query file asks for and
// everything read for it. A list is one WMI class in one namespace, or one
// registry key; an item one property or one registry value, with one value
// text per row read.
//
// The chain owns its lists, a list its items, an item its texts. A text that
// was never given is none (std::nullopt), which differs from an empty text.
#pragma once

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using Text = std::optional<std::string>;

struct QueryItem {
    Text name;                        // property or value name; "*" for all of them
    Text disp;                        // title in the report
    Text filt;                        // format hint: KB, MB, GB, TB, Date, DateTime
    int valid = 1;                    // holds a value for every row read so far
    int checked = 0;                  // part of the report and of saved queries
    std::vector<std::string> values;  // one text per row
    std::unique_ptr<QueryItem> next;

    QueryItem() = default;
    ~QueryItem();  // frees the rest of the chain without recursion
    QueryItem(const QueryItem&) = delete;
    QueryItem& operator=(const QueryItem&) = delete;
};

// An item as the query file gave it, before any reading.
struct ItemAsWritten {
    Text name;
    Text disp;
    Text filt;
};

struct QueryList {
    Text path;                                    // WMI namespace, or registry root name
    Text name;                                    // WMI class, or registry key path
    Text disp;                                    // title in the report
    Text filt;                                    // WMI: text after the class in the query
    Text var;                                     // WMI: value quoted after the filter (expanded)
    Text var_as_written;                          // <var> as the file wrote it, for saving
    std::vector<ItemAsWritten> items_as_written;  // for saving
    int row_count = 0;
    int item_count = 0;
    int id = 0;
    int pending = 1;
    int is_wmi = 0;
    int is_reg = 0;
    std::atomic<int> busy{0};  // a worker thread is reading the list
    int enum_keys = 0;
    int enum_values = 0;
    int selection_made = 0;
    // The last WMI read of the list failed before or at its query (the list
    // stays pending); the window says so once and clears it.
    int read_failed = 0;
    std::unique_ptr<QueryItem> first_item;
    QueryItem* last_item = nullptr;
    std::unique_ptr<QueryList> next;

    QueryList() = default;
    ~QueryList();  // frees the rest of the chain without recursion
    QueryList(const QueryList&) = delete;
    QueryList& operator=(const QueryList&) = delete;
};

// A new list: no texts, no items, pending, all other flags clear.
std::unique_ptr<QueryList> init_list();
// A new item: no texts, no values, valid; checked is left clear for the
// creator to set.
std::unique_ptr<QueryItem> init_item();

// Appends the list at the end of the chain that begins at first; returns it,
// or none when given none.
QueryList* append_list(std::unique_ptr<QueryList>& first, std::unique_ptr<QueryList> list);
// Appends the item at the end of the list's items; returns it.
QueryItem* append_item(QueryList& list, std::unique_ptr<QueryItem> item);

// Gives every named list its ID number: 1 to 16 for the known WMI classes
// (position in class_names plus 1, letter case ignored), then 17 and up in
// chain order for the other named lists. Lists without a name keep 0, and a
// list that already has a number keeps it.
void number_lists(QueryList* first, const std::vector<std::string>& class_names);

// Frees every list and item of the chain; first is none afterwards.
void free_lists(std::unique_ptr<QueryList>& first);

// The item's value text of a row. A valid item holds one for every row read;
// a row it does not hold reads as the empty text, never past the values.
const std::string& value_of_row(const QueryItem& item, int row);

// Lists and items in chain order.
template <typename F>
void for_each_list(QueryList* first, F f)
{
    for (QueryList* l = first; l; l = l->next.get())
        f(*l);
}
template <typename F>
void for_each_item(QueryList& list, F f)
{
    for (QueryItem* i = list.first_item.get(); i; i = i->next.get())
        f(*i);
}

// The list at a position of the chain, counted from 1 in chain order; none
// when the chain is shorter. A tree item finds its own list this way, also
// when two lists have the same name.
QueryList* list_at(QueryList* first, int position);

// The number of items the list holds.
int count_items(QueryList& list);

// An item named "*" (or any name that begins with "*") stands for all
// properties or values: the reader puts one item per name in its place.
bool names_all(const Text& item_name);

// The list's columns: its first item_count items in chain order, each with
// its position (from 0).
template <typename F>
void for_each_column(QueryList& list, F f)
{
    int position = 0;
    for (QueryItem* item = list.first_item.get(); item && position < list.item_count;
         item = item->next.get(), ++position)
        f(*item, position);
}
