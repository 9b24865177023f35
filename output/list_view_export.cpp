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

ListViewTable rows_to_copy(const ListViewTable& shown, const std::vector<int>& selected)
{
    ListViewTable copy{shown.headings, {}};
    std::vector<bool> chosen(shown.rows.size(), false);
    bool any = false;
    for (int row : selected) {
        if (row >= 0 && static_cast<size_t>(row) < chosen.size()) {
            chosen[static_cast<size_t>(row)] = true;
            any = true;
        }
    }
    for (size_t row = 0; row < shown.rows.size(); ++row) {
        if (!any || chosen[row])
            copy.rows.push_back(shown.rows[row]);
    }
    return copy;
}

std::string clipboard_text(const ListViewTable& table)
{
    std::string text;
    for (char c : list_view_text(table)) {
        if (c == '\n')
            text += '\r';
        text += c;
    }
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
