#include "framework/tree_ctrl_win32.h"

#include <algorithm>
#include <cstring>
#include <vector>

bool CTreeCtrl::Create(DWORD style, const RECT& rect, HWND parent, UINT id)
{
    return CreateControl(WC_TREEVIEWA, style, rect, parent, id);
}

HTREEITEM CTreeCtrl::InsertItem(const std::string& text, int image, int selected_image, HTREEITEM parent,
                                HTREEITEM after, LPARAM data)
{
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    insert.item.pszText = const_cast<char*>(text.c_str());
    insert.item.iImage = image;
    insert.item.iSelectedImage = selected_image;
    insert.item.lParam = data;
    return reinterpret_cast<HTREEITEM>(SendMessageA(hwnd_, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

bool CTreeCtrl::DeleteAllItems()
{
    return SendMessageA(hwnd_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT)) != 0;
}

unsigned CTreeCtrl::GetCount() const { return static_cast<unsigned>(SendMessageA(hwnd_, TVM_GETCOUNT, 0, 0)); }

LPARAM CTreeCtrl::GetItemData(HTREEITEM item) const
{
    TVITEMA tv{};
    tv.mask = TVIF_PARAM;
    tv.hItem = item;
    if (!SendMessageA(hwnd_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv)))
        return 0;
    return tv.lParam;
}

bool CTreeCtrl::SetItemData(HTREEITEM item, LPARAM data)
{
    TVITEMA tv{};
    tv.mask = TVIF_PARAM;
    tv.hItem = item;
    tv.lParam = data;
    return SendMessageA(hwnd_, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&tv)) != 0;
}

// The control tells no text length: the buffer doubles until the text it
// gives back leaves room to spare. The control may also point pszText at a
// text of its own instead of filling the buffer.
std::string CTreeCtrl::GetItemText(HTREEITEM item) const
{
    std::vector<char> buffer(256);
    for (;;) {
        TVITEMA tv{};
        tv.mask = TVIF_TEXT;
        tv.hItem = item;
        tv.pszText = buffer.data();
        tv.cchTextMax = static_cast<int>(buffer.size());
        buffer[0] = '\0';
        if (!SendMessageA(hwnd_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv)) || !tv.pszText)
            return std::string();
        if (tv.pszText != buffer.data())
            return std::string(tv.pszText);
        size_t length = std::find(buffer.begin(), buffer.end(), '\0') - buffer.begin();
        if (length + 1 < buffer.size())
            return std::string(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

bool CTreeCtrl::GetItemImage(HTREEITEM item, int& image, int& selected_image) const
{
    TVITEMA tv{};
    tv.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    tv.hItem = item;
    if (!SendMessageA(hwnd_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv)))
        return false;
    image = tv.iImage;
    selected_image = tv.iSelectedImage;
    return true;
}

HTREEITEM CTreeCtrl::GetRootItem() const
{
    return reinterpret_cast<HTREEITEM>(SendMessageA(hwnd_, TVM_GETNEXTITEM, TVGN_ROOT, 0));
}

HTREEITEM CTreeCtrl::GetChildItem(HTREEITEM item) const
{
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(hwnd_, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
}

HTREEITEM CTreeCtrl::GetNextSiblingItem(HTREEITEM item) const
{
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(hwnd_, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)));
}

HTREEITEM CTreeCtrl::GetSelectedItem() const
{
    return reinterpret_cast<HTREEITEM>(SendMessageA(hwnd_, TVM_GETNEXTITEM, TVGN_CARET, 0));
}

bool CTreeCtrl::SelectItem(HTREEITEM item)
{
    return SendMessageA(hwnd_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item)) != 0;
}

bool CTreeCtrl::Expand(HTREEITEM item, UINT code)
{
    return SendMessageA(hwnd_, TVM_EXPAND, code, reinterpret_cast<LPARAM>(item)) != 0;
}

bool CTreeCtrl::IsExpanded(HTREEITEM item) const
{
    UINT state = static_cast<UINT>(
        SendMessageA(hwnd_, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED));
    return (state & TVIS_EXPANDED) != 0;
}

HTREEITEM CTreeCtrl::HitTest(POINT point, UINT* flags) const
{
    TVHITTESTINFO hit{};
    hit.pt = point;
    HTREEITEM item = reinterpret_cast<HTREEITEM>(
        SendMessageA(hwnd_, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (flags)
        *flags = hit.flags;
    return item;
}

bool CTreeCtrl::GetItemRect(HTREEITEM item, RECT& rect, bool text_only) const
{
    // The message takes the item in the rectangle's place.
    std::memcpy(&rect, &item, sizeof item);
    return SendMessageA(hwnd_, TVM_GETITEMRECT, text_only ? TRUE : FALSE, reinterpret_cast<LPARAM>(&rect)) != 0;
}

HIMAGELIST CTreeCtrl::SetImageList(HIMAGELIST list, int type)
{
    return reinterpret_cast<HIMAGELIST>(
        SendMessageA(hwnd_, TVM_SETIMAGELIST, type, reinterpret_cast<LPARAM>(list)));
}

HIMAGELIST CTreeCtrl::GetImageList(int type) const
{
    return reinterpret_cast<HIMAGELIST>(SendMessageA(hwnd_, TVM_GETIMAGELIST, type, 0));
}
