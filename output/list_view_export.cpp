#include "output/list_view_export.h"

#include "base/text_file.h"
#include "base/window_side.h"
#include "output/export_field.h"

namespace {

std::string joined(const std::vector<std::string>& fields, size_t count)
{
    std::string line;
    for (size_t j = 0; j < count; ++j) {
        if (j > 0)
            line += '\t';
        if (j < fields.size())
            line += export_field(fields[j]);
    }
    return line;
}

}  // namespace

std::string list_view_text(const ListViewTable& table)
{
    std::string text;
    if (table.rows.empty())
        return text;
    const size_t columns = table.headings.size();
    text += joined(table.headings, columns) + "\n";
    for (const std::vector<std::string>& row : table.rows)
        text += joined(row, columns) + "\n";
    return text;
}

bool write_list_view(const std::string& path, const ListViewTable& table)
{
    TextFile out;
    if (!out.open(path, 'w')) {
        window_side().stop_box("Could not open file:\n" + path);
        return false;
    }
    out.write(list_view_text(table));
    return true;
}
