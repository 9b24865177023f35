// The program's frame and tree view in this process, started as the program
// starts them and driven by their messages: the frame's commands, the keys
// the frame watches for, clicks on the tree's items and on the result
// list's headings, and Ctrl+C where the focus is. The query file
// beside the test program names two registry lists under a scratch key of
// the current user and one WMI list; the key goes with the test.
#include "app/application_win32.h"
#include "base/ascii_case.h"
#include "base/registry.h"
#include "framework/doctemplate_win32.h"
#include "framework/document_win32.h"
#include "res/resource.h"
#include "tests/support/browser_address.h"
#include "tests/support/chain_builder.h"
#include "tests/support/clipboard_win32.h"
#include "tests/support/list_view_contents_win32.h"
#include "tests/support/program_window_win32.h"
#include "tests/support/registry_fixture.h"
#include "tests/support/test_app_win32.h"
#include "tests/support/window_helpers_win32.h"
#include "ui/document_win32.h"
#include "ui/frame_win32.h"
#include "ui/overview_view_win32.h"
#include "ui/tree_view_win32.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace {

const char* const COMPUTER_NAME_KEY = "SOFTWARE\\Classes\\CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}";

std::string sz(const std::string& text) { return text + '\0'; }

using Rows = std::vector<std::vector<std::string>>;

// The commands that reach the frame by its queue while a hook is set.
class PostedCommands {
public:
    PostedCommands()
    {
        current() = this;
        hook_ = SetWindowsHookExA(WH_GETMESSAGE, &PostedCommands::seen, nullptr, GetCurrentThreadId());
    }
    ~PostedCommands()
    {
        UnhookWindowsHookEx(hook_);
        current() = nullptr;
    }
    PostedCommands(const PostedCommands&) = delete;
    PostedCommands& operator=(const PostedCommands&) = delete;

    std::vector<UINT> commands;

private:
    static PostedCommands*& current()
    {
        static PostedCommands* self = nullptr;
        return self;
    }
    static LRESULT CALLBACK seen(int code, WPARAM removed, LPARAM lparam)
    {
        const MSG* msg = reinterpret_cast<const MSG*>(lparam);
        if (code == HC_ACTION && removed == PM_REMOVE && current() && msg->message == WM_COMMAND &&
            msg->hwnd == frame_window())
            current()->commands.push_back(LOWORD(msg->wParam));
        return CallNextHookEx(nullptr, code, removed, lparam);
    }
    HHOOK hook_ = nullptr;
};

class ProgramWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(scratch.put(TestHive::user, "plain", "colour", REGTYPE_SZ, sz("blue")));
        ASSERT_TRUE(scratch.put(TestHive::user, "plain", "size", REGTYPE_SZ, sz("7")));
        ASSERT_TRUE(scratch.put(TestHive::user, "apps\\alpha", "DisplayName", REGTYPE_SZ, sz("Alpha")));
        ASSERT_TRUE(scratch.put(TestHive::user, "apps\\beta", "DisplayName", REGTYPE_SZ, sz("Beta")));
        query_file = a().cfg_path;
        write_file_bytes(query_file,
                         crlf("<config>\n"
                              "  <list>\n     <typ>REG</typ>\n     <path>HKCU</path>\n"
                              "     <name>" +
                              plain_name() +
                              "</name>\n"
                              "     <item>\n        <name>colour</name>\n     </item>\n"
                              "     <item>\n        <name>size</name>\n     </item>\n  </list>\n"
                              "  <list>\n     <typ>REG</typ>\n     <cmd>EnumKey</cmd>\n     <path>HKCU</path>\n"
                              "     <name>" +
                              apps_name() +
                              "</name>\n"
                              "     <item>\n        <name>Entry</name>\n     </item>\n"
                              "     <item>\n        <name>DisplayName</name>\n     </item>\n  </list>\n"
                              "  <list>\n     <typ>WMI</typ>\n     <path>root\\CIMV2</path>\n"
                              "     <name>Win32_Bios</name>\n"
                              "     <item>\n        <name>Manufacturer</name>\n     </item>\n"
                              "     <item>\n        <name>Version</name>\n     </item>\n  </list>\n"
                              "</config>\n"));
        ASSERT_TRUE(start_window(app.app()));
        run();
        ASSERT_NE(tree_window(), nullptr);
        ASSERT_NE(list_window(), nullptr);
    }

    void TearDown() override
    {
        a().wmi.collect();
        EXPECT_TRUE(close_program_window(app.app()));
        std::remove(query_file.c_str());
    }

    Inventory& a() { return app.inventory(); }
    mbox& results() { return app.window().result_list; }
    HWND list_window() { return results().m_hWnd; }
    mhtm& overview() { return *main_frame()->OverviewView(); }
    std::string plain_name() const { return scratch.path("plain"); }
    std::string apps_name() const { return scratch.path("apps"); }

    void run() { run_program_queue(app.app()); }
    template <typename Done>
    bool run_until(Done done, int milliseconds = 30000)
    {
        return run_program_queue_until(app.app(), done, milliseconds);
    }
    void send(UINT command) { SendMessageA(frame_window(), WM_COMMAND, command, 0); }

    QueryList* list_named(const std::string& name)
    {
        QueryList* found = nullptr;
        for_each_list(a().first_list.get(), [&](QueryList& list) {
            if (!found && list.name && *list.name == name)
                found = &list;
        });
        return found;
    }

    // The chain read from the query file goes; the test builds its own.
    void replace_chain()
    {
        a().wmi.wait_for_read();
        a().wmi.cur_list = nullptr;
        results().ForgetLists();
        free_lists(a().first_list);
    }

    // A read list of one record and two items, the second unticked.
    QueryList& shown_list(const char* name, int id)
    {
        QueryList& list = add_list(a().first_list, name, id, 1, 2);
        add_item(list, "Caption", {"first"});
        add_item(list, "Speed", {"fast"}).checked = 0;
        return list;
    }

    int count_in_log(const std::string& text)
    {
        const std::string log = app.log();
        int count = 0;
        for (size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1))
            ++count;
        return count;
    }

    // The list of subkeys shown (its first click reads it, the second shows
    // it): the rows alpha and beta.
    void show_apps()
    {
        HTREEITEM item = find_tree_item(tree_window(), apps_name());
        ASSERT_NE(item, nullptr);
        click_tree_item(tree_window(), item);
        run();
        click_tree_item(tree_window(), item);
        run();
        ASSERT_EQ(results().current_list, list_named(apps_name()));
    }
    // A click on the heading of the column, as the mouse gives it to the
    // list's header control.
    void click_heading(int column)
    {
        HWND header = ListView_GetHeader(list_window());
        RECT r{};
        ASSERT_TRUE(Header_GetItemRect(header, column, &r));
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(header, WM_LBUTTONUP, 0, at);
        run();
    }

    ScratchKey scratch;
    TestApp app;
    std::string query_file;
};

TEST_F(ProgramWindow, StartedTheTreeShowsTheComputerAndTheQueryFilesLists)
{
    HWND tree = tree_window();
    std::vector<TreeItemSeen> seen;
    for (HTREEITEM item : tree_items(tree))
        seen.push_back(tree_item(tree, item));
    const std::string computer = read_rstring("HKLM", COMPUTER_NAME_KEY, nullptr).value_or("");
    ASSERT_FALSE(computer.empty());
    EXPECT_EQ(seen,
              (std::vector<TreeItemSeen>{{computer, 0}, {plain_name(), 2}, {apps_name(), 2}, {"Win32_Bios", 1}}));
}

TEST_F(ProgramWindow, FillTreeCommandBuildsTheItemsAnewFromTheChain)
{
    replace_chain();
    add_list(a().first_list, "Alpha", 1, 0, 0, true, false);
    add_list(a().first_list, "Beta", 2, 0, 0, false, true);
    add_list(a().first_list, "Mixed", 3, 0, 0, true, true);
    add_list(a().first_list, nullptr, 4, 0, 0, true, false);
    send(ID_FILL_TREE);

    HWND tree = tree_window();
    std::vector<TreeItemSeen> seen;
    for (HTREEITEM item : tree_items(tree))
        seen.push_back(tree_item(tree, item));
    ASSERT_EQ(seen.size(), 5u);
    EXPECT_EQ(seen[0].image, 0);
    EXPECT_EQ(std::vector<TreeItemSeen>(seen.begin() + 1, seen.end()),
              (std::vector<TreeItemSeen>{{"Alpha", 1}, {"Beta", 2}, {"Mixed", 1}, {"Mixed", 2}}));
}

TEST_F(ProgramWindow, FillResultCommandShowsTheReadersCurrentList)
{
    replace_chain();
    QueryList& list = shown_list("Shown", 9);
    a().wmi.cur_list = &list;
    send(ID_FILL_RESULT);

    EXPECT_EQ(results().current_list, &list);
    ListViewContents seen = list_view_contents(list_window());
    EXPECT_EQ(seen.headings, (std::vector<std::string>{"Attribute", "Value"}));
    EXPECT_EQ(seen.rows, (Rows{{"Caption", "first"}, {"Speed", "fast"}}));
    EXPECT_EQ(status_pane_text(1), " List: Shown, ID: 009, Items: 002");
}

TEST_F(ProgramWindow, ShowReportCommandNavigatesToTheShownListsAnchor)
{
    replace_chain();
    QueryList& list = shown_list("Shown", 7);
    results().current_list = &list;
    send(ID_SHOW_REPORT);

    mhtm& page = overview();
    EXPECT_TRUE(run_until([&] { return address_of(page.GetLocationURL()).anchor == "007"; }, 5000))
        << page.GetLocationURL();
    EXPECT_EQ(address_of(page.GetLocationURL()).path, ascii_lower(a().gui.htm_path));
    EXPECT_EQ(count_in_log("mhtm::OnShow " + a().gui.htm_path + "\n"), 1);
    if (const char* computer = std::getenv("ComputerName")) {
        EXPECT_EQ(page.GetDocument()->GetTitle(), computer);
    }
}

TEST_F(ProgramWindow, ReloadPageCommandNeitherNavigatesNorRewritesTheReport)
{
    replace_chain();
    QueryList& list = shown_list("Shown", 7);
    results().current_list = &list;
    send(ID_SHOW_REPORT);
    run();
    const int shown = count_in_log("mhtm::OnShow ");
    std::remove(a().gui.htm_path.c_str());

    send(ID_RELOAD_PAGE);
    run();
    EXPECT_EQ(count_in_log("mhtm::OnShow "), shown);
    EXPECT_EQ(read_file_bytes(a().gui.htm_path), "");
    EXPECT_EQ(address_of(overview().GetLocationURL()).anchor, "007");
    EXPECT_EQ(status_pane_text(1), " List: Shown, ID: 007, Items: 002");
}

TEST_F(ProgramWindow, CheckModeCommandSwitchesTheModeWithButtonMenuAndBoxes)
{
    replace_chain();
    QueryList& list = shown_list("Shown", 9);
    results().ShowList(&list);
    run();
    HWND toolbar = GetDlgItem(frame_window(), AFX_IDW_TOOLBAR);
    ASSERT_NE(toolbar, nullptr);
    HMENU menu = GetMenu(frame_window());
    ASSERT_NE(menu, nullptr);

    for (bool on : {true, false}) {
        SCOPED_TRACE(on ? "switched on" : "switched off");
        send(ID_CHECK_MODE);
        EXPECT_EQ(results().check_mode != 0, on);
        EXPECT_EQ(SendMessageA(toolbar, TB_ISBUTTONCHECKED, ID_CHECK_MODE, 0) != 0, on);
        EXPECT_EQ((ListView_GetExtendedListViewStyle(list_window()) & LVS_EX_CHECKBOXES) != 0, on);
        EXPECT_EQ((GetMenuState(menu, ID_CHECK_MODE, MF_BYCOMMAND) & MF_CHECKED) != 0, on);
        if (on) {
            EXPECT_EQ(list_view_contents(list_window()).checked, (std::vector<bool>{true, false}));
        }
    }
    EXPECT_EQ(ListView_GetExtendedListViewStyle(list_window()) & (LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT),
              static_cast<DWORD>(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT));
}

TEST_F(ProgramWindow, SaveQueriesCommandWritesTheChainWhereTheDialogSays)
{
    const std::string chosen = app.path("Saved.XML");
    DialogCloser closer([&](HWND dialog) {
        if (closer.runs > 1) {
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            return;
        }
        // The name field: a combo box in the new dialog, an edit in the old.
        SetDlgItemTextA(dialog, 0x47c, chosen.c_str());
        SetDlgItemTextA(dialog, 0x480, chosen.c_str());
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    send(ID_SAVE_QUERIES);

    EXPECT_EQ(closer.runs, 1);
    const std::string saved = read_file_bytes(app.path("saved.xml"));
    EXPECT_NE(saved.find("     <name>" + plain_name() + "</name>\r\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("     <cmd>EnumKey</cmd>\r\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("     <name>Win32_Bios</name>\r\n"), std::string::npos) << saved;
}

struct StatusCase {
    const char* what;
    bool reading;      // the reader's list is busy
    bool reader_list;  // the reader has a current list
    bool shown;        // the result list shows a list
    const char* text;
};
void PrintTo(const StatusCase& c, std::ostream* out) { *out << c.what; }

class ProgramWindowStatus : public ProgramWindow, public ::testing::WithParamInterface<StatusCase> {};

TEST_P(ProgramWindowStatus, StatusTextCommandNamesTheListBeingReadOrShown)
{
    const StatusCase& c = GetParam();
    replace_chain();
    QueryList& reading = add_list(a().first_list, "Reading", 2, 0, 0);
    QueryList& shown = shown_list("Shown", 12);
    reading.busy = c.reading ? 1 : 0;
    a().wmi.cur_list = c.reader_list ? &reading : nullptr;
    results().current_list = c.shown ? &shown : nullptr;
    send(ID_STATUS_TEXT);
    EXPECT_EQ(status_pane_text(1), c.text);
    reading.busy = 0;
    a().wmi.cur_list = nullptr;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProgramWindowStatus,
    ::testing::Values(StatusCase{"nothing", false, false, false, ""},
                      StatusCase{"shown", false, false, true, " List: Shown, ID: 012, Items: 002"},
                      StatusCase{"reading wins", true, true, true, " List: Reading reading ..."},
                      StatusCase{"reading alone", true, true, false, " List: Reading reading ..."},
                      StatusCase{"read, not busy", false, true, true, " List: Shown, ID: 012, Items: 002"}),
    [](const ::testing::TestParamInfo<StatusCase>& info) {
        std::string name;
        for (const char* p = info.param.what; *p; ++p)
            name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
        return name;
    });

struct KeyCase {
    const char* what;
    WPARAM key;
    std::vector<UINT> posted;  // the commands the frame gets by its queue
    bool report_written;
    bool check_mode;
};
void PrintTo(const KeyCase& c, std::ostream* out) { *out << c.what; }

class ProgramWindowKeys : public ProgramWindow, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(ProgramWindowKeys, AKeyInTheTreeReachesTheFrameFirst)
{
    const KeyCase& c = GetParam();
    std::remove(a().gui.htm_path.c_str());
    PostedCommands posted;
    SetFocus(tree_window());
    PostMessageA(tree_window(), WM_KEYDOWN, c.key, 1);
    run();
    EXPECT_EQ(posted.commands, c.posted);
    EXPECT_EQ(!read_file_bytes(a().gui.htm_path).empty(), c.report_written);
    EXPECT_EQ(results().check_mode != 0, c.check_mode);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ProgramWindowKeys,
    ::testing::Values(KeyCase{"F5", VK_F5, {ID_RELOAD_PAGE}, false, false},
                      KeyCase{"Enter", VK_RETURN, {ID_CHECK_MODE, ID_RELOAD_PAGE}, true, true},
                      KeyCase{"Down", VK_DOWN, {}, false, false}),
    [](const ::testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.what); });

TEST_F(ProgramWindow, HeadingClicksSortTheShownListTheCheckModeCommandPutsItBack)
{
    show_apps();
    const Rows natural = {{"alpha", "Alpha"}, {"beta", "Beta"}};
    const Rows reversed = {{"beta", "Beta"}, {"alpha", "Alpha"}};
    click_heading(1);
    EXPECT_EQ(list_view_contents(list_window()).rows, natural);
    EXPECT_EQ(results().GetSortMark(1), HDF_SORTUP);
    click_heading(1);
    EXPECT_EQ(list_view_contents(list_window()).rows, reversed);
    EXPECT_EQ(results().GetSortMark(1), HDF_SORTDOWN);
    click_heading(0);
    EXPECT_EQ(list_view_contents(list_window()).rows, natural);
    click_heading(0);
    EXPECT_EQ(list_view_contents(list_window()).rows, reversed);

    // Check-box mode: the table's first record, and heading clicks change
    // nothing.
    send(ID_CHECK_MODE);
    run();
    const Rows first_record = {{"Entry", "alpha"}, {"DisplayName", "Alpha"}};
    EXPECT_EQ(list_view_contents(list_window()).rows, first_record);
    click_heading(0);
    click_heading(0);
    EXPECT_EQ(list_view_contents(list_window()).rows, first_record);
    EXPECT_EQ(results().GetSortMark(0), 0);
    send(ID_CHECK_MODE);
    run();
}

struct CopyKeyCase {
    const char* what;
    enum Focus { result_list, tree, page } focus;
    std::string clipboard;
};
void PrintTo(const CopyKeyCase& c, std::ostream* out) { *out << c.what; }

class ProgramWindowCopy : public ProgramWindow, public ::testing::WithParamInterface<CopyKeyCase> {};

// The list of subkeys shown and its second row selected; Ctrl+C goes by the
// window queue to the window with the focus.
TEST_P(ProgramWindowCopy, CtrlCCopiesWhereTheFocusIs)
{
    const CopyKeyCase& c = GetParam();
    show_apps();
    ListView_SetItemState(list_window(), 1, LVIS_SELECTED, LVIS_SELECTED);
    HWND target = c.focus == CopyKeyCase::result_list ? list_window()
                  : c.focus == CopyKeyCase::tree      ? tree_window()
                                                      : overview().GetBrowserWindow();
    ASSERT_NE(target, nullptr);
    ASSERT_TRUE(put_clipboard_text("before"));
    SetFocus(target);
    {
        HeldKeys ctrl({VK_CONTROL});
        PostMessageA(target, WM_KEYDOWN, 'C', 1);
        run();
    }
    EXPECT_EQ(clipboard_text_of(CF_TEXT).text, c.clipboard);
    // The shown list stays as it was.
    EXPECT_EQ(results().current_list, list_named(apps_name()));
}

INSTANTIATE_TEST_SUITE_P(
    Focus, ProgramWindowCopy,
    ::testing::Values(
        // The list: its selected row.
        CopyKeyCase{"result_list", CopyKeyCase::result_list, "Entry\tDisplayName\r\nbeta\tBeta\r\n"},
        // The tree: the shown list whole (the list's selection is not on show).
        CopyKeyCase{"tree", CopyKeyCase::tree, "Entry\tDisplayName\r\nalpha\tAlpha\r\nbeta\tBeta\r\n"},
        // The page keeps its keys: the clipboard holds what it held.
        CopyKeyCase{"page", CopyKeyCase::page, "before"}),
    [](const ::testing::TestParamInfo<CopyKeyCase>& info) { return std::string(info.param.what); });

struct RegistryClickCase {
    const char* what;
    bool enum_keys;  // the list of subkeys, else the list of values
    std::vector<std::string> headings;
    Rows rows;
};
void PrintTo(const RegistryClickCase& c, std::ostream* out) { *out << c.what; }

class ProgramWindowClicks : public ProgramWindow, public ::testing::WithParamInterface<RegistryClickCase> {};

TEST_P(ProgramWindowClicks, TheFirstClickReadsARegistryListTheSecondShowsIt)
{
    const RegistryClickCase& c = GetParam();
    const std::string name = c.enum_keys ? apps_name() : plain_name();
    QueryList* list = list_named(name);
    ASSERT_NE(list, nullptr);
    HTREEITEM item = find_tree_item(tree_window(), name);
    ASSERT_NE(item, nullptr);

    click_tree_item(tree_window(), item);
    run();
    EXPECT_EQ(list->pending, 0);
    EXPECT_EQ(results().current_list, nullptr);
    EXPECT_EQ(ListView_GetItemCount(list_window()), 0);

    click_tree_item(tree_window(), item);
    run();
    EXPECT_EQ(results().current_list, list);
    ListViewContents seen = list_view_contents(list_window());
    EXPECT_EQ(seen.headings, c.headings);
    EXPECT_EQ(seen.rows, c.rows);
    EXPECT_EQ(list_named("Win32_Bios")->pending, 1) << "no other list is read";
}

INSTANTIATE_TEST_SUITE_P(
    Registry, ProgramWindowClicks,
    ::testing::Values(
        RegistryClickCase{"values", false, {"Attribute", "Value"}, {{"colour", "blue"}, {"size", "7"}}},
        RegistryClickCase{"subkeys", true, {"Entry", "DisplayName"}, {{"alpha", "Alpha"}, {"beta", "Beta"}}}),
    [](const ::testing::TestParamInfo<RegistryClickCase>& info) { return std::string(info.param.what); });

TEST_F(ProgramWindow, AClickOnAWmiListReadsItAndTheEndOfTheReadShowsIt)
{
    QueryList* list = list_named("Win32_Bios");
    ASSERT_NE(list, nullptr);
    click_tree_item(tree_window(), find_tree_item(tree_window(), "Win32_Bios"));
    ASSERT_TRUE(run_until([&] { return results().current_list == list; }, 60000));
    EXPECT_EQ(list->pending, 0);
    ListViewContents seen = list_view_contents(list_window());
    ASSERT_EQ(seen.rows.size(), 2u);
    EXPECT_EQ(seen.rows[0][0], "Manufacturer");
    EXPECT_EQ(seen.rows[1][0], "Version");
    EXPECT_EQ(seen.rows[0][1], list->first_item->values.at(0));
    EXPECT_EQ(list_named(plain_name())->pending, 1) << "no other list is read";
}

TEST_F(ProgramWindow, AClickOnTheRootReadsEveryListAndShowsTheReportFromItsTop)
{
    std::remove(a().gui.htm_path.c_str());
    click_tree_item(tree_window(), TreeView_GetRoot(tree_window()));
    run();
    for (const std::string& name : {plain_name(), apps_name(), std::string("Win32_Bios")})
        EXPECT_EQ(list_named(name)->pending, 0) << name;
    EXPECT_EQ(a().read_all, 1);
    EXPECT_EQ(results().current_list, nullptr);
    EXPECT_EQ(ListView_GetItemCount(list_window()), 0);
    const std::string report = read_file_bytes(a().gui.htm_path);
    EXPECT_NE(report.find("Alpha"), std::string::npos);
    EXPECT_NE(report.find("blue"), std::string::npos);
    mhtm& page = overview();
    EXPECT_TRUE(
        run_until([&] { return address_of(page.GetLocationURL()).path == ascii_lower(a().gui.htm_path); }, 5000))
        << page.GetLocationURL();
    EXPECT_EQ(address_of(page.GetLocationURL()).anchor, "");
}

TEST_F(ProgramWindow, TheFrameIsNeverSizedBelowWhatKeepsItsBarsAndPanesUsable)
{
    SetWindowPos(frame_window(), nullptr, 0, 0, 100, 80, SWP_NOZORDER | SWP_NOACTIVATE);
    run();
    RECT frame{};
    GetWindowRect(frame_window(), &frame);
    EXPECT_GE(frame.right - frame.left, 480);
    EXPECT_GE(frame.bottom - frame.top, 360);
    RECT toolbar{};
    GetWindowRect(GetDlgItem(frame_window(), AFX_IDW_TOOLBAR), &toolbar);
    RECT status{};
    GetWindowRect(GetDlgItem(frame_window(), AFX_IDW_STATUS_BAR), &status);
    RECT tree{};
    GetWindowRect(tree_window(), &tree);
    RECT list{};
    GetWindowRect(list_window(), &list);
    EXPECT_LT(toolbar.bottom, tree.top) << "the tree lies below the toolbar";
    EXPECT_LT(tree.top, tree.bottom);
    EXPECT_LE(tree.bottom, status.top) << "and above the status bar";
    EXPECT_LT(tree.right, list.left) << "the list keeps room beside the tree";
    EXPECT_LT(list.left, list.right);
}

struct TipCase {
    const char* what;
    UINT code;
    UINT command;
    std::string tip;
};
void PrintTo(const TipCase& c, std::ostream* out) { *out << c.what; }

class ProgramWindowTips : public ProgramWindow, public ::testing::WithParamInterface<TipCase> {};

// What the toolbar's tool tip control asks the frame for a button.
TEST_P(ProgramWindowTips, AToolbarButtonsTipIsTheSecondLineOfItsCommandsString)
{
    const TipCase& c = GetParam();
    std::string seen;
    if (c.code == TTN_GETDISPINFOW) {
        NMTTDISPINFOW info{};
        info.hdr = {GetDlgItem(frame_window(), AFX_IDW_TOOLBAR), c.command, c.code};
        SendMessageA(frame_window(), WM_NOTIFY, c.command, reinterpret_cast<LPARAM>(&info));
        ASSERT_NE(info.lpszText, nullptr);
        for (const wchar_t* at = info.lpszText; *at; ++at)
            seen += static_cast<char>(*at);
    } else {
        NMTTDISPINFOA info{};
        info.hdr = {GetDlgItem(frame_window(), AFX_IDW_TOOLBAR), c.command, c.code};
        SendMessageA(frame_window(), WM_NOTIFY, c.command, reinterpret_cast<LPARAM>(&info));
        ASSERT_NE(info.lpszText, nullptr);
        seen = info.lpszText;
    }
    EXPECT_EQ(seen, c.tip);
}

INSTANTIATE_TEST_SUITE_P(
    Tips, ProgramWindowTips,
    ::testing::Values(TipCase{"OpenAnsi", TTN_GETDISPINFOA, ID_FILE_OPEN, "Open query file (Ctrl+O)"},
                      TipCase{"SaveWide", TTN_GETDISPINFOW, ID_FILE_SAVE, "Save List View"},
                      TipCase{"CheckModeAnsi", TTN_GETDISPINFOA, ID_CHECK_MODE, "Configure queries"},
                      TipCase{"StatusPaneHasNone", TTN_GETDISPINFOA, ID_INDICATOR_LIST, ""}),
    [](const ::testing::TestParamInfo<TipCase>& info) { return std::string(info.param.what); });

// A frame whose client cannot be made, as when the system refuses a window
// of the splitter or of a view; the box saying so has been shown by then.
class FrameWithoutClient : public mwin {
public:
    bool OnCreateClient(CREATESTRUCTA*, CCreateContext*) override { return false; }
};

TEST(ProgramWindowWithoutClient, TheFrameStaysWithoutBarsAndPanesTakesItsCommandsAndCloses)
{
    TestApp app;
    app.app().AddDocTemplate(std::make_unique<CSingleDocTemplate>(IDR_MAINFRAME, make_document<mdoc>,
                                                                  make_frame<FrameWithoutClient>,
                                                                  make_view<mvwt>));
    app.app().OnFileNew();
    mwin* frame = main_frame();
    ASSERT_NE(frame, nullptr) << "the program would end here";
    frame->ShowFrame(SW_SHOW);
    run_program_queue(app.app());
    EXPECT_TRUE(IsWindowVisible(frame->m_hWnd));
    EXPECT_EQ(frame->TreeView(), nullptr);
    EXPECT_EQ(frame->OverviewView(), nullptr);
    EXPECT_EQ(app.window().toolbar, nullptr);
    EXPECT_EQ(GetWindow(frame->m_hWnd, GW_CHILD), nullptr) << "no bar and no pane";
    // The menu's commands and the reader's find nothing to work on and
    // leave the frame as it is.
    for (UINT command : {ID_FILL_TREE, ID_FILL_RESULT, ID_SHOW_REPORT, ID_RELOAD_PAGE, ID_CHECK_MODE,
                         ID_SAVE_QUERIES, ID_STATUS_TEXT, ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR})
        SendMessageA(frame->m_hWnd, WM_COMMAND, command, 0);
    run_program_queue(app.app());
    EXPECT_EQ(main_frame(), frame);
    EXPECT_TRUE(IsWindowVisible(frame->m_hWnd));
    EXPECT_TRUE(close_program_window(app.app()));
}

}  // namespace
