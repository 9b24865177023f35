// The result list control: one list's values as attribute rows or as a
// table, and in check-box mode one row per item with its check box. The
// object lives with the application object; its window is made by the
// overview view, which owns the window's wrapper (mbox::Control).
#pragma once

struct QueryList;

class mbox {
public:
    mbox();
    ~mbox();
    mbox(const mbox&) = delete;
    mbox& operator=(const mbox&) = delete;

    // The control's window and its message handlers (result_list_win32.h);
    // none while the overview view has not made it.
    class Control;
    Control* control = nullptr;

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
};
