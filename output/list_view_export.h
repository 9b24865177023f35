// The list view export: what the result list shows, as a tab-separated text
// file. The window reads the control's headings and cells into a table; the
// file is written from that table.
#pragma once

#include <string>
#include <vector>

struct ListViewTable {
    std::vector<std::string> headings;           // one per column, left to right
    std::vector<std::vector<std::string>> rows;  // top to bottom, one text per column
};

// The headings line and one line per row, fields separated by tabs, each
// line ended by "\n"; a table without rows gives the empty text. A tab, CR
// or LF inside a text becomes a blank. What the export writes and what the
// window copies to the clipboard.
std::string list_view_text(const ListViewTable& table);

// Writes the headings line and one line per row, fields separated by tabs;
// a control without rows gives an empty file. A tab, CR or LF inside a text
// becomes a blank. When the file cannot be created, shows the stop box
// "Could not open file:" with the path on its second line and returns false.
bool write_list_view(const std::string& path, const ListViewTable& table);
