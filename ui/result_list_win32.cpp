// The result list's fills: attribute rows or a table from the shown list,
// the check-box form, and the check boxes copied back into the items; the
// rows sorted by a clicked heading and copied to the clipboard.
#include "ui/result_list_win32.h"

#include "base/log.h"
#include "base/window_side.h"
#include "config/query_list.h"
#include "framework/clipboard_win32.h"
#include "framework/handlers_win32.h"
#include "inventory/inventory.h"
#include "res/resource.h"
#include "ui/frame_win32.h"

#include <string>
#include <vector>

namespace {

// Every column is made this wide; the overview view shares the width out
// among them when it is next painted.
constexpr int COLUMN_WIDTH = 100;

// Drawing off while the control is refilled, so a fill of many rows is not
// painted row by row; on again (and the control repainted) at the end.
class QuietFill {
public:
    explicit QuietFill(CListCtrl list) : list_(list) { list_.SetRedraw(false); }
    ~QuietFill()
    {
        list_.SetRedraw(true);
        if (HWND hwnd = list_.GetSafeHwnd())
            InvalidateRect(hwnd, nullptr, TRUE);
    }
    QuietFill(const QuietFill&) = delete;
    QuietFill& operator=(const QuietFill&) = delete;

private:
    CListCtrl list_;
};

void empty_control(CListCtrl& list)
{
    list.DeleteAllItems();
    while (list.DeleteColumn(0)) {
    }
}

// The frame lays out its bars and panes again after the columns changed.
// On purpose a direct call of its size handler with type 0 and sizes 0: that
// handler re-measures the status panes and reads no size of its arguments.
void relayout_frame()
{
    if (mwin* frame = main_frame())
        frame->OnSize(0, 0, 0);
}

void add_attribute_columns(CListCtrl& list)
{
    list.InsertColumn(0, "Attribute", LVCFMT_LEFT, COLUMN_WIDTH);
    list.InsertColumn(1, "Value", LVCFMT_LEFT, COLUMN_WIDTH);
}

// One column per item, headed by its name.
void fill_table(CListCtrl& list, QueryList& shown)
{
    for_each_column(shown, [&](QueryItem& item, int column) {
        list.InsertColumn(column, item.name.value_or(""), LVCFMT_LEFT, COLUMN_WIDTH);
    });
    relayout_frame();
    // Without a name on the first item the table keeps its headings only.
    if (!shown.first_item->name)
        return;
    for (int row = 0; row < shown.row_count; ++row) {
        list.InsertItem(row, "");
        for_each_column(shown, [&](QueryItem& item, int column) {
            if (item.valid)
                list.SetItemText(row, column, value_of_row(item, row));
        });
    }
}

// One row per named item: its name, and its first value when it has one.
void fill_attributes(CListCtrl& list, QueryList& shown)
{
    add_attribute_columns(list);
    relayout_frame();
    int row = 0;
    for_each_item(shown, [&](QueryItem& item) {
        if (!item.name)
            return;
        list.InsertItem(row, *item.name);
        if (item.valid)
            list.SetItemText(row, 1, value_of_row(item, 0));
        ++row;
    });
}

// Rows and items are paired by position: row i belongs to the list's i-th
// item, also when an item without a name has no row of its own. Rows past
// the end of the chain are left alone.
template <class F>
void for_each_row_item(CListCtrl& list, QueryList& shown, F f)
{
    QueryItem* item = shown.first_item.get();
    for (int row = 0; item && row < list.GetItemCount(); ++row, item = item->next.get())
        f(row, *item);
}

// Every row carries its place in the fill as its item data, wherever a sort
// moves it: the rows go back to the order of their fill by it.
void number_rows(CListCtrl& list)
{
    for (int row = 0; row < list.GetItemCount(); ++row)
        list.SetItemData(row, row);
}

// The rows' places in the fill, top to bottom; numbered anew, as they stand,
// when they are not every place from 0 once.
std::vector<size_t> fill_places(CListCtrl& list)
{
    const size_t count = static_cast<size_t>(list.GetItemCount());
    std::vector<size_t> places;
    std::vector<bool> seen(count, false);
    for (size_t row = 0; row < count; ++row) {
        const LPARAM place = list.GetItemData(static_cast<int>(row));
        if (place < 0 || static_cast<size_t>(place) >= count || seen[static_cast<size_t>(place)])
            break;
        seen[static_cast<size_t>(place)] = true;
        places.push_back(static_cast<size_t>(place));
    }
    if (places.size() != count) {
        number_rows(list);
        places.resize(count);
        for (size_t row = 0; row < count; ++row)
            places[row] = row;
    }
    return places;
}

// The control's sort: two rows by their places in the fill, each place's
// new position given by `ranks`.
int CALLBACK by_rank(LPARAM a, LPARAM b, LPARAM ranks)
{
    const std::vector<size_t>& rank = *reinterpret_cast<const std::vector<size_t>*>(ranks);
    const size_t x = rank[static_cast<size_t>(a)];
    const size_t y = rank[static_cast<size_t>(b)];
    return x < y ? -1 : (x > y ? 1 : 0);
}

int CALLBACK by_fill_place(LPARAM a, LPARAM b, LPARAM) { return a < b ? -1 : (a > b ? 1 : 0); }

// The overview page shows the report at the shown list's anchor.
void show_report()
{
    if (window_side().has_main_window())
        window_side().send_command(ID_SHOW_REPORT);
}

}  // namespace

mbox::mbox() { write_log("mbox::mbox () OK ...\n"); }

mbox::~mbox() { write_log("mbox::~mbox () OK ...\n"); }

void mbox::ShowList(QueryList* list)
{
    CListCtrl& view = *this;
    current_list = list;
    QuietFill quiet(view);
    // Every fill shows the rows in their own order again.
    sort.reset();
    empty_control(view);
    if (!list) {
        // The page then reads what is still unread and shows the report
        // from its top; the layout fields stay as they were.
        show_report();
        return;
    }
    inventory().write_report();
    converted_list = nullptr;
    if (list->row_count == 0 || !list->first_item)
        return;
    if (list->row_count >= 2) {
        table_layout = 1;
        column_count = static_cast<unsigned>(list->item_count);
        fill_table(view, *list);
    } else {
        table_layout = 0;
        column_count = 2;
        fill_attributes(view, *list);
    }
    number_rows(view);
    if (!list->pending)
        show_report();
    if (check_mode)
        ShowChecks();
}

void mbox::ShowChecks()
{
    if (!current_list || !current_list->first_item)
        return;
    CListCtrl& view = *this;
    QuietFill quiet(view);
    // The boxes pair with the items by position, and a table turns into the
    // values of its first record: the rows in the order of their fill first.
    Unsort();
    if (table_layout && converted_list != current_list) {
        // The table becomes one row per column: its heading and the value
        // of the first record.
        std::vector<std::string> names;
        std::vector<std::string> values;
        for (int column = 0; column < view.GetColumnCount(); ++column) {
            names.push_back(view.GetColumnText(column));
            values.push_back(view.GetItemText(0, column));
        }
        empty_control(view);
        column_count = 2;
        add_attribute_columns(view);
        relayout_frame();
        for (size_t i = 0; i < names.size(); ++i) {
            int row = static_cast<int>(i);
            view.InsertItem(row, names[i]);
            view.SetItemText(row, 1, values[i]);
        }
        number_rows(view);
        converted_list = current_list;
    }
    for_each_row_item(view, *current_list,
                      [&](int row, QueryItem& item) { view.SetCheck(row, item.checked != 0); });
}

void mbox::SetCheckBoxes(bool on)
{
    CListCtrl& view = *this;
    DWORD style = view.GetExtendedStyle();
    view.SetExtendedStyle(on ? style | LVS_EX_CHECKBOXES : style & ~static_cast<DWORD>(LVS_EX_CHECKBOXES));
}

void mbox::ForgetLists()
{
    current_list = nullptr;
    converted_list = nullptr;
}

bool mbox::Create(CWnd* parent, const RECT& rect)
{
    if (m_hWnd || !CListCtrl::Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_EDITLABELS, rect,
                                     parent ? parent->m_hWnd : nullptr, IDC_RESULT_LIST))
        return false;
    if (SubclassWindow(GetSafeHwnd()))
        return true;
    ::DestroyWindow(CListCtrl::Detach());
    return false;
}

void mbox::Release()
{
    UnsubclassWindow();
    CListCtrl::Detach();
}

void mbox::OnDestroy()
{
    // The control's own procedure ends its window; no call reaches it after.
    Default();
    CListCtrl::Detach();
}

const MessageMap& mbox::GetMessageMap() const
{
    static const MessageMap map(&(CWnd::GetMessageMap()), {
                                                              on_mouse(WM_LBUTTONUP, &mbox::OnLButtonUp),
                                                              on_destroy(&mbox::OnDestroy),
                                                          });
    return map;
}

void mbox::OnLButtonUp(UINT, POINT)
{
    // The control first: a click on a check box has toggled it.
    Default();
    QueryList* shown = current_list;
    if (!check_mode || !shown)
        return;
    CListCtrl& view = *this;
    for_each_row_item(view, *shown, [&](int row, QueryItem& item) {
        const int checked = view.GetCheck(row) ? 1 : 0;
        // Once a box was found ticked the list counts as chosen by hand,
        // even when every box is unticked later; so it does once a box was
        // unticked, also the box of a list's only item, which leaves none
        // ticked (the saved file follows the boxes in both cases).
        if (checked || checked != item.checked)
            shown->selection_made = 1;
        item.checked = checked;
    });
}

void mbox::SortByColumn(int column)
{
    CListCtrl& view = *this;
    if (check_mode || !view.GetSafeHwnd() || column < 0 || column >= view.GetColumnCount())
        return;
    const ListViewTable shown = ReadTable();
    const std::vector<size_t> places = fill_places(view);
    sort.click(column);
    const std::vector<size_t> order = sorted_row_order(shown.rows, static_cast<size_t>(column), sort.descending);
    // order[k] is the row now shown at that position that goes to position
    // k; the control's sort knows a row by its place in the fill only.
    std::vector<size_t> rank(places.size());
    for (size_t k = 0; k < order.size(); ++k)
        rank[places[order[k]]] = k;
    view.SortItems(by_rank, reinterpret_cast<LPARAM>(&rank));
    const int mark = sort.descending ? HDF_SORTDOWN : HDF_SORTUP;
    for (int c = 0; c < view.GetColumnCount(); ++c)
        view.SetSortMark(c, c == column ? mark : 0);
}

void mbox::Unsort()
{
    if (!sort.sorted())
        return;
    CListCtrl& view = *this;
    fill_places(view);
    view.SortItems(by_fill_place, 0);
    view.SetSortMark(sort.column, 0);
    sort.reset();
}

void mbox::CopyRows(bool selection)
{
    const CListCtrl& view = *this;
    if (!view.GetSafeHwnd())
        return;
    const ListViewTable copy = rows_to_copy(ReadTable(), selection ? view.GetSelectedRows() : std::vector<int>{});
    // Nothing shown, nothing copied: the clipboard keeps what it holds.
    if (copy.rows.empty())
        return;
    SetClipboardText(view.GetSafeHwnd(), clipboard_text(copy));
}

bool mbox::PreTranslateMessage(MSG* msg)
{
    // Only the control's own keys: Ctrl+C in a label being edited goes to
    // its edit box, and the page and the tree have theirs.
    if (msg->hwnd != m_hWnd || !is_copy_key(*msg))
        return false;
    CopyRows(true);
    return true;
}

ListViewTable mbox::ReadTable() const
{
    ListViewTable table;
    const CListCtrl& view = *this;
    const int columns = view.GetColumnCount();
    for (int column = 0; column < columns; ++column)
        table.headings.push_back(view.GetColumnText(column));
    for (int row = 0; row < view.GetItemCount(); ++row) {
        std::vector<std::string> cells;
        for (int column = 0; column < columns; ++column)
            cells.push_back(view.GetItemText(row, column));
        table.rows.push_back(std::move(cells));
    }
    return table;
}
