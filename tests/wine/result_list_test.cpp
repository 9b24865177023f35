// The result list on a real list view: the attribute and table layouts, the
// check-box form, the boxes copied back into the items, the rows sorted by a
// heading, Ctrl+C, and the list view export of what the control shows.
// Everything is read back through the control's own messages.
#include "ui/result_list_win32.h"

#include "res/resource.h"
#include "tests/support/chain_builder.h"
#include "tests/support/clipboard_win32.h"
#include "tests/support/list_view_contents_win32.h"
#include "tests/support/parent_window.h"
#include "tests/support/recording_window_side.h"
#include "tests/support/test_app_win32.h"

#include <gtest/gtest.h>

#include <cctype>
#include <initializer_list>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace {

using Rows = std::vector<std::vector<std::string>>;

class ResultListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(parent.hwnd(), nullptr);
        parent_wnd.Attach(parent.hwnd());
        ASSERT_TRUE(box().Create(&parent_wnd, RECT{0, 0, 600, 300}));
        list = box().m_hWnd;
        ASSERT_EQ(box().GetSafeHwnd(), list);
        ASSERT_EQ(GetDlgCtrlID(list), IDC_RESULT_LIST);
    }

    mbox& box() { return app.window().result_list; }
    ListViewContents shown() const { return list_view_contents(list); }
    // What the frame's check-mode command does to the list.
    void set_check_mode(bool on)
    {
        box().check_mode = on ? 1 : 0;
        box().SetCheckBoxes(on);
        if (on)
            box().ShowChecks();
    }
    void click_up() { SendMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(5, 5)); }

    // One record of five items; the third has no valid value.
    QueryList& one_record()
    {
        QueryList& l = add_list(chain, "Win32_Bios", 2, 1, 5);
        add_item(l, "Manufacturer", {"Vendaril"});
        add_item(l, "Name", {"Default System BIOS"});
        add_item(l, "SerialNumber", {"stale"}).valid = 0;
        add_item(l, "SMBIOSBIOSVersion", {"1.0"});
        add_item(l, "Version", {"BOCHS  - 1"});
        return l;
    }
    // Three records of four items; the third item has no valid values.
    QueryList& three_records()
    {
        QueryList& l = add_list(chain, "Win32_LogicalDisk", 7, 3, 4);
        add_item(l, "DeviceID", {"C:", "D:", "E:"});
        add_item(l, "FileSystem", {"NTFS", "FAT32", "CDFS"});
        add_item(l, "VolumeName", {"a", "b", "c"}).valid = 0;
        add_item(l, "Size", {"100", "200", "300"});
        return l;
    }

    // Four records: names, and sizes whose order as numbers is not their
    // order as texts ("10" < "100" < "9").
    QueryList& sizes()
    {
        QueryList& l = add_list(chain, "Sizes", 9, 4, 2);
        add_item(l, "Entry", {"delta", "Alpha", "charlie", "bravo"});
        add_item(l, "Size", {"100", "9", "10", "9"});
        return l;
    }
    // The sort marks of the headings, left to right.
    std::vector<int> marks()
    {
        std::vector<int> seen;
        for (int c = 0; c < box().GetColumnCount(); ++c)
            seen.push_back(box().GetSortMark(c));
        return seen;
    }
    // Ctrl+C (or another key) as the message loop hands it to the
    // pre-translation chain: true when the control took it.
    bool key_down(WPARAM key, const std::vector<int>& held = {VK_CONTROL}, HWND to = nullptr)
    {
        HeldKeys keys(held);
        MSG msg{to ? to : list, WM_KEYDOWN, key, 1, 0, {0, 0}};
        return box().PreTranslateMessage(&msg);
    }
    void select_rows(std::initializer_list<int> rows)
    {
        for (int row : rows)
            ListView_SetItemState(list, row, LVIS_SELECTED, LVIS_SELECTED);
    }

    TestApp app;
    RecordingWindowSide side{true};
    ParentWindow parent{640, 320};
    CWnd parent_wnd;
    std::unique_ptr<QueryList> chain;
    HWND list = nullptr;
};

const Rows ONE_RECORD_ROWS = {
    {"Manufacturer", "Vendaril"}, {"Name", "Default System BIOS"}, {"SerialNumber", ""},
    {"SMBIOSBIOSVersion", "1.0"}, {"Version", "BOCHS  - 1"},
};
const std::vector<std::string> TABLE_HEADINGS = {"DeviceID", "FileSystem", "VolumeName", "Size"};
const Rows TABLE_ROWS = {{"C:", "NTFS", "", "100"}, {"D:", "FAT32", "", "200"}, {"E:", "CDFS", "", "300"}};
// The table in check-box form: each item with its value of the first record.
const Rows TABLE_AS_ATTRIBUTES = {{"DeviceID", "C:"}, {"FileSystem", "NTFS"}, {"VolumeName", ""}, {"Size", "100"}};

TEST_F(ResultListTest, OneRecordShowsAttributeRows)
{
    QueryList& bios = one_record();
    box().ShowList(&bios);

    ListViewContents seen = shown();
    EXPECT_EQ(seen.headings, (std::vector<std::string>{"Attribute", "Value"}));
    EXPECT_EQ(seen.widths, (std::vector<int>{100, 100}));
    EXPECT_EQ(seen.rows, ONE_RECORD_ROWS);
    EXPECT_EQ(box().current_list, &bios);
    EXPECT_EQ(box().column_count, 2u);
    EXPECT_EQ(box().table_layout, 0);
    // The report was rewritten, then the page asked to show it.
    EXPECT_NE(app.log().find("mapp::OnSWMI () OK ...\n"), std::string::npos);
    EXPECT_EQ(side.sent_commands(), (std::vector<int>{ID_SHOW_REPORT}));
}

TEST_F(ResultListTest, ItemsWithoutANameHaveNoAttributeRow)
{
    QueryList& l = add_list(chain, "Win32_Processor", 3, 1, 3);
    add_item(l, "Name", {"CPU"});
    add_item(l, nullptr, {"hidden"});
    add_item(l, "Caption", {"x86"});
    box().ShowList(&l);
    EXPECT_EQ(shown().rows, (Rows{{"Name", "CPU"}, {"Caption", "x86"}}));
}

TEST_F(ResultListTest, SeveralRecordsShowATable)
{
    QueryList& disks = three_records();
    box().ShowList(&disks);

    ListViewContents seen = shown();
    EXPECT_EQ(seen.headings, TABLE_HEADINGS);
    EXPECT_EQ(seen.widths, (std::vector<int>{100, 100, 100, 100}));
    EXPECT_EQ(seen.rows, TABLE_ROWS);
    EXPECT_EQ(box().column_count, 4u);
    EXPECT_EQ(box().table_layout, 1);
    EXPECT_EQ(side.sent_commands(), (std::vector<int>{ID_SHOW_REPORT}));
}

TEST_F(ResultListTest, TableWhoseFirstItemHasNoNameKeepsItsHeadingsOnly)
{
    QueryList& l = add_list(chain, "Win32_DiskDrive", 6, 2, 2);
    add_item(l, nullptr, {"a", "b"});
    add_item(l, "Model", {"Disk 1", "Disk 2"});
    box().ShowList(&l);
    ListViewContents seen = shown();
    EXPECT_EQ(seen.headings, (std::vector<std::string>{"", "Model"}));
    EXPECT_TRUE(seen.rows.empty());
}

TEST_F(ResultListTest, AListStillBeingReadDoesNotMoveThePage)
{
    QueryList& disks = three_records();
    disks.pending = 1;
    box().ShowList(&disks);
    EXPECT_EQ(shown().rows, TABLE_ROWS);
    EXPECT_TRUE(side.sent_commands().empty());
}

TEST_F(ResultListTest, NoListEmptiesTheControlAndShowsTheReportFromTheTop)
{
    QueryList& disks = three_records();
    box().ShowList(&disks);
    box().ShowList(nullptr);

    ListViewContents seen = shown();
    EXPECT_TRUE(seen.headings.empty());
    EXPECT_TRUE(seen.rows.empty());
    EXPECT_EQ(box().current_list, nullptr);
    // The layout of the last fill is kept.
    EXPECT_EQ(box().column_count, 4u);
    EXPECT_EQ(box().table_layout, 1);
    EXPECT_EQ(side.sent_commands(), (std::vector<int>{ID_SHOW_REPORT, ID_SHOW_REPORT}));
}

// The object outlives its window: once the window has ended, no call
// reaches the old handle, a fill keeps its state, and a new window can be
// made for the same object.
TEST_F(ResultListTest, AnEndedWindowLeavesTheObjectReadyForANewOne)
{
    EXPECT_FALSE(box().Create(&parent_wnd, RECT{0, 0, 600, 300})) << "a second window while the first lives";
    DestroyWindow(list);
    EXPECT_EQ(box().m_hWnd, nullptr);
    EXPECT_EQ(box().GetSafeHwnd(), nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(list), nullptr);

    QueryList& bios = one_record();
    box().ShowList(&bios);
    EXPECT_EQ(box().current_list, &bios);
    EXPECT_TRUE(box().ReadTable().headings.empty()) << "no window, nothing shown";

    ASSERT_TRUE(box().Create(&parent_wnd, RECT{0, 0, 600, 300}));
    list = box().m_hWnd;
    box().ShowList(&bios);
    EXPECT_EQ(shown().rows, ONE_RECORD_ROWS);
}

TEST_F(ResultListTest, AListWithoutRowsOrItemsLeavesTheControlEmpty)
{
    QueryList& disks = three_records();
    QueryList& nothing_found = add_list(chain, "Win32_CDROMDrive", 8, 0, 2);
    add_item(nothing_found, "Drive", {});
    QueryList& no_items = add_list(chain, "Win32_SoundDevice", 9, 1, 0);
    for (QueryList* empty : {&nothing_found, &no_items}) {
        SCOPED_TRACE(*empty->name);
        box().ShowList(&disks);
        box().ShowList(empty);
        ListViewContents seen = shown();
        EXPECT_TRUE(seen.headings.empty());
        EXPECT_TRUE(seen.rows.empty());
        EXPECT_EQ(box().current_list, empty);
        EXPECT_EQ(box().column_count, 4u);
    }
    // Only the two table fills asked for the page.
    EXPECT_EQ(side.sent_commands(), (std::vector<int>{ID_SHOW_REPORT, ID_SHOW_REPORT}));
}

TEST_F(ResultListTest, CheckBoxesComeAndGoWithoutTouchingTheOtherStyles)
{
    const DWORD others = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT;
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, others);
    box().SetCheckBoxes(true);
    EXPECT_EQ(SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0),
              static_cast<LRESULT>(others | LVS_EX_CHECKBOXES));
    box().SetCheckBoxes(false);
    EXPECT_EQ(SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0), static_cast<LRESULT>(others));
}

TEST_F(ResultListTest, CheckModeTurnsATableIntoAttributeRowsWithTheItemsBoxes)
{
    QueryList& disks = three_records();
    const int checked[] = {1, 0, 1, 0};
    int i = 0;
    for_each_item(disks, [&](QueryItem& item) { item.checked = checked[i++]; });
    const std::vector<bool> boxes = {true, false, true, false};

    // Switched on while the table is shown.
    box().ShowList(&disks);
    set_check_mode(true);
    ListViewContents seen = shown();
    EXPECT_EQ(seen.headings, (std::vector<std::string>{"Attribute", "Value"}));
    EXPECT_EQ(seen.rows, TABLE_AS_ATTRIBUTES);
    EXPECT_EQ(seen.checked, boxes);
    EXPECT_EQ(box().converted_list, &disks);
    EXPECT_EQ(box().column_count, 2u);
    EXPECT_EQ(box().table_layout, 1);

    // Shown again in check-box mode: the same rows, not the table.
    box().ShowList(&disks);
    seen = shown();
    EXPECT_EQ(seen.rows, TABLE_AS_ATTRIBUTES);
    EXPECT_EQ(seen.checked, boxes);
}

TEST_F(ResultListTest, CheckModeOffAndOnAgainKeepsTheConvertedRowsAndResetsTheBoxes)
{
    QueryList& disks = three_records();
    box().ShowList(&disks);
    set_check_mode(true);
    set_check_mode(false);
    EXPECT_EQ(shown().rows, TABLE_AS_ATTRIBUTES);

    const int checked[] = {0, 1, 0, 1};
    int i = 0;
    for_each_item(disks, [&](QueryItem& item) { item.checked = checked[i++]; });
    set_check_mode(true);
    // Converting a second time would read the rows "Attribute" and "Value".
    ListViewContents seen = shown();
    EXPECT_EQ(seen.rows, TABLE_AS_ATTRIBUTES);
    EXPECT_EQ(seen.checked, (std::vector<bool>{false, true, false, true}));
}

TEST_F(ResultListTest, ConvertedRowsKeepLongHeadingsWhole)
{
    const std::string long_name(300, 'n');
    QueryList& l = add_list(chain, "Win32_Product", 16, 2, 2);
    add_item(l, long_name.c_str(), {"1", "2"});
    add_item(l, "Version", {"3", "4"});
    box().ShowList(&l);
    set_check_mode(true);
    EXPECT_EQ(shown().rows, (Rows{{long_name, "1"}, {"Version", "3"}}));
}

TEST_F(ResultListTest, ButtonReleaseCopiesTheBoxesIntoTheItems)
{
    QueryList& bios = one_record();
    for_each_item(bios, [](QueryItem& item) { item.checked = 0; });
    set_check_mode(true);
    box().ShowList(&bios);
    ASSERT_EQ(shown().checked, std::vector<bool>(5, false));

    set_row_check(list, 1, true);
    set_row_check(list, 3, true);
    click_up();
    std::vector<int> flags;
    for_each_item(bios, [&](QueryItem& item) { flags.push_back(item.checked); });
    EXPECT_EQ(flags, (std::vector<int>{0, 1, 0, 1, 0}));
    EXPECT_EQ(bios.selection_made, 1);

    // Unticking every box unchecks the items; the list stays chosen by hand.
    set_row_check(list, 1, false);
    set_row_check(list, 3, false);
    click_up();
    flags.clear();
    for_each_item(bios, [&](QueryItem& item) { flags.push_back(item.checked); });
    EXPECT_EQ(flags, std::vector<int>(5, 0));
    EXPECT_EQ(bios.selection_made, 1);
}

TEST_F(ResultListTest, ButtonReleaseOutsideCheckModeChangesNoItem)
{
    QueryList& bios = one_record();
    box().ShowList(&bios);
    set_row_check(list, 0, false);
    set_row_check(list, 2, false);
    click_up();
    int checked = 0;
    for_each_item(bios, [&](QueryItem& item) { checked += item.checked; });
    EXPECT_EQ(checked, 5);
    EXPECT_EQ(bios.selection_made, 0);
}

TEST_F(ResultListTest, AClickOnABoxTicksItAndChecksItsItem)
{
    QueryList& bios = one_record();
    for_each_item(bios, [](QueryItem& item) { item.checked = 0; });
    set_check_mode(true);
    box().ShowList(&bios);

    // The point of row 2's check box, as the control's hit test finds it.
    RECT bounds{};
    bounds.left = LVIR_BOUNDS;
    ASSERT_TRUE(SendMessageA(list, LVM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&bounds)));
    LVHITTESTINFO hit{};
    bool found = false;
    for (int x = bounds.left; x < bounds.left + 40 && !found; ++x) {
        hit.pt = POINT{x, (bounds.top + bounds.bottom) / 2};
        found = SendMessageA(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)) == 2 &&
                (hit.flags & LVHT_ONITEMSTATEICON);
    }
    ASSERT_TRUE(found);
    SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(hit.pt.x, hit.pt.y));
    SendMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(hit.pt.x, hit.pt.y));

    EXPECT_EQ(shown().checked, (std::vector<bool>{false, false, true, false, false}));
    std::vector<int> flags;
    for_each_item(bios, [&](QueryItem& item) { flags.push_back(item.checked); });
    EXPECT_EQ(flags, (std::vector<int>{0, 0, 1, 0, 0}));
    EXPECT_EQ(bios.selection_made, 1);
}

TEST_F(ResultListTest, ForgettingTheListsLeavesNoPointerBehind)
{
    QueryList& disks = three_records();
    box().ShowList(&disks);
    set_check_mode(true);
    box().ForgetLists();
    EXPECT_EQ(box().current_list, nullptr);
    EXPECT_EQ(box().converted_list, nullptr);
    // A release now touches no item.
    click_up();
    EXPECT_EQ(disks.selection_made, 0);
}

// The list view export of what the control shows: the headings line, then a
// line per row; an empty control gives an empty file.
TEST_F(ResultListTest, ExportWritesWhatTheControlShows)
{
    QueryList& bios = one_record();
    bios.first_item->values[0] = "Ven\tdaril";
    QueryList& disks = three_records();
    struct Case {
        const char* what;
        QueryList* list;
        std::string file;
    };
    const Case cases[] = {
        {"attribute rows", &bios,
         "Attribute\tValue\nManufacturer\tVen daril\nName\tDefault System BIOS\nSerialNumber\t\n"
         "SMBIOSBIOSVersion\t1.0\nVersion\tBOCHS  - 1\n"},
        {"table", &disks,
         "DeviceID\tFileSystem\tVolumeName\tSize\nC:\tNTFS\t\t100\nD:\tFAT32\t\t200\nE:\tCDFS\t\t300\n"},
        {"empty", nullptr, ""},
    };
    const std::string path = app.path("list.txt");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        box().ShowList(c.list);
        ASSERT_TRUE(write_list_view(path, box().ReadTable()));
        EXPECT_EQ(read_file_bytes(path), crlf(c.file));
    }
}

const Rows SIZES_ROWS = {{"delta", "100"}, {"Alpha", "9"}, {"charlie", "10"}, {"bravo", "9"}};
const Rows BY_SIZE = {{"Alpha", "9"}, {"bravo", "9"}, {"charlie", "10"}, {"delta", "100"}};
const Rows BY_SIZE_DOWN = {{"delta", "100"}, {"charlie", "10"}, {"Alpha", "9"}, {"bravo", "9"}};
const Rows BY_ENTRY = {{"Alpha", "9"}, {"bravo", "9"}, {"charlie", "10"}, {"delta", "100"}};
const Rows BY_ENTRY_DOWN = {{"delta", "100"}, {"charlie", "10"}, {"bravo", "9"}, {"Alpha", "9"}};

struct SortCase {
    const char* what;
    std::vector<int> clicks;  // the headings clicked, in turn
    Rows rows;
    std::vector<int> marks;
};
void PrintTo(const SortCase& c, std::ostream* out) { *out << c.what; }

class ResultListSort : public ResultListTest, public ::testing::WithParamInterface<SortCase> {};

TEST_P(ResultListSort, HeadingClicksSortTheRows)
{
    const SortCase& c = GetParam();
    QueryList& l = sizes();
    box().ShowList(&l);
    ASSERT_EQ(shown().rows, SIZES_ROWS);
    for (int column : c.clicks)
        box().SortByColumn(column);
    EXPECT_EQ(shown().rows, c.rows);
    EXPECT_EQ(marks(), c.marks);
    // What the export reads is what is shown.
    EXPECT_EQ(box().ReadTable().rows, c.rows);
}

INSTANTIATE_TEST_SUITE_P(
    Clicks, ResultListSort,
    ::testing::Values(SortCase{"none", {}, SIZES_ROWS, {0, 0}},
                      // 9 before 10 before 100; the two 9s in the order shown.
                      SortCase{"size", {1}, BY_SIZE, {0, HDF_SORTUP}},
                      SortCase{"size twice", {1, 1}, BY_SIZE_DOWN, {0, HDF_SORTDOWN}},
                      SortCase{"size three times", {1, 1, 1}, BY_SIZE, {0, HDF_SORTUP}},
                      SortCase{"entry", {0}, BY_ENTRY, {HDF_SORTUP, 0}},
                      SortCase{"entry twice", {0, 0}, BY_ENTRY_DOWN, {HDF_SORTDOWN, 0}},
                      // Another heading after a reversal sorts ascending.
                      SortCase{"entry after size twice", {1, 1, 0}, BY_ENTRY, {HDF_SORTUP, 0}},
                      SortCase{"a heading that is not there", {2}, SIZES_ROWS, {0, 0}},
                      SortCase{"a negative heading", {-1}, SIZES_ROWS, {0, 0}}),
    [](const ::testing::TestParamInfo<SortCase>& info) {
        std::string name;
        for (const char* p = info.param.what; *p; ++p)
            name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
        return name;
    });

TEST_F(ResultListTest, SortedRowsKeepTheirSelectionAndTheExportWritesThemAsShown)
{
    QueryList& l = sizes();
    box().ShowList(&l);
    select_rows({0});  // delta
    box().SortByColumn(1);
    EXPECT_EQ(box().GetSelectedRows(), (std::vector<int>{3}));
    const std::string path = app.path("sorted.txt");
    ASSERT_TRUE(write_list_view(path, box().ReadTable()));
    EXPECT_EQ(read_file_bytes(path), crlf("Entry\tSize\nAlpha\t9\nbravo\t9\ncharlie\t10\ndelta\t100\n"));
}

TEST_F(ResultListTest, EveryFillShowsTheRowsInTheirFillOrderAgain)
{
    QueryList& l = sizes();
    QueryList& bios = one_record();
    box().ShowList(&l);
    box().SortByColumn(1);
    box().SortByColumn(1);
    ASSERT_EQ(shown().rows, BY_SIZE_DOWN);

    // The same list shown again.
    box().ShowList(&l);
    EXPECT_EQ(shown().rows, SIZES_ROWS);
    EXPECT_EQ(marks(), (std::vector<int>{0, 0}));
    EXPECT_FALSE(box().sort.sorted());
    // Its first click sorts ascending, not the other way round.
    box().SortByColumn(1);
    EXPECT_EQ(shown().rows, BY_SIZE);

    // Another list and back.
    box().ShowList(&bios);
    EXPECT_EQ(shown().rows, ONE_RECORD_ROWS);
    box().SortByColumn(0);
    box().ShowList(nullptr);
    box().ShowList(&l);
    EXPECT_EQ(shown().rows, SIZES_ROWS);
    EXPECT_EQ(marks(), (std::vector<int>{0, 0}));
}

TEST_F(ResultListTest, InCheckModeAHeadingClickLeavesTheRowsAndTheirBoxes)
{
    QueryList& bios = one_record();
    const int checked[] = {1, 0, 1, 0, 1};
    int i = 0;
    for_each_item(bios, [&](QueryItem& item) { item.checked = checked[i++]; });
    const std::vector<bool> boxes = {true, false, true, false, true};
    set_check_mode(true);
    box().ShowList(&bios);
    box().SortByColumn(0);
    box().SortByColumn(0);
    box().SortByColumn(1);
    ListViewContents seen = shown();
    EXPECT_EQ(seen.rows, ONE_RECORD_ROWS);
    EXPECT_EQ(seen.checked, boxes);
    EXPECT_EQ(marks(), (std::vector<int>{0, 0}));
    // The boxes still pair with their own items.
    click_up();
    std::vector<int> flags;
    for_each_item(bios, [&](QueryItem& item) { flags.push_back(item.checked); });
    EXPECT_EQ(flags, (std::vector<int>{1, 0, 1, 0, 1}));
    EXPECT_EQ(bios.selection_made, 1);
}

TEST_F(ResultListTest, CheckModeAfterASortPutsTheRowsBackBeforeTheBoxesFollowTheItems)
{
    QueryList& bios = one_record();
    const int checked[] = {1, 1, 0, 0, 1};
    int i = 0;
    for_each_item(bios, [&](QueryItem& item) { item.checked = checked[i++]; });
    box().ShowList(&bios);
    box().SortByColumn(0);
    box().SortByColumn(0);
    ASSERT_NE(shown().rows, ONE_RECORD_ROWS);

    set_check_mode(true);
    ListViewContents seen = shown();
    EXPECT_EQ(seen.rows, ONE_RECORD_ROWS);
    EXPECT_EQ(seen.checked, (std::vector<bool>{true, true, false, false, true}));
    EXPECT_EQ(marks(), (std::vector<int>{0, 0}));
    EXPECT_FALSE(box().sort.sorted());
    // Ticking row 3 ticks SMBIOSBIOSVersion, the fourth item.
    set_row_check(list, 3, true);
    click_up();
    std::vector<int> flags;
    for_each_item(bios, [&](QueryItem& item) { flags.push_back(item.checked); });
    EXPECT_EQ(flags, (std::vector<int>{1, 1, 0, 1, 1}));
}

TEST_F(ResultListTest, ASortedTableInCheckModeShowsTheValuesOfItsFirstRecord)
{
    QueryList& l = sizes();
    box().ShowList(&l);
    box().SortByColumn(0);
    ASSERT_EQ(shown().rows.front(), (std::vector<std::string>{"Alpha", "9"}));
    set_check_mode(true);
    EXPECT_EQ(shown().rows, (Rows{{"Entry", "delta"}, {"Size", "100"}}));
}

struct CopyCase {
    const char* what;
    std::vector<int> clicks;  // headings clicked before the copy
    std::vector<int> selected;
    std::string text;  // on the clipboard
};
void PrintTo(const CopyCase& c, std::ostream* out) { *out << c.what; }

class ResultListCopy : public ResultListTest, public ::testing::WithParamInterface<CopyCase> {};

TEST_P(ResultListCopy, CtrlCPutsTheHeadingsAndRowsOnTheClipboard)
{
    const CopyCase& c = GetParam();
    QueryList& l = sizes();
    box().ShowList(&l);
    for (int column : c.clicks)
        box().SortByColumn(column);
    for (int row : c.selected)
        select_rows({row});
    ASSERT_TRUE(put_clipboard_text("before"));
    EXPECT_TRUE(key_down('C'));
    const ClipboardText ansi = clipboard_text_of(CF_TEXT);
    const ClipboardText wide = clipboard_text_of(CF_UNICODETEXT);
    EXPECT_TRUE(ansi.held);
    EXPECT_EQ(ansi.text, c.text);
    EXPECT_TRUE(wide.held);
    EXPECT_EQ(wide.text, c.text);
    if (c.selected.empty()) {
        // Every row: byte for byte the list view export.
        const std::string path = app.path("export.txt");
        ASSERT_TRUE(write_list_view(path, box().ReadTable()));
        EXPECT_EQ(read_file_bytes(path), ansi.text);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Copies, ResultListCopy,
    ::testing::Values(
        CopyCase{"every row", {}, {}, "Entry\tSize\r\ndelta\t100\r\nAlpha\t9\r\ncharlie\t10\r\nbravo\t9\r\n"},
        CopyCase{"every row sorted",
                 {1},
                 {},
                 "Entry\tSize\r\nAlpha\t9\r\nbravo\t9\r\ncharlie\t10\r\ndelta\t100\r\n"},
        CopyCase{"one selected", {}, {2}, "Entry\tSize\r\ncharlie\t10\r\n"},
        // Selected rows in the order shown after the sort.
        CopyCase{"two selected sorted down", {1, 1}, {3, 0}, "Entry\tSize\r\ndelta\t100\r\nbravo\t9\r\n"}),
    [](const ::testing::TestParamInfo<CopyCase>& info) {
        std::string name;
        for (const char* p = info.param.what; *p; ++p)
            name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
        return name;
    });

TEST_F(ResultListTest, OnlyCtrlCInTheControlCopies)
{
    QueryList& l = sizes();
    box().ShowList(&l);
    struct KeyCase {
        const char* what;
        WPARAM key;
        std::vector<int> held;
        HWND to;
    };
    const KeyCase others[] = {
        {"C alone", 'C', {}, nullptr},
        {"Ctrl+Alt+C", 'C', {VK_CONTROL, VK_MENU}, nullptr},
        {"Ctrl+X", 'X', {VK_CONTROL}, nullptr},
        {"Ctrl+C to another window", 'C', {VK_CONTROL}, parent.hwnd()},
    };
    ASSERT_TRUE(put_clipboard_text("before"));
    for (const KeyCase& c : others) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(key_down(c.key, c.held, c.to));
        EXPECT_EQ(clipboard_text_of(CF_TEXT).text, "before");
    }
    // A key release is no copy either.
    {
        HeldKeys ctrl({VK_CONTROL});
        MSG up{list, WM_KEYUP, 'C', 1, 0, {0, 0}};
        EXPECT_FALSE(box().PreTranslateMessage(&up));
    }
    EXPECT_EQ(clipboard_text_of(CF_TEXT).text, "before");
    EXPECT_TRUE(key_down('C', {VK_CONTROL, VK_SHIFT}));
    EXPECT_EQ(clipboard_text_of(CF_TEXT).text.substr(0, 12), "Entry\tSize\r\n");
}

TEST_F(ResultListTest, NoRowsNoCopyTheClipboardKeepsItsText)
{
    QueryList& headings_only = add_list(chain, "Win32_DiskDrive", 6, 2, 2);
    add_item(headings_only, nullptr, {"a", "b"});
    add_item(headings_only, "Model", {"Disk 1", "Disk 2"});
    QueryList* cases[] = {nullptr, &headings_only};
    for (QueryList* shown_list : cases) {
        box().ShowList(shown_list);
        ASSERT_TRUE(put_clipboard_text("before"));
        EXPECT_TRUE(key_down('C'));
        EXPECT_EQ(clipboard_text_of(CF_TEXT).text, "before");
    }
}

}  // namespace
