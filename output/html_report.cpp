// The fixed markup is written as it stands. Every text that comes from the
// model or the machine (titles, names, values, the computer name) goes
// through html_escape: a volume label or a program's display name must not
// become markup in the browser that shows the report.
#include "output/html_report.h"

#include "base/text_file.h"
#include "output/html_escape.h"

namespace {

// The title of a list or item: its display name when it has one, otherwise
// its name, otherwise nothing.
template <typename Node>
std::string title_of(const Node& node)
{
    if (node.disp)
        return *node.disp;
    if (node.name)
        return *node.name;
    return std::string();
}

void write_cell(TextFile& out, const QueryItem& item, int row)
{
    if (item.valid)
        out.write("    <td>" + html_escape(value_of_row(item, row)) + "</td>\n");
    else
        out.write("    <td></td>\n");
}

// At most one row: one table row per named, checked item, its title beside
// its first value.
void write_attributes(TextFile& out, QueryList& list)
{
    for_each_item(list, [&](QueryItem& item) {
        if (!item.name || !item.checked)
            return;
        out.write("  <tr>\n");
        out.write("    <td bgcolor='#f0f0f0' width='20%'>" + html_escape(title_of(item)) + "</td>\n");
        write_cell(out, item, 0);
        out.write("  </tr>\n");
    });
}

// Two or more rows: a header row of the checked items' titles, then one row
// per object read. A checked item has its column even without a name.
void write_table(TextFile& out, QueryList& list)
{
    if (!list.first_item->name)
        return;
    for (int row = 0; row < list.row_count; ++row) {
        if (row == 0) {
            out.write("  <tr>\n");
            for_each_column(list, [&](QueryItem& item, int) {
                if (item.checked)
                    out.write("    <td bgcolor='#f0f0f0'>" + html_escape(title_of(item)) + "</td>\n");
            });
            out.write("  </tr>\n");
        }
        out.write("  <tr>\n");
        for_each_column(list, [&](QueryItem& item, int) {
            if (item.checked)
                write_cell(out, item, row);
        });
        out.write("  </tr>\n");
    }
}

void write_list(TextFile& out, QueryList& list)
{
    // Only a named list whose first item holds at least one value entry.
    if (!list.name || !list.first_item || list.first_item->values.empty())
        return;
    std::string anchor = format_text("<h3><a name='%03i'></a>", list.id);
    if (list.is_wmi && list.id <= 16)
        out.write(anchor + html_escape(title_of(list)) +
                  format_text(" <img src='img_%02i.bmp'></h3>\n\n", list.id));
    else
        out.write(anchor + html_escape(title_of(list)) + "</h3>\n\n");
    out.write(
        "<table border=1 cellspacing=0 cellpadding=3 style='border-collapse: collapse' "
        "bordercolor='#808080' width='100%'>\n");
    if (list.row_count < 2)
        write_attributes(out, list);
    else
        write_table(out, list);
    out.write("</table>\n\n");
}

}  // namespace

void write_report(const std::string& path, QueryList* first, const Text& computer_name)
{
    TextFile out;
    if (!out.open(path, 'w'))
        return;
    out.write(
        "<style>\n"
        "<!--\n"
        "  h2  {font-size:100%; font-family: Verdana, Arial, Helvetica; font-weight: bold}\n"
        "  h3  {font-size: 80%; font-family: Verdana, Arial, Helvetica; font-weight: bold}\n"
        "  td  {font-size: 60%; font-family: Verdana, Arial, Helvetica;}\n"
        "  img {margin-top: 5px;}\n"
        "-->\n"
        "</style>\n\n");
    std::string for_computer;
    if (computer_name)
        for_computer = " for " + html_escape(*computer_name);
    out.write("<h2>System Report" + for_computer + " <img src='img_00.bmp'></h2>\n\n", true);
    for_each_list(first, [&](QueryList& list) {
        write_list(out, list);
        out.flush();
    });
}
