// The overview page view: the right pane. The report in the browser control
// at the top, the "List View" caption band, and the result list below it;
// in check-box mode the list takes the lower half.
#pragma once

#include "framework/html_view_win32.h"
#include "ui/result_list_win32.h"

class mhtm : public CHtmlView {
public:
    mhtm();
    ~mhtm() override;

    // Makes the result list's window (once) and writes the icon files.
    void OnInitialUpdate() override;
    // Lays out page, band and list, and draws the band.
    void OnDraw(CDC* dc) override;
    // The layout alone: the page above the split line, the band and the
    // list below it, the list's columns shared out.
    void Layout();
    // Shows the report at the shown list's anchor; with no list shown, first
    // reads every unread list and rewrites the report.
    void OnShow();
    // Reloads the page shown (after the report was rewritten).
    void Reload();

protected:
    const MessageMap& GetMessageMap() const override;
    void OnDestroy();
    // The base sizes the page to the whole view; the layout follows at once.
    void OnSize(UINT type, int width, int height);
    LRESULT OnEndLabelEdit(NMHDR* header);
    // A click on a heading of the result list sorts its rows by that column.
    LRESULT OnColumnClick(NMHDR* header);

private:
    mbox* list_ = nullptr;  // the window state's result list, made by this view
};
