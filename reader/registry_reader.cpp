// The registry list reader: one registry key of a query list read into the
// values of its items, on the calling thread.
#include "reader/reader.h"

#include "base/log.h"
#include "base/registry.h"
#include "base/text_file.h"
#include "reader/value_format.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

// Text data end at their first zero byte, and at the end of the data when
// they hold none.
std::string up_to_zero(const std::string& data)
{
    size_t end = data.find('\0');
    return end == std::string::npos ? data : data.substr(0, end);
}

// The entry text of a value's data, by the type the registry reports.
std::string value_data_text(const std::optional<std::string>& data, uint32_t type)
{
    if (!data)
        return std::string();
    switch (type) {
    case REGTYPE_SZ:
    case REGTYPE_EXPAND_SZ:
    case REGTYPE_BINARY:
    case REGTYPE_MULTI_SZ:  // the first of its strings
        return up_to_zero(*data);
    case REGTYPE_DWORD: {
        // A number needs its four bytes; a shorter REG_DWORD has no number.
        if (data->size() < 4)
            return std::string();
        int32_t number;
        std::memcpy(&number, data->data(), sizeof number);
        return format_text("%d", number);
    }
    default:
        return std::string();
    }
}

// The entry text of one value.
std::string registry_value_text(const char* root, const RegName& key, const RegName& name)
{
    uint32_t type = 0;
    std::optional<std::string> data = read_rval(root, key, name, type);
    return value_data_text(data, type);
}

// The entry text of the value that an item names. An item without a name
// names no value; the default value is reached through "@" only, so a
// missing name reads nothing.
std::string item_value_text(const char* root, const RegName& key, const Text& name)
{
    return name ? registry_value_text(root, key, reg_name(*name)) : std::string();
}

// One row per subkey: the subkey's name, then the values that the other
// items name, read from the subkey. A subkey whose name has no true ANSI
// form is read by its wide name, so its row holds its own values.
void read_enum_keys(QueryList& list, const char* root, const std::string& key)
{
    std::vector<RegName> subkeys;
    if (enum_rkeys(root, key.c_str(), subkeys) != 0)
        return;
    // The values that the items after the first name, the same for every
    // subkey; an item without a name reads nothing.
    std::vector<RegName> names;
    std::vector<int> read_as;  // per item after the first: index into names, or -1
    bool first = true;
    for_each_item(list, [&](QueryItem& item) {
        if (first) {
            first = false;
            return;
        }
        read_as.push_back(item.name ? static_cast<int>(names.size()) : -1);
        if (item.name)
            names.push_back(reg_name(*item.name));
    });
    const RegName parent = reg_name(key);
    std::vector<RegValue> values;
    for (const RegName& subkey : subkeys) {
        // The subkey's path is as long as its parts, without a length limit;
        // below the hive itself it is the subkey's name alone. Its values
        // are read with the subkey opened once.
        read_rvals(root, subkey_path(parent, subkey), names, values);
        size_t k = 0;
        first = true;
        for_each_item(list, [&](QueryItem& item) {
            if (first) {
                first = false;
                append_entry(item, subkey.text);
                return;
            }
            const int at = read_as[k++];
            append_entry(item, at < 0 ? std::string()
                                      : value_data_text(values[static_cast<size_t>(at)].data,
                                                        values[static_cast<size_t>(at)].type));
        });
    }
    list.row_count = static_cast<int>(subkeys.size());
    list.item_count = subkeys.empty() ? 0 : count_items(list);
}

// One item per value of the key, in one row. The item's name is the value's
// ANSI text; its entry is read by the name the registry gave.
void read_enum_values(QueryList& list, const char* root, const std::string& key)
{
    std::vector<RegName> names;
    if (enum_rvalues(root, key.c_str(), names) != 0)
        return;
    // A first item "*" stands for all values: the chain starts anew.
    if (list.first_item && names_all(list.first_item->name)) {
        list.first_item.reset();
        list.last_item = nullptr;
        list.item_count = 0;
    }
    const RegName parent = reg_name(key);
    for (const RegName& name : names) {
        std::unique_ptr<QueryItem> item = init_item();
        item->name = name.text;
        item->checked = 1;
        QueryItem* added = append_item(list, std::move(item));
        append_entry(*added, registry_value_text(root, parent, name));
    }
    list.row_count = 1;
    list.item_count = static_cast<int>(names.size());
}

// The values that the items name, in one row; "@" is the default value.
void read_named_values(QueryList& list, const char* root, const std::string& key)
{
    const RegName parent = reg_name(key);
    for_each_item(list, [&](QueryItem& item) {
        if (item.name && *item.name == "@")
            append_entry(item, read_rstring(root, key.c_str(), nullptr).value_or(std::string()));
        else
            append_entry(item, item_value_text(root, parent, item.name));
    });
    list.row_count = 1;
    list.item_count = count_items(list);
}

}  // namespace

int CWMI::read_rkey(QueryList* list)
{
    // A list of both kinds whose WMI half is being read: its registry half
    // follows the WMI half's hand-over, which then finds it pending.
    if (!list->path || list->busy)
        return 1;
    const char* root = list->path->c_str();
    // A list without a key path reads the hive's own values and subkeys.
    std::string key = list->name.value_or(std::string());
    write_log("CWMI::read_rkey ()\n  %s\\%s\n", root, key.c_str());

    if (list->enum_keys)
        read_enum_keys(*list, root, key);
    else if (list->enum_values)
        read_enum_values(*list, root, key);
    else
        read_named_values(*list, root, key);

    write_log("  RegRead OK m:%i, n: %i\n", list->row_count, list->item_count);
    list->pending = 0;
    return 0;
}
