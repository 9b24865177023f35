// A report-style list view control, reached through its window handle. The
// wrapper does not own the window: the control goes with its parent. Texts
// are ANSI and of any length.
#pragma once

#include "base/windows_win32.h"
#include "framework/control_handle_win32.h"

#include <commctrl.h>

#include <string>
#include <vector>

class CListCtrl : public ControlHandle {
public:
    explicit CListCtrl(HWND hwnd = nullptr) : ControlHandle(hwnd) {}

    // Creates the control window as a child of `parent` and wraps it.
    bool Create(DWORD style, const RECT& rect, HWND parent, UINT id);

    // Columns. InsertColumn gives the new column's index, or -1.
    int InsertColumn(int column, const std::string& heading, int format = LVCFMT_LEFT, int width = -1);
    bool DeleteColumn(int column);
    // Counted by the control's header.
    int GetColumnCount() const;
    std::string GetColumnText(int column) const;
    int GetColumnWidth(int column) const;
    bool SetColumnWidth(int column, int width);

    // Rows. InsertItem gives the new row's index, or -1.
    int InsertItem(int item, const std::string& text);
    bool SetItemText(int item, int sub_item, const std::string& text);
    std::string GetItemText(int item, int sub_item) const;
    int GetItemCount() const;
    bool DeleteAllItems();

    // The number a row carries with it (its lParam) wherever it moves.
    bool SetItemData(int item, LPARAM data);
    LPARAM GetItemData(int item) const;
    // Puts the rows in the order of compare, which gets the numbers of two
    // rows and `data`, and answers as strcmp does.
    bool SortItems(PFNLVCOMPARE compare, LPARAM data);
    // The selected rows, top to bottom.
    std::vector<int> GetSelectedRows() const;

    // The sort mark of a column's heading (HDF_SORTUP, HDF_SORTDOWN or 0 for
    // none), drawn by the header; its text and format stay.
    bool SetSortMark(int column, int mark);
    int GetSortMark(int column) const;

    // LVS_EX_... bits. SetExtendedStyle replaces them all and gives the old.
    DWORD GetExtendedStyle() const;
    DWORD SetExtendedStyle(DWORD style);

    // The row's check box (with LVS_EX_CHECKBOXES).
    bool GetCheck(int item) const;
    bool SetCheck(int item, bool checked);

    // Drawing off while a long fill runs, and on again afterwards.
    void SetRedraw(bool redraw);
};
