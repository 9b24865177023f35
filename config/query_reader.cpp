#include "config/query_reader.h"

#include "base/ascii_case.h"
#include "base/text_file.h"

#include <cstdlib>

namespace {

bool contains(const std::string& line, const char* text) { return line.find(text) != std::string::npos; }

// <var>: a name between the first and the last "%" is replaced by the value
// of that environment variable, and the stored value is that value alone (the
// text around the percent signs is dropped). With fewer than two "%", or when
// the variable is undefined or empty, the value stays exactly as written,
// percent signs included: "%X%" of an unknown X stays "%X%".
std::string expand_var(const std::string& value)
{
    size_t first = value.find('%');
    size_t last = value.rfind('%');
    if (first == std::string::npos || first == last)
        return value;
    std::string name = value.substr(first + 1, last - first - 1);
    const char* expanded = std::getenv(name.c_str());
    if (expanded && *expanded)
        return expanded;
    return value;
}

// Takes the value of each tag that the line holds, in the given order, into
// the matching field. Every search sees the line as the earlier tag_value
// calls left it.
struct TagField {
    const char* tag;
    Text* field;
};

template <size_t N>
bool take_texts(std::string& line, const TagField (&fields)[N], std::string& error)
{
    for (const TagField& f : fields) {
        if (!contains(line, f.tag))
            continue;
        std::optional<std::string> value = tag_value(line, error);
        if (!value)
            return false;
        *f.field = std::move(*value);
    }
    return true;
}

// The list section: <typ>, <cmd>, <path>, <name>, <disp>, <filt>, <var>, in
// this order. <typ> and <cmd> compare the whole value, letter case ignored;
// another value is ignored.
bool take_list_tags(std::string& line, QueryList& list, std::string& error)
{
    if (contains(line, "<typ>")) {
        std::optional<std::string> value = tag_value(line, error);
        if (!value)
            return false;
        if (equals_ignoring_case(*value, "WMI"))
            list.is_wmi = 1;
        else if (equals_ignoring_case(*value, "REG"))
            list.is_reg = 1;
    }
    if (contains(line, "<cmd>")) {
        std::optional<std::string> value = tag_value(line, error);
        if (!value)
            return false;
        if (equals_ignoring_case(*value, "EnumKey"))
            list.enum_keys = 1;
        else if (equals_ignoring_case(*value, "EnumVal"))
            list.enum_values = 1;
    }
    const TagField texts[] = {{"<path>", &list.path},
                              {"<name>", &list.name},
                              {"<disp>", &list.disp},
                              {"<filt>", &list.filt}};
    if (!take_texts(line, texts, error))
        return false;
    if (contains(line, "<var>")) {
        std::optional<std::string> value = tag_value(line, error);
        if (!value)
            return false;
        list.var = expand_var(*value);
        list.var_as_written = std::move(*value);
    }
    return true;
}

// An item: <name>, <disp>, <filt>, in this order.
bool take_item_tags(std::string& line, QueryItem& item, std::string& error)
{
    const TagField texts[] = {{"<name>", &item.name}, {"<disp>", &item.disp}, {"<filt>", &item.filt}};
    return take_texts(line, texts, error);
}

}  // namespace

std::optional<std::string> tag_value(std::string& line, std::string& error)
{
    size_t open = line.find('<');
    size_t first_close = line.find('>');
    // Without a ">" after the first "<" no closing tag can be derived: that
    // line is as malformed as one without "<" or ">".
    size_t open_end = open == std::string::npos ? std::string::npos : line.find('>', open);
    if (open == std::string::npos || first_close == std::string::npos || open_end == std::string::npos) {
        error = "Invalid Configuration in line\n" + line;
        return std::nullopt;
    }
    // "</" and the first tag's name with its ">": the closing tag of the
    // line's first tag, whichever tag the caller looks for.
    std::string closing = "</" + line.substr(open + 1, open_end - open);
    if (!contains(line, closing.c_str())) {
        error = "Invalid " + closing + " Configuration in line\n" + line;
        return std::nullopt;
    }
    // With the closing tag present, the last "<" always lies after the first
    // ">", so the value is never negative in length.
    size_t last_open = line.rfind('<');
    size_t begin = first_close + 1;
    std::string value = last_open > first_close ? line.substr(begin, last_open - begin) : std::string();
    line.resize(last_open);
    return value;
}

bool read_query_file(const std::string& path, std::unique_ptr<QueryList>& first, std::string& error)
{
    TextFile file;
    if (!file.open(path, 'r')) {
        error = "Could not open file: " + path;
        return false;
    }

    QueryList* had_last = nullptr;  // the chain's last list before this file
    for_each_list(first.get(), [&](QueryList& l) { had_last = &l; });

    QueryList* list = nullptr;  // where list tags and new items go
    QueryItem* item = nullptr;  // where item tags go; kept when a new list starts
    bool list_section = false;  // the lines belong to the list section of list
    bool item_due = false;      // an "<item>" line was seen, its item not yet made

    std::string line;
    // read_line hands out whole lines without their line end (LF, or CR LF),
    // whatever their length; a last line without a line end is whole too.
    while (file.read_line(line)) {
        // Comments start in the first column: " ;<list>" is an ordinary line.
        // A line that is empty once its line end is gone is skipped. (Counted
        // with its line feed, such a line had length 1; a line of one
        // character is read like any other, and can hold no tag anyway.)
        if (line.empty() || line[0] == ';')
            continue;

        const bool starts_list = contains(line, "<list>");
        if (contains(line, "<item>")) {
            list_section = false;
            item_due = true;
        }

        // Everything before the first "<list>" line has no effect.
        if (list) {
            if (list_section) {
                if (!take_list_tags(line, *list, error))
                    return false;
            } else {
                // Tags on an "<item>" line are taken before that line's item
                // exists, so they go to the item before it. On the first
                // "<item>" line of a file there is no item before: its tags
                // are then left alone, neither taken nor checked, as tags are
                // wherever nothing could hold them (before the first list).
                if (item && !take_item_tags(line, *item, error))
                    return false;
                if (item_due) {
                    std::unique_ptr<QueryItem> made = init_item();
                    made->checked = 1;
                    item = append_item(*list, std::move(made));
                    item_due = false;
                }
            }
        }

        if (starts_list) {
            list = append_list(first, init_list());
            list_section = true;
        }
    }
    // The lists of this file keep their items as the file gave them: reading
    // replaces a "*" item by the names found, and saving the queries without
    // a selection writes back what the file said.
    for_each_list(had_last ? had_last->next.get() : first.get(), [](QueryList& l) {
        for_each_item(l, [&](QueryItem& i) { l.items_as_written.push_back({i.name, i.disp, i.filt}); });
    });
    return true;
}
