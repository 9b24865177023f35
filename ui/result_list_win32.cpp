// The result list's fills: attribute rows or a table from the shown list,
// the check-box form, and the check boxes copied back into the items.
#include "ui/result_list_win32.h"

#include "base/log.h"
#include "base/window_side.h"
#include "config/query_list.h"
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
