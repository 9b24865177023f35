// The main frame: menu, toolbar, status bar with the message pane and the
// list status pane, and a splitter with the tree view on the left and the
// overview view on the right. It is the switchboard of the numbered
// commands that the views, the reader's worker, the document and the idle
// pass send it.
#pragma once

#include "framework/framewnd_win32.h"
#include "framework/splitter_win32.h"
#include "framework/statusbar_win32.h"
#include "framework/toolbar_win32.h"

class mvwt;
class mhtm;

// The toolbar: the framework's, with log lines of its own.
class mtbr : public CToolBar {
public:
    mtbr();
    ~mtbr() override;
};

// The splitter: five-pixel bars and gaps, and a one-pixel sunken border
// around each pane.
class mspw : public CSplitterWnd {
public:
    mspw();
    ~mspw() override;
    void OnDrawSplitter(CDC* dc, ESplitType type, const RECT& rect) override;
};

class mwin : public CFrameWnd {
public:
    mwin();
    ~mwin() override;

    bool OnCreateClient(CREATESTRUCTA* create, CCreateContext* context) override;
    bool PreTranslateMessage(MSG* msg) override;

    // Bars, splitter and status panes laid out anew (the result list asks
    // for it with type 0 and sizes 0 after it rebuilt its columns).
    void OnSize(UINT type, int width, int height);
    // Commands ID_FILL_TREE to ID_SAVE_QUERIES, each to its handler below,
    // then the list status pane.
    void OnListCommand(UINT command);
    // Command ID_STATUS_TEXT: the list status pane.
    void OnStatusText();

    // The two panes, none while they do not exist.
    mvwt* TreeView() const;
    mhtm* OverviewView() const;
    mtbr& ToolBar() { return toolbar_; }

protected:
    const MessageMap& GetMessageMap() const override;
    int OnCreate(CREATESTRUCTA* create);
    // WM_GETMINMAXINFO: the frame is never sized below what keeps its bars
    // and panes usable.
    LRESULT OnGetMinMaxInfo(WPARAM wparam, LPARAM lparam);

private:
    // A command of the range with the two panes, which exist when it runs.
    using ListCommandHandler = void (mwin::*)(mvwt& tree, mhtm& overview);
    // The command's handler, none for a command without one.
    static ListCommandHandler ListCommandHandlerFor(UINT command);
    void OnFillTree(mvwt& tree, mhtm& overview);     // ID_FILL_TREE: the tree anew from the chain
    void OnFillResult(mvwt& tree, mhtm& overview);   // ID_FILL_RESULT: the reader's current list shown
    void OnShowReport(mvwt& tree, mhtm& overview);   // ID_SHOW_REPORT: the page at the shown list
    void OnReloadPage(mvwt& tree, mhtm& overview);   // ID_RELOAD_PAGE: the page reloaded
    void OnCheckMode(mvwt& tree, mhtm& overview);    // ID_CHECK_MODE: check-box mode on or off
    void OnSaveQueries(mvwt& tree, mhtm& overview);  // ID_SAVE_QUERIES: the document saves the queries

    // In this order: built first, destroyed last.
    mtbr toolbar_;
    CStatusBar status_bar_;
    mspw splitter_;
    bool client_made_ = false;
};

// The program's main frame, none without a window (the batch run).
mwin* main_frame();
