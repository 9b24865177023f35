// The result list control: a report-style list view that shows one list's
// values as attribute rows or as a table, and in check-box mode one row per
// item with its check box; a button release copies the check boxes back
// into the items. A click on a column heading sorts the rows by that column
// (outside check-box mode), and Ctrl+C copies rows to the clipboard. The
// object lives as long as the program (in the window state); its window is
// made by the overview view and goes with it. Without a window every fill
// does nothing to the screen but still keeps its state.
#pragma once

#include "framework/list_ctrl_win32.h"
#include "framework/wnd_win32.h"
#include "output/list_view_export.h"
#include "output/row_sort.h"

struct QueryList;

class mbox : public CWnd, public CListCtrl {
public:
    mbox();
    ~mbox() override;

    // The control as a child of parent (style WS_CHILD, WS_VISIBLE,
    // LVS_REPORT, LVS_EDITLABELS; control ID IDC_RESULT_LIST). False when it
    // could not be made.
    bool Create(CWnd* parent, const RECT& rect);
    // The window goes on without this object: its messages no longer come
    // here, and the control calls reach no window until the next Create.
    void Release();

    // The list on show; none when the control is empty.
    QueryList* current_list = nullptr;
    // The list whose table ShowChecks last turned into attribute rows.
    QueryList* converted_list = nullptr;
    // Columns of the last fill: 2 for attribute rows, the list's item count
    // for a table.
    unsigned column_count = 0;
    int table_layout = 0;  // the last fill was a table
    int check_mode = 0;    // only the frame's check-mode command changes it

    // Fills the control from the list (none: empties it and shows the
    // report from its top). Rewrites the report first. Window thread only.
    void ShowList(QueryList* list);
    // Check-box form of the shown list: a table becomes attribute rows, and
    // every row's box follows its item's checked flag.
    void ShowChecks();
    // Shows or hides the check boxes (the LVS_EX_CHECKBOXES style), keeping
    // every other extended style bit.
    void SetCheckBoxes(bool on);
    // The shown list is no more (its chain is being freed): forget it.
    void ForgetLists();

    // What the control shows: the headings of its columns and the texts of
    // its rows, top to bottom as shown, for the list view export and the
    // clipboard.
    ListViewTable ReadTable() const;

    // The column the rows are sorted by; none after every fill, which shows
    // the rows in the order they were filled.
    ColumnSort sort;
    // A click on the column's heading: the rows sorted by its cells
    // (compare_cells), rows that sort alike kept in the order shown; a
    // second click on the same heading sorts the other way round. The
    // heading carries the sort mark. In check-box mode nothing happens: the
    // rows' boxes pair with the items by position.
    void SortByColumn(int column);
    // The headings line and the selected rows (with `selection` false, or
    // none selected: every row), as the list view export writes them, on the
    // clipboard. A control without rows leaves the clipboard as it was.
    void CopyRows(bool selection);
    // Ctrl+C with the focus in the control copies its selected rows, before
    // the page's control further up the chain of windows could take it.
    bool PreTranslateMessage(MSG* msg) override;

protected:
    const MessageMap& GetMessageMap() const override;
    void OnLButtonUp(UINT flags, POINT point);
    void OnDestroy();

private:
    // The rows back in the order of their fill, without sort marks.
    void Unsort();
};
