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

// What the window copies: the headings and the selected rows (positions in
// the table, kept in the table's order whatever order they are given in, a
// position twice or outside the table left out), every row when none is
// selected.
ListViewTable rows_to_copy(const ListViewTable& shown, const std::vector<int>& selected);

// The clipboard's text of the table: list_view_text with every line ended by
// CR LF, byte for byte what write_list_view writes into its file.
std::string clipboard_text(const ListViewTable& table);

// Writes the headings line and one line per row, fields separated by tabs;
// a control without rows gives an empty file. A tab, CR or LF inside a text
// becomes a blank. When the file cannot be created, shows the stop box
// "Could not open file:" with the path on its second line and returns false.
bool write_list_view(const std::string& path, const ListViewTable& table);
