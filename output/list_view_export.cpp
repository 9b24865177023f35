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

bool write_list_view(const std::string& path, const ListViewTable& table)
{
    TextFile out;
    if (!out.open(path, 'w')) {
        window_side().stop_box("Could not open file:\n" + path);
        return false;
    }
    if (table.rows.empty())
        return true;
    const size_t columns = table.headings.size();
    out.write(joined(table.headings, columns) + "\n");
    for (const std::vector<std::string>& row : table.rows)
        out.write(joined(row, columns) + "\n");
    return true;
}
