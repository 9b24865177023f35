// The tree view: the left pane. A caption band "Tree View" above the
// navigation tree, which shows the computer and, under it, one item per
// query list. Making the view reads the query file and fills the tree; a
// click on the tree reads or shows lists.
#pragma once

#include "framework/gdi_win32.h"
#include "framework/image_list_win32.h"
#include "framework/tree_ctrl_win32.h"
#include "framework/view_win32.h"
#include "ui/tree_control.h"

#include <memory>

// The tree control's window: a click reads what it selected, key releases
// are kept from the control.
class mtrc::Control : public CWnd {
public:
    Control() = default;
    ~Control() override;

    // The control as a child of parent with the tree's style and control ID.
    bool Create(CWnd* parent, const RECT& rect);
    CTreeCtrl& tree() { return tree_; }

    void OnLButtonDown(UINT flags, POINT point);
    void OnKeyUp(UINT key, UINT repeat, UINT flags);

protected:
    const MessageMap& GetMessageMap() const override;

private:
    CTreeCtrl tree_;
};

class mvwt : public CView {
public:
    mvwt();
    ~mvwt() override;

    // Rebuilds the items from the chain of query lists.
    void FillTree();
    void OnDraw(CDC* dc) override;

    // The image list of the program's icons: the tree uses images 0 to 2,
    // the report's icon files are drawn from the others.
    HIMAGELIST Images() const { return images_.GetSafeHandle(); }
    mtrc::Control* Tree() const { return control_.get(); }

protected:
    const MessageMap& GetMessageMap() const override;
    int OnCreate(CREATESTRUCTA* create);
    void OnDestroy();
    void OnSize(UINT type, int width, int height);

private:
    CImageList images_;
    CBitmap icon_strip_;
    std::unique_ptr<mtrc::Control> control_;
};

// The tree view's image list, none while there is no tree view.
HIMAGELIST tree_image_list();
