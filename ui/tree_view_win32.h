// The tree view: the left pane. A caption band "Tree View" above the
// navigation tree, which shows the computer and, under it, one item per
// query list. Making the view reads the query file and fills the tree; a
// click on the tree reads or shows lists.
#pragma once

#include "framework/gdi_win32.h"
#include "framework/image_list_win32.h"
#include "framework/tree_ctrl_win32.h"
#include "framework/view_win32.h"
#include "ui/tree_control_win32.h"

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
    // The tree control while this view has its window, none otherwise.
    mtrc* Tree() const { return tree_; }

protected:
    const MessageMap& GetMessageMap() const override;
    int OnCreate(CREATESTRUCTA* create);
    void OnDestroy();
    void OnSize(UINT type, int width, int height);

private:
    CImageList images_;
    mtrc* tree_ = nullptr;  // the window state's, made by this view
};

// The tree view's image list, none while there is no tree view.
HIMAGELIST tree_image_list();
