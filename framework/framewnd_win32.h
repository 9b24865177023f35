// The frame: the top-level window with menu, bars and one client window
// (the window with ID AFX_IDW_PANE_FIRST: a view or a splitter of views).
// It is the switchboard of the window's commands: a command goes to the
// active view, its document, the frame and the application in that order,
// and a command that none of them handles is shown disabled in the menu and
// on the toolbar.
#pragma once

#include "framework/view_win32.h"
#include "framework/framework_ids.h"

#include <string>
#include <vector>

class CControlBar;
class CDocTemplate;
class CStatusBar;

class CFrameWnd : public CWnd {
public:
    CFrameWnd() = default;
    ~CFrameWnd() override;

    // Makes the frame with the menu, icon and title string of the resource
    // ID (each may be missing); the context's view is made in
    // OnCreateClient. False when the window could not be made.
    bool LoadFrame(UINT resource_id, DWORD style = WS_OVERLAPPEDWINDOW, CWnd* parent = nullptr,
                   CCreateContext* context = nullptr);

    // Inside the create handler: makes the client window. The base makes
    // one view of the context's class (when it names one).
    virtual bool OnCreateClient(CREATESTRUCTA* create, CCreateContext* context);
    // The one layout step: top bars, bottom bars, the client between them.
    virtual void RecalcLayout();
    // The caption: "<document title> - <application title>", or the
    // application title alone without a document.
    virtual void OnUpdateFrameTitle();
    // Keys and other messages of the window thread before they are
    // dispatched: the base offers the message to the windows from its
    // target up to the frame (a view hosting a control forwards keys to it).
    bool PreTranslateMessage(MSG* msg) override;
    // Routing: active view, its document, the frame, the application.
    bool OnCmdMsg(unsigned id, bool run) override;

    // After the document was made or opened: every view's OnInitialUpdate,
    // the first view made active, the caption and the idle text.
    void InitialUpdateFrame(CDocument* document);

    CView* GetActiveView() const { return active_view_; }
    void SetActiveView(CView* view);
    // The document of the active view, else the document the frame was made for.
    CDocument* GetActiveDocument() const;
    const std::string& GetTitle() const { return app_title_; }
    void SetTitle(const std::string& title) { app_title_ = title; }

    // Bars register themselves when they are made.
    void AddControlBar(CControlBar* bar);
    void RemoveControlBar(CControlBar* bar);
    // The bar whose control ID is the ID, none when there is none.
    CControlBar* GetControlBar(UINT id) const;
    void ShowControlBar(CControlBar* bar, bool show);
    // ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR: shows or hides the bar whose
    // control ID is the command and puts the menu's check mark to match.
    void OnBarCheck(UINT id);

    // The message pane (the status bar's first pane when it is ID_SEPARATOR).
    void SetMessageText(const std::string& text);
    // What the message pane shows while no menu is open.
    static const char* idle_text() { return "Ready"; }

    // The idle pass: toolbar buttons enabled by whether their commands are handled.
    void UpdateCommandStates();

    // Shows the frame; a close that came while it was still hidden (being
    // made, a box of the start open) is carried out now, from the queue.
    void ShowFrame(int how);

protected:
    const MessageMap& GetMessageMap() const override;
    LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;
    int OnCreate(CREATESTRUCTA* create);
    void OnSize(UINT type, int width, int height);
    void OnClose();
    void OnDestroy();
    void OnSetFocus(HWND old);
    void OnInitMenuPopup(HMENU popup, UINT index, bool system);
    void OnMenuSelect(UINT item, UINT flags, HMENU menu);
    void OnExitMenuLoop();
    // TTN_GETDISPINFO of the toolbar's tool tips: the button's tip text.
    LRESULT OnToolTipText(NMHDR* header);
    void PostNcDestroy() override;

private:
    friend class CSingleDocTemplate;
    CStatusBar* FindStatusBar() const;
    void UpdateBarChecks(HMENU menu);

    std::string app_title_;
    HMENU menu_ = nullptr;                      // the loaded menu, destroyed with the window
    CCreateContext* create_context_ = nullptr;  // during the creation only
    CDocument* document_ = nullptr;
    CView* active_view_ = nullptr;
    std::vector<CControlBar*> bars_;
    CDocTemplate* doc_template_ = nullptr;  // told when the frame ends
    bool close_pending_ = false;            // a close came before the frame was shown
};
