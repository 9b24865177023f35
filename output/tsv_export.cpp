// A list with one row writes each value with an empty group. A list with more
// rows writes, for each row, the values of its second and later items with the
// first item's value of that row as the group (an EnumKey registry list: the
// subkey name). Check boxes and display names play no part.
#include "output/tsv_export.h"

#include "base/text_file.h"
#include "output/export_field.h"

namespace {

// One line of the export: the five fields of the header line, in its order.
std::string export_line(const std::string& page, const std::string& list, const std::string& group,
                        const std::string& item, const std::string& value)
{
    return page + "\t" + list + "\t" + group + "\t" + item + "\t" + value + "\n";
}

void export_list(TextFile& out, QueryList& list)
{
    // A list is read one way or both; when both, it counts as a registry list.
    // A list of neither type is never read and so has no rows; should it have
    // some, its page field is empty.
    std::string page;
    if (list.is_wmi)
        page = "WMI";
    if (list.is_reg)
        page = "REG";
    const std::string list_name = export_field(*list.name);

    for (int row = 0; row < list.row_count; ++row) {
        // The group of this row: the first item's value. A row whose first item
        // has no name or no valid value has an empty group, never one carried
        // over from an earlier row or list.
        std::string group;
        for_each_column(list, [&](QueryItem& item, int position) {
            if (!item.name || !item.valid)
                return;
            const std::string& value = value_of_row(item, row);
            const bool has_value = !value.empty();
            std::string item_field;
            if (list.row_count == 1) {
                item_field = export_field(*item.name);
            } else if (position == 0) {
                group = export_field(value);
                return;
            } else {
                // In a grouped row an empty value hides the item's name too.
                item_field = has_value ? export_field(*item.name) : std::string("-");
            }
            // An empty value gives the placeholder "-" at position 1 only.
            if (has_value)
                out.write(export_line(page, list_name, group, item_field, export_field(value)), true);
            else if (position == 1)
                out.write(export_line(page, list_name, group, item_field, "-"), true);
        });
    }
}

}  // namespace

bool write_export(const std::string& path, QueryList* first)
{
    TextFile out;
    if (!out.open(path, 'w'))
        return false;
    out.write("Page\tList\tGroup\tItem\tValue\n", true);
    for_each_list(first, [&](QueryList& list) {
        if (list.name)
            export_list(out, list);
    });
    return true;
}
