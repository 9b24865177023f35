// What a report-style list view shows, read straight from the control by its
// own messages: the column headings, the cell texts row by row, the check
// box of each row and the column widths. Win32 only, in-process.
#pragma once

#include "base/windows_win32.h"

#include <commctrl.h>

#include <string>
#include <vector>

struct ListViewContents {
    std::vector<std::string> headings;
    std::vector<std::vector<std::string>> rows;
    std::vector<bool> checked;  // one per row
    std::vector<int> widths;    // one per column
};

inline ListViewContents list_view_contents(HWND list)
{
    // Room enough for every text of the tests (the longest is 300 characters).
    std::vector<char> buffer(4096);
    ListViewContents seen;
    HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    const int columns = header ? static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
    for (int c = 0; c < columns; ++c) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT;
        column.pszText = buffer.data();
        column.cchTextMax = static_cast<int>(buffer.size());
        buffer[0] = '\0';
        SendMessageA(list, LVM_GETCOLUMNA, c, reinterpret_cast<LPARAM>(&column));
        seen.headings.emplace_back(buffer.data());
        seen.widths.push_back(static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, c, 0)));
    }
    const int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int r = 0; r < rows; ++r) {
        std::vector<std::string> cells;
        for (int c = 0; c < columns; ++c) {
            LVITEMA item{};
            item.iSubItem = c;
            item.pszText = buffer.data();
            item.cchTextMax = static_cast<int>(buffer.size());
            buffer[0] = '\0';
            SendMessageA(list, LVM_GETITEMTEXTA, r, reinterpret_cast<LPARAM>(&item));
            cells.emplace_back(buffer.data());
        }
        seen.rows.push_back(cells);
        UINT state = static_cast<UINT>(SendMessageA(list, LVM_GETITEMSTATE, r, LVIS_STATEIMAGEMASK));
        seen.checked.push_back((state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2));
    }
    return seen;
}

// Ticks or clears the row's check box as a click would, by the control's message.
inline void set_row_check(HWND list, int row, bool checked)
{
    LVITEMA item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}
