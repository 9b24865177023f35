// The result list's window: the report-style list control that the overview
// view makes as its child, and the handler of the button release that copies
// the check boxes back into the items.
#pragma once

#include "framework/list_ctrl_win32.h"
#include "framework/wnd_win32.h"
#include "output/list_view_export.h"
#include "ui/result_list.h"

class mbox::Control : public CWnd {
public:
    // The owner's control from here on, until this object ends.
    explicit Control(mbox& owner);
    ~Control() override;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    // The control as a child of parent (style WS_CHILD, WS_VISIBLE,
    // LVS_REPORT, LVS_EDITLABELS; control ID IDC_RESULT_LIST). False when it
    // could not be made.
    bool Create(CWnd* parent, const RECT& rect);
    // The list view, reached through its window (none once that is gone).
    CListCtrl list() const { return CListCtrl(m_hWnd); }

    // What the control shows: the headings of its columns and the texts of
    // its rows, for the list view export.
    ListViewTable ReadTable() const;

protected:
    const MessageMap& GetMessageMap() const override;
    void OnLButtonUp(UINT flags, POINT point);

private:
    mbox& owner_;
};
