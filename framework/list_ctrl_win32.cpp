#include "framework/list_ctrl_win32.h"

#include <algorithm>
#include <vector>

namespace {

// Reads a text that a message copies into a caller's buffer without telling
// its length first: `fetch` fills the buffer and gives the number of
// characters it copied. The buffer doubles until the text leaves room to
// spare.
template <class Fetch>
std::string text_of_any_length(Fetch fetch)
{
    std::vector<char> buffer(256);
    for (;;) {
        buffer[0] = '\0';
        size_t copied = fetch(buffer.data(), static_cast<int>(buffer.size()));
        size_t length = std::find(buffer.begin(), buffer.end(), '\0') - buffer.begin();
        if (std::max(copied, length) + 1 < buffer.size())
            return std::string(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace

bool CListCtrl::Create(DWORD style, const RECT& rect, HWND parent, UINT id)
{
    return CreateControl(WC_LISTVIEWA, style, rect, parent, id);
}

int CListCtrl::InsertColumn(int column, const std::string& heading, int format, int width)
{
    LVCOLUMNA lv{};
    lv.mask = LVCF_TEXT | LVCF_FMT | LVCF_SUBITEM;
    lv.fmt = format;
    lv.pszText = const_cast<char*>(heading.c_str());
    lv.iSubItem = column;
    if (width >= 0) {
        lv.mask |= LVCF_WIDTH;
        lv.cx = width;
    }
    return static_cast<int>(SendMessageA(hwnd_, LVM_INSERTCOLUMNA, column, reinterpret_cast<LPARAM>(&lv)));
}

bool CListCtrl::DeleteColumn(int column) { return SendMessageA(hwnd_, LVM_DELETECOLUMN, column, 0) != 0; }

int CListCtrl::GetColumnCount() const
{
    HWND header = reinterpret_cast<HWND>(SendMessageA(hwnd_, LVM_GETHEADER, 0, 0));
    if (!header)
        return 0;
    return static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
}

std::string CListCtrl::GetColumnText(int column) const
{
    return text_of_any_length([&](char* buffer, int size) -> size_t {
        LVCOLUMNA lv{};
        lv.mask = LVCF_TEXT;
        lv.pszText = buffer;
        lv.cchTextMax = size;
        SendMessageA(hwnd_, LVM_GETCOLUMNA, column, reinterpret_cast<LPARAM>(&lv));
        return 0;
    });
}

int CListCtrl::GetColumnWidth(int column) const
{
    return static_cast<int>(SendMessageA(hwnd_, LVM_GETCOLUMNWIDTH, column, 0));
}

bool CListCtrl::SetColumnWidth(int column, int width)
{
    return SendMessageA(hwnd_, LVM_SETCOLUMNWIDTH, column, MAKELPARAM(width, 0)) != 0;
}

int CListCtrl::InsertItem(int item, const std::string& text)
{
    LVITEMA lv{};
    lv.mask = LVIF_TEXT;
    lv.iItem = item;
    lv.pszText = const_cast<char*>(text.c_str());
    return static_cast<int>(SendMessageA(hwnd_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&lv)));
}

bool CListCtrl::SetItemText(int item, int sub_item, const std::string& text)
{
    LVITEMA lv{};
    lv.iSubItem = sub_item;
    lv.pszText = const_cast<char*>(text.c_str());
    return SendMessageA(hwnd_, LVM_SETITEMTEXTA, item, reinterpret_cast<LPARAM>(&lv)) != 0;
}

std::string CListCtrl::GetItemText(int item, int sub_item) const
{
    return text_of_any_length([&](char* buffer, int size) -> size_t {
        LVITEMA lv{};
        lv.iSubItem = sub_item;
        lv.pszText = buffer;
        lv.cchTextMax = size;
        return static_cast<size_t>(SendMessageA(hwnd_, LVM_GETITEMTEXTA, item, reinterpret_cast<LPARAM>(&lv)));
    });
}

int CListCtrl::GetItemCount() const { return static_cast<int>(SendMessageA(hwnd_, LVM_GETITEMCOUNT, 0, 0)); }

bool CListCtrl::DeleteAllItems() { return SendMessageA(hwnd_, LVM_DELETEALLITEMS, 0, 0) != 0; }

bool CListCtrl::SetItemData(int item, LPARAM data)
{
    LVITEMA lv{};
    lv.mask = LVIF_PARAM;
    lv.iItem = item;
    lv.lParam = data;
    return SendMessageA(hwnd_, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&lv)) != 0;
}

LPARAM CListCtrl::GetItemData(int item) const
{
    LVITEMA lv{};
    lv.mask = LVIF_PARAM;
    lv.iItem = item;
    if (!SendMessageA(hwnd_, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&lv)))
        return 0;
    return lv.lParam;
}

bool CListCtrl::SortItems(PFNLVCOMPARE compare, LPARAM data)
{
    return SendMessageA(hwnd_, LVM_SORTITEMS, static_cast<WPARAM>(data), reinterpret_cast<LPARAM>(compare)) != 0;
}

std::vector<int> CListCtrl::GetSelectedRows() const
{
    std::vector<int> rows;
    int row = -1;
    while ((row = static_cast<int>(SendMessageA(hwnd_, LVM_GETNEXTITEM, static_cast<WPARAM>(row),
                                                MAKELPARAM(LVNI_SELECTED, 0)))) >= 0)
        rows.push_back(row);
    return rows;
}

namespace {

constexpr int SORT_MARKS = HDF_SORTUP | HDF_SORTDOWN;

}  // namespace

bool CListCtrl::SetSortMark(int column, int mark)
{
    HWND header = reinterpret_cast<HWND>(SendMessageA(hwnd_, LVM_GETHEADER, 0, 0));
    if (!header)
        return false;
    HDITEMA item{};
    item.mask = HDI_FORMAT;
    if (!SendMessageA(header, HDM_GETITEMA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item)))
        return false;
    item.fmt = (item.fmt & ~SORT_MARKS) | (mark & SORT_MARKS);
    return SendMessageA(header, HDM_SETITEMA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item)) != 0;
}

int CListCtrl::GetSortMark(int column) const
{
    HWND header = reinterpret_cast<HWND>(SendMessageA(hwnd_, LVM_GETHEADER, 0, 0));
    HDITEMA item{};
    item.mask = HDI_FORMAT;
    if (!header ||
        !SendMessageA(header, HDM_GETITEMA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item)))
        return 0;
    return item.fmt & SORT_MARKS;
}

DWORD CListCtrl::GetExtendedStyle() const
{
    return static_cast<DWORD>(SendMessageA(hwnd_, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
}

DWORD CListCtrl::SetExtendedStyle(DWORD style)
{
    // A mask of 0 sets every bit as given.
    return static_cast<DWORD>(SendMessageA(hwnd_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, style));
}

bool CListCtrl::GetCheck(int item) const
{
    UINT state = static_cast<UINT>(SendMessageA(hwnd_, LVM_GETITEMSTATE, item, LVIS_STATEIMAGEMASK));
    // State image 1 is the empty box, 2 the ticked one.
    return (state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
}

bool CListCtrl::SetCheck(int item, bool checked)
{
    LVITEMA lv{};
    lv.stateMask = LVIS_STATEIMAGEMASK;
    lv.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    return SendMessageA(hwnd_, LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(&lv)) != 0;
}

void CListCtrl::SetRedraw(bool redraw) { SendMessageA(hwnd_, WM_SETREDRAW, redraw ? TRUE : FALSE, 0); }
