// The navigation tree control: a tree view control whose left clicks read or
// show the lists they select, and whose key releases are kept from the
// control. Ctrl+C in the tree copies the list the result list shows. The
// object lives as long as the program (in the window state); its window is
// made by the tree view and goes with it.
#pragma once

#include "framework/tree_ctrl_win32.h"
#include "framework/wnd_win32.h"

class mtrc : public CWnd, public CTreeCtrl {
public:
    mtrc();
    ~mtrc() override;

    // The control as a child of parent with the tree's style and control ID.
    // False when it could not be made.
    bool Create(CWnd* parent, const RECT& rect);
    // The window goes on without this object: its messages no longer come
    // here, and the control calls reach no window until the next Create.
    void Release();

    void OnLButtonDown(UINT flags, POINT point);
    void OnKeyUp(UINT key, UINT repeat, UINT flags);
    // Ctrl+C with the focus in the tree: every row of the result list on
    // the clipboard (its selection is not on show while the tree has the
    // focus, so the shown list is copied whole).
    bool PreTranslateMessage(MSG* msg) override;

protected:
    const MessageMap& GetMessageMap() const override;
    void OnDestroy();
};
