// The WMI table query, the body of the worker thread: COM start on the
// thread, connection to the list's namespace, one WQL SELECT built from the
// list and its items, and the walk over the objects, one per call. Every
// value goes through show_value into its item's texts.
#include "app/log.h"
#include "app/platform.h"
#include "app/window_side.h"
#include "reader/reader.h"
#include "reader/value_format.h"

namespace {

unsigned code(HResult hr) { return static_cast<unsigned>(hr); }

const char* text_or_empty(const Text& text) { return text ? text->c_str() : ""; }

// The statement: the item names joined by "," after SELECT, the class after
// FROM, then the filter and the quoted variable (only with a filter).
std::string build_query(const QueryList& list)
{
    std::string columns;
    for (const QueryItem* item = list.first_item.get(); item; item = item->next.get()) {
        if (item != list.first_item.get())
            columns += ',';
        columns += text_or_empty(item->name);
    }
    std::string query = "SELECT " + columns + " FROM " + text_or_empty(list.name);
    if (list.filt) {
        query += ' ';
        query += *list.filt;
        if (list.var)
            query += "'" + *list.var + "'";
    }
    return query;
}

// Expands the list's "*" item into one item per non-system property that
// holds a value on this object, in the order of the names array. The "*"
// item itself becomes the first property's item (keeping its disp and filt);
// the others are new. Items that followed the "*" item stay behind the first
// property's item until a second property is appended in their place.
void expand_star(QueryList& list, WmiObject& object)
{
    std::vector<std::optional<std::wstring>> names;
    HResult hr = object.get_names(names);
    if (failed(hr)) {
        write_log("Failed GetNames ()! Error: 0x%08x\n", code(hr));
        return;  // the list keeps its "*" item
    }
    for (const std::optional<std::wstring>& wide : names) {
        if (!wide)
            continue;  // this name could not be fetched
        WmiValue value;
        hr = object.get(*wide, value);
        if (failed(hr) || value.type == VT_EMPTY_ || value.type == VT_NULL_ || value.type == VT_ERROR_)
            continue;

        std::unique_ptr<QueryItem> item;
        if (list.first_item && names_all(list.first_item->name)) {
            // The chain starts anew with the "*" item. It is taken out and
            // appended again with its next link as it was.
            list.item_count = 0;
            item = std::move(list.first_item);
            item->name.reset();
            list.last_item = nullptr;
        } else {
            item = init_item();
        }
        item->name = platform::to_ansi(*wide);
        item->checked = 1;
        append_item(list, std::move(item));
        ++list.item_count;
    }
}

// The property names of the items in chain order, widened once per read.
std::vector<std::wstring> wide_names(QueryList& list)
{
    std::vector<std::wstring> names;
    for_each_item(list,
                  [&](QueryItem& item) { names.push_back(platform::from_ansi(text_or_empty(item.name))); });
    return names;
}

// One object: a text for every item, empty where the property cannot be read.
void read_object(QueryList& list, const std::vector<std::wstring>& names, WmiObject& object)
{
    ++list.row_count;
    size_t k = 0;
    for (QueryItem* item = list.first_item.get(); item; item = item->next.get(), ++k) {
        WmiValue value;
        HResult hr = object.get(names[k], value);
        if (!failed(hr))
            show_value(*item, value);
        else
            item->values.emplace_back();
        if (item->values.size() < static_cast<size_t>(list.row_count))
            item->valid = 0;
    }
}

}  // namespace

void CWMI::read_cwmi()
{
    if (!cur_list) {
        reading_ = 0;
        return;
    }
    QueryList& list = *cur_list;
    WmiService& service = wmi_service();

    HResult hr = service.initialize();
    if (failed(hr)) {
        write_log("Failed to initialize COM! Error: 0x%08x\n", code(hr));
        end_cwmi(false);
        return;
    }
    // In the batch run every read sets the security up again; with a window
    // the first read does it for the process.
    if (!window_side().has_main_window())
        sec_done = 0;
    if (!sec_done) {
        hr = service.initialize_security();
        // RPC_E_TOO_LATE: the process already has its security (set by an
        // earlier read, or by someone else in the process). That is all the
        // read needs, so it goes on.
        if (failed(hr) && hr != RESULT_RPC_E_TOO_LATE) {
            write_log("Failed to initialize COM security! Error: 0x%08x\n", code(hr));
            end_cwmi(true);
            return;
        }
    }
    sec_done = 1;
    hr = service.create_locator(locator);
    if (failed(hr) || !locator) {
        write_log("Failed to create IWbemLocator! Error: 0x%08x\n", code(hr));
        end_cwmi(true);
        return;
    }

    // The namespace is handed on whole, however long it is.
    hr = locator->connect_server(platform::from_ansi(text_or_empty(list.path)), services);
    if (failed(hr) || !services) {
        write_log("Failed to connect IWbemLocator! Error: 0x%08x\n", code(hr));
        end_cwmi(true);
        return;
    }

    if (!list.first_item) {
        write_log("Invalid configuration for list: %s!\n", text_or_empty(list.name));
        end_cwmi(true);
        return;
    }
    list.item_count = count_items(list);

    std::string query = build_query(list);
    write_log("  %s\n", query.c_str());

    {
        std::unique_ptr<WmiEnumerator> enumerator;
        hr = services->exec_query(platform::from_ansi(query), enumerator);
        if (failed(hr) || !enumerator) {
            write_log("Failed to query table %s! Error: 0x%08x\n", text_or_empty(list.name), code(hr));
            end_cwmi(true);
            return;
        }

        // The chain is fixed once the first object has been seen.
        bool first = true;
        std::vector<std::wstring> names;
        for (;;) {
            std::unique_ptr<WmiObject> object;
            hr = enumerator->next(object);
            if (failed(hr))
                write_log("Failed to enumerate Next! Error: 0x%08x\n", code(hr));
            if (!object)
                break;
            if (first) {
                if (names_all(list.first_item->name))
                    expand_star(list, *object);
                names = wide_names(list);
                first = false;
            }
            read_object(list, names, *object);
        }
        // The enumerator goes before the services and the locator.
    }
    normal_end();
}
