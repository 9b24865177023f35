// A tree view control, reached through its window handle. The wrapper does
// not own the window: the control goes with its parent. Item texts are ANSI
// and of any length.
#pragma once

#include "base/windows_win32.h"
#include "framework/control_handle_win32.h"

#include <commctrl.h>

#include <string>

class CTreeCtrl : public ControlHandle {
public:
    explicit CTreeCtrl(HWND hwnd = nullptr) : ControlHandle(hwnd) {}

    // Creates the control window as a child of `parent` and wraps it.
    bool Create(DWORD style, const RECT& rect, HWND parent, UINT id);

    // A new item under `parent` (TVI_ROOT for the top level) after `after`
    // (TVI_LAST, TVI_FIRST or an item); none when it could not be inserted.
    HTREEITEM InsertItem(const std::string& text, int image, int selected_image, HTREEITEM parent = TVI_ROOT,
                         HTREEITEM after = TVI_LAST, LPARAM data = 0);
    bool DeleteAllItems();
    unsigned GetCount() const;

    LPARAM GetItemData(HTREEITEM item) const;
    bool SetItemData(HTREEITEM item, LPARAM data);
    std::string GetItemText(HTREEITEM item) const;
    // The item's image and selected image; false when there is no such item.
    bool GetItemImage(HTREEITEM item, int& image, int& selected_image) const;

    HTREEITEM GetRootItem() const;
    HTREEITEM GetChildItem(HTREEITEM item) const;
    HTREEITEM GetNextSiblingItem(HTREEITEM item) const;
    HTREEITEM GetSelectedItem() const;
    bool SelectItem(HTREEITEM item);
    // code: TVE_EXPAND, TVE_COLLAPSE or TVE_TOGGLE.
    bool Expand(HTREEITEM item, UINT code = TVE_EXPAND);
    bool IsExpanded(HTREEITEM item) const;
    // The item at a point of the control's client area, or none; `flags`
    // (may be none) tells which part of it was hit (TVHT_...).
    HTREEITEM HitTest(POINT point, UINT* flags = nullptr) const;
    // The item's rectangle in client coordinates, its text only or its whole
    // row; false when it is not visible.
    bool GetItemRect(HTREEITEM item, RECT& rect, bool text_only) const;

    // type: TVSIL_NORMAL or TVSIL_STATE. Gives the previous list.
    HIMAGELIST SetImageList(HIMAGELIST list, int type = TVSIL_NORMAL);
    HIMAGELIST GetImageList(int type = TVSIL_NORMAL) const;
};
