// The list control wrapper on a real report-style list view, read back
// through the control's own messages.
#include "framework/list_ctrl_win32.h"

#include "tests/support/parent_window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class ListCtrlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(parent.hwnd(), nullptr);
        ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_EDITLABELS, RECT{0, 0, 600, 300},
                                parent.hwnd(), 105));
    }

    ParentWindow parent{640, 320};
    CListCtrl list;
};

std::string text_of_length(size_t length)
{
    std::string text;
    for (size_t i = 0; i < length; ++i)
        text += static_cast<char>('a' + i % 26);
    return text;
}

TEST_F(ListCtrlTest, ColumnsKeepHeadingsWidthsAndOrder)
{
    EXPECT_EQ(list.GetColumnCount(), 0);
    EXPECT_EQ(list.InsertColumn(0, "Attribute", LVCFMT_LEFT, 100), 0);
    EXPECT_EQ(list.InsertColumn(1, "Value", LVCFMT_LEFT, 140), 1);
    EXPECT_EQ(list.InsertColumn(1, "Middle", LVCFMT_RIGHT, 60), 1);
    EXPECT_EQ(list.GetColumnCount(), 3);
    EXPECT_EQ(list.GetColumnText(0), "Attribute");
    EXPECT_EQ(list.GetColumnText(1), "Middle");
    EXPECT_EQ(list.GetColumnText(2), "Value");
    EXPECT_EQ(list.GetColumnWidth(0), 100);
    EXPECT_EQ(list.GetColumnWidth(1), 60);
    EXPECT_EQ(list.GetColumnWidth(2), 140);

    ASSERT_TRUE(list.SetColumnWidth(2, 401));
    EXPECT_EQ(list.GetColumnWidth(2), 401);

    // Emptied as the result list empties itself: column 0 again and again.
    while (list.DeleteColumn(0)) {
    }
    EXPECT_EQ(list.GetColumnCount(), 0);
}

TEST_F(ListCtrlTest, RowsHoldTheirCellTexts)
{
    list.InsertColumn(0, "Name", LVCFMT_LEFT, 100);
    list.InsertColumn(1, "Size", LVCFMT_LEFT, 100);
    list.InsertColumn(2, "Type", LVCFMT_LEFT, 100);
    for (int r = 0; r < 3; ++r) {
        ASSERT_EQ(list.InsertItem(r, ""), r);
        for (int c = 0; c < 3; ++c)
            ASSERT_TRUE(list.SetItemText(r, c, "r" + std::to_string(r) + "c" + std::to_string(c)));
    }
    EXPECT_EQ(list.GetItemCount(), 3);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(list.GetItemText(r, c), "r" + std::to_string(r) + "c" + std::to_string(c));

    // A row inserted in front moves the others down.
    ASSERT_EQ(list.InsertItem(0, "front"), 0);
    EXPECT_EQ(list.GetItemText(0, 0), "front");
    EXPECT_EQ(list.GetItemText(0, 1), "");
    EXPECT_EQ(list.GetItemText(1, 0), "r0c0");

    ASSERT_TRUE(list.DeleteAllItems());
    EXPECT_EQ(list.GetItemCount(), 0);
    EXPECT_EQ(list.GetColumnCount(), 3);
}

// Lengths on both sides of the reading buffer's first sizes, and long ones.
TEST_F(ListCtrlTest, TextsOfAnyLengthReadBackWhole)
{
    list.InsertColumn(0, "Attribute", LVCFMT_LEFT, 100);
    list.InsertColumn(1, "Value", LVCFMT_LEFT, 100);
    int row = 0;
    for (size_t length : {0u, 1u, 254u, 255u, 256u, 257u, 511u, 512u, 513u, 5000u, 70000u}) {
        std::string name = text_of_length(length);
        std::string value = "v" + name;
        ASSERT_EQ(list.InsertItem(row, name), row);
        ASSERT_TRUE(list.SetItemText(row, 1, value));
        EXPECT_EQ(list.GetItemText(row, 0), name) << "length " << length;
        EXPECT_EQ(list.GetItemText(row, 1), value) << "length " << length + 1;
        ++row;
    }
    for (size_t length : {255u, 256u, 5000u}) {
        std::string heading = text_of_length(length);
        int column = list.InsertColumn(2, heading);
        ASSERT_EQ(column, 2);
        EXPECT_EQ(list.GetColumnText(2), heading) << "length " << length;
        list.DeleteColumn(2);
    }
}

TEST_F(ListCtrlTest, CheckBoxesFollowTheRowsAndOtherStyleBitsStay)
{
    list.InsertColumn(0, "Attribute", LVCFMT_LEFT, 100);
    for (int r = 0; r < 4; ++r)
        list.InsertItem(r, "item" + std::to_string(r));

    list.SetExtendedStyle(list.GetExtendedStyle() | LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    DWORD base = list.GetExtendedStyle();
    EXPECT_EQ(base & (LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT), DWORD(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT));
    EXPECT_EQ(base & LVS_EX_CHECKBOXES, 0u);

    EXPECT_EQ(list.SetExtendedStyle(base | LVS_EX_CHECKBOXES), base);
    EXPECT_EQ(list.GetExtendedStyle(), base | LVS_EX_CHECKBOXES);

    for (int r = 0; r < 4; ++r)
        EXPECT_FALSE(list.GetCheck(r)) << r;
    ASSERT_TRUE(list.SetCheck(1, true));
    ASSERT_TRUE(list.SetCheck(3, true));
    EXPECT_FALSE(list.GetCheck(0));
    EXPECT_TRUE(list.GetCheck(1));
    EXPECT_FALSE(list.GetCheck(2));
    EXPECT_TRUE(list.GetCheck(3));
    ASSERT_TRUE(list.SetCheck(3, false));
    EXPECT_FALSE(list.GetCheck(3));
    EXPECT_TRUE(list.GetCheck(1));

    // Switching the boxes off leaves the other bits as they were.
    list.SetExtendedStyle(list.GetExtendedStyle() & ~DWORD(LVS_EX_CHECKBOXES));
    EXPECT_EQ(list.GetExtendedStyle(), base);
}

int CALLBACK by_data_descending(LPARAM a, LPARAM b, LPARAM) { return a > b ? -1 : (a < b ? 1 : 0); }

// A sort moves whole rows: their texts, their numbers, their selection.
TEST_F(ListCtrlTest, SortedRowsTakeTheirTextsNumbersAndSelectionAlong)
{
    list.InsertColumn(0, "Name", LVCFMT_LEFT, 100);
    list.InsertColumn(1, "Size", LVCFMT_LEFT, 100);
    const char* names[] = {"a", "b", "c", "d"};
    for (int r = 0; r < 4; ++r) {
        list.InsertItem(r, names[r]);
        list.SetItemText(r, 1, std::to_string(10 * r));
        ASSERT_TRUE(list.SetItemData(r, 100 + r));
    }
    EXPECT_EQ(list.GetItemData(2), 102);
    EXPECT_TRUE(list.GetSelectedRows().empty());
    ListView_SetItemState(list.GetSafeHwnd(), 1, LVIS_SELECTED, LVIS_SELECTED);
    ListView_SetItemState(list.GetSafeHwnd(), 2, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(list.GetSelectedRows(), (std::vector<int>{1, 2}));

    ASSERT_TRUE(list.SortItems(by_data_descending, 0));
    for (int r = 0; r < 4; ++r) {
        EXPECT_EQ(list.GetItemText(r, 0), names[3 - r]) << r;
        EXPECT_EQ(list.GetItemText(r, 1), std::to_string(10 * (3 - r))) << r;
        EXPECT_EQ(list.GetItemData(r), 103 - r) << r;
    }
    // "b" and "c" stay selected, now in rows 2 and 1.
    EXPECT_EQ(list.GetSelectedRows(), (std::vector<int>{1, 2}));
    ListView_SetItemState(list.GetSafeHwnd(), 1, 0, LVIS_SELECTED);
    EXPECT_EQ(list.GetSelectedRows(), (std::vector<int>{2}));
    EXPECT_EQ(list.GetItemText(2, 0), "b");
}

TEST_F(ListCtrlTest, SortMarksComeAndGoAndKeepTheHeadingsFormat)
{
    list.InsertColumn(0, "Name", LVCFMT_LEFT, 100);
    list.InsertColumn(1, "Size", LVCFMT_RIGHT, 100);
    EXPECT_EQ(list.GetSortMark(0), 0);
    ASSERT_TRUE(list.SetSortMark(1, HDF_SORTUP));
    EXPECT_EQ(list.GetSortMark(1), HDF_SORTUP);
    EXPECT_EQ(list.GetSortMark(0), 0);
    ASSERT_TRUE(list.SetSortMark(1, HDF_SORTDOWN));
    EXPECT_EQ(list.GetSortMark(1), HDF_SORTDOWN);
    // The heading's own format and text stay.
    HWND header = ListView_GetHeader(list.GetSafeHwnd());
    HDITEMA item{};
    item.mask = HDI_FORMAT;
    ASSERT_TRUE(SendMessageA(header, HDM_GETITEMA, 1, reinterpret_cast<LPARAM>(&item)));
    EXPECT_EQ(item.fmt & HDF_JUSTIFYMASK, HDF_RIGHT);
    EXPECT_EQ(list.GetColumnText(1), "Size");
    ASSERT_TRUE(list.SetSortMark(1, 0));
    EXPECT_EQ(list.GetSortMark(1), 0);
    // A column that is not there.
    EXPECT_FALSE(list.SetSortMark(5, HDF_SORTUP));
    EXPECT_EQ(list.GetSortMark(5), 0);
}

// Drawing off: rows come in without asking for a paint; drawing on again
// paints the list once. Update regions exist only in a shown window.
TEST(ListCtrlPaint, AFillWithDrawingOffAsksForNoPaintUntilDrawingIsOn)
{
    ParentWindow shown(640, 320, true);
    CListCtrl list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, RECT{0, 0, 600, 300}, shown.hwnd(), 105));
    list.InsertColumn(0, "Value", LVCFMT_LEFT, 100);
    RECT dirty;

    UpdateWindow(list.GetSafeHwnd());
    ASSERT_FALSE(GetUpdateRect(list.GetSafeHwnd(), &dirty, FALSE));
    list.InsertItem(0, "with drawing on");
    EXPECT_TRUE(GetUpdateRect(list.GetSafeHwnd(), &dirty, FALSE));

    UpdateWindow(list.GetSafeHwnd());
    list.SetRedraw(false);
    for (int r = 1; r <= 1000; ++r)
        list.InsertItem(r, std::to_string(r));
    EXPECT_FALSE(GetUpdateRect(list.GetSafeHwnd(), &dirty, FALSE));
    list.SetRedraw(true);
    EXPECT_TRUE(GetUpdateRect(list.GetSafeHwnd(), &dirty, FALSE));
    EXPECT_EQ(list.GetItemCount(), 1001);
    EXPECT_EQ(list.GetItemText(1000, 0), "1000");
}

}  // namespace
