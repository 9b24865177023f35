// The overview page view in a real window with the system's browser
// control: the result list made once, the layout of page, band and list in
// both modes, the column widths, the address the page is sent to and the
// log lines, and label edits that do not stick.
#include "ui/overview_view_win32.h"

#include "framework/document_win32.h"
#include "framework/gdi_win32.h"
#include "res/resource.h"
#include "tests/support/browser_address.h"
#include "tests/support/chain_builder.h"
#include "tests/support/list_view_contents_win32.h"
#include "tests/support/parent_window.h"
#include "tests/support/recording_window_side.h"
#include "tests/support/test_app_win32.h"
#include "ui/tree_view_win32.h"

#include <gtest/gtest.h>

#include <ole2.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int WIDTH = 820;
constexpr int HEIGHT = 600;

// A window's rectangle in the client coordinates of another.
RECT rect_in(HWND window, HWND client_of)
{
    RECT r{};
    GetWindowRect(window, &r);
    MapWindowPoints(nullptr, client_of, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

bool same_rect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string text_of(const RECT& r)
{
    char text[64];
    std::snprintf(text, sizeof text, "(%ld,%ld)-(%ld,%ld)", r.left, r.top, r.right, r.bottom);
    return text;
}

class OverviewViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
        ole_ = true;
        ASSERT_NE(parent.hwnd(), nullptr);
        parent_wnd.Attach(parent.hwnd());
        CCreateContext context;
        context.document = &document;
        view = static_cast<mhtm*>(CView::CreateView(make_view<mhtm>, &parent_wnd, AFX_IDW_PANE_FIRST + 1,
                                                    RECT{0, 0, WIDTH, HEIGHT}, &context));
        ASSERT_NE(view, nullptr);
        view->OnInitialUpdate();
        list = GetDlgItem(view->m_hWnd, IDC_RESULT_LIST);
        ASSERT_NE(list, nullptr);
    }
    void TearDown() override
    {
        if (view)
            DestroyWindow(view->m_hWnd);
        if (ole_)
            OleUninitialize();
    }

    mbox& box() { return app.window().result_list; }
    void paint() { SendMessageA(view->m_hWnd, WM_PAINT, 0, 0); }
    // A table of `columns` items and two records.
    QueryList& table(int columns)
    {
        QueryList& l = add_list(chain, "Win32_Process", 20 + columns, 2, columns);
        for (int i = 0; i < columns; ++i)
            add_item(l, ("Item" + std::to_string(i)).c_str(), {"a", "b"});
        return l;
    }

    TestApp app;
    RecordingWindowSide side{true};
    ParentWindow parent{WIDTH, HEIGHT};
    CWnd parent_wnd;
    CDocument document;
    std::unique_ptr<QueryList> chain;
    mhtm* view = nullptr;  // ends with its window
    HWND list = nullptr;
    bool ole_ = false;
};

TEST_F(OverviewViewTest, InitialUpdateMakesTheListOnceAtTheBottomAndWritesTheIcons)
{
    EXPECT_EQ(CWnd::FromHandlePermanent(list), static_cast<CWnd*>(&box()));
    EXPECT_EQ(box().GetSafeHwnd(), list) << "the control calls reach the same window";
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(list, GWL_STYLE));
    EXPECT_EQ(style & (WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_EDITLABELS),
              static_cast<DWORD>(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_EDITLABELS));
    const DWORD extended = static_cast<DWORD>(SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    EXPECT_EQ(extended & (LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT),
              static_cast<DWORD>(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT));
    const RECT strip{0, HEIGHT - 100, WIDTH - GetSystemMetrics(SM_CXDLGFRAME), HEIGHT};
    EXPECT_TRUE(same_rect(rect_in(list, view->m_hWnd), strip)) << text_of(rect_in(list, view->m_hWnd));

    // The title picture and one file per class icon of the tree's images.
    const std::string temp = app.inventory().gui.temp_dir;
    const int icons = ImageList_GetImageCount(tree_image_list()) - 3;
    for (int i = 0; i <= icons; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "\\img_%02i.bmp", i);
        EXPECT_EQ(read_file_bytes(temp + name).substr(0, 2), "BM") << name;
    }

    // Again after an open: the same list window, put back at the bottom.
    MoveWindow(list, 0, 0, 10, 10, FALSE);
    view->OnInitialUpdate();
    EXPECT_EQ(GetDlgItem(view->m_hWnd, IDC_RESULT_LIST), list);
    EXPECT_EQ(GetWindow(list, GW_HWNDNEXT), nullptr) << "a second list window";
    EXPECT_TRUE(same_rect(rect_in(list, view->m_hWnd), strip));

    std::string log = app.log();
    size_t made = log.find("mhtm::mhtm () OK ...\n");
    size_t first = log.find("  OnInitialUpdate OK ...\n");
    ASSERT_NE(made, std::string::npos);
    ASSERT_NE(first, std::string::npos);
    EXPECT_LT(made, first);
    EXPECT_NE(log.find("  OnInitialUpdate OK ...\n", first + 1), std::string::npos);

    DestroyWindow(view->m_hWnd);
    view = nullptr;
    EXPECT_EQ(box().m_hWnd, nullptr);
    EXPECT_EQ(box().GetSafeHwnd(), nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(list), nullptr);
    EXPECT_NE(app.log().find("mhtm::~mhtm () OK ...\n"), std::string::npos);
}

TEST_F(OverviewViewTest, PaintLaysOutPageBandAndListInBothModes)
{
    struct Case {
        int check_mode;
        int split;
    };
    for (const Case& c : {Case{0, 500}, Case{1, 300}}) {
        SCOPED_TRACE(c.check_mode);
        box().check_mode = c.check_mode;
        paint();
        ASSERT_NE(view->GetBrowserWindow(), nullptr);
        RECT page = rect_in(view->GetBrowserWindow(), view->m_hWnd);
        EXPECT_TRUE(same_rect(page, RECT{0, 0, WIDTH, c.split})) << text_of(page);
        RECT listed = rect_in(list, view->m_hWnd);
        EXPECT_TRUE(same_rect(listed, RECT{0, c.split + 22, WIDTH, HEIGHT})) << text_of(listed);

        // The band, drawn into a bitmap of the view's size: a raised frame
        // from the split line to 22 pixels below it, and nothing around it.
        CClientDC screen(view->m_hWnd);
        CDC memory;
        ASSERT_TRUE(memory.CreateCompatibleDC(screen));
        CBitmap canvas;
        ASSERT_TRUE(canvas.CreateCompatibleBitmap(screen, WIDTH, HEIGHT));
        SelectionGuard on_canvas(memory, canvas);
        const COLORREF white = RGB(255, 255, 255);
        memory.FillSolidRect(RECT{0, 0, WIDTH, HEIGHT}, white);
        view->OnDraw(&memory);
        const int x = 3;  // left of the centred caption
        EXPECT_EQ(GetPixel(memory, x, c.split - 1), white);
        EXPECT_EQ(GetPixel(memory, x, c.split), GetNearestColor(memory, GetSysColor(COLOR_BTNHIGHLIGHT)));
        EXPECT_EQ(GetPixel(memory, 0, c.split + 10), GetNearestColor(memory, GetSysColor(COLOR_BTNHIGHLIGHT)));
        EXPECT_EQ(GetPixel(memory, x, c.split + 10), GetNearestColor(memory, GetSysColor(COLOR_BTNFACE)));
        EXPECT_EQ(GetPixel(memory, WIDTH - 1, c.split + 10),
                  GetNearestColor(memory, GetSysColor(COLOR_BTNSHADOW)));
        EXPECT_EQ(GetPixel(memory, x, c.split + 21), GetNearestColor(memory, GetSysColor(COLOR_BTNSHADOW)));
        EXPECT_EQ(GetPixel(memory, x, c.split + 22), white);
    }
}

TEST_F(OverviewViewTest, PaintSharesTheListWidthAmongTheColumns)
{
    const int scroll_bar = GetSystemMetrics(SM_CYHSCROLL);
    struct Case {
        int columns;
        int width;
    };
    // Two columns share the width less a scroll bar (401 each beside a
    // 17-pixel bar); twelve would get 66 and take the least, 100.
    const Case cases[] = {{2, (WIDTH - scroll_bar) / 2}, {12, 100}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.columns);
        box().ShowList(&table(c.columns));
        ASSERT_EQ(list_view_contents(list).widths, std::vector<int>(c.columns, 100));
        paint();
        EXPECT_EQ(list_view_contents(list).widths, std::vector<int>(c.columns, c.width));
    }
}

TEST_F(OverviewViewTest, ShowSendsThePageToTheShownListsAnchor)
{
    const std::string report = app.inventory().gui.htm_path;
    struct Case {
        int id;
        const char* anchor;
    };
    for (const Case& c : {Case{7, "007"}, Case{12, "012"}, Case{100, "100"}}) {
        SCOPED_TRACE(c.anchor);
        QueryList& l = add_list(chain, "Win32_Bios", c.id, 1, 1);
        add_item(l, "Name", {"BIOS"});
        box().ShowList(&l);
        view->OnShow();
        // Later navigations finish while messages are pumped.
        pump_messages_until([&] { return address_of(view->GetLocationURL()).anchor == c.anchor; }, 5000);
        BrowserAddress at = address_of(view->GetLocationURL());
        EXPECT_EQ(at.path, ascii_lower(report)) << view->GetLocationURL();
        EXPECT_EQ(at.anchor, c.anchor) << view->GetLocationURL();
    }
    char computer[256] = "";
    ASSERT_GT(GetEnvironmentVariableA("ComputerName", computer, sizeof computer), 0u);
    EXPECT_EQ(document.GetTitle(), computer);
}

TEST_F(OverviewViewTest, ShowLogsTheAddressAndTheReportPath)
{
    const std::string report = app.inventory().gui.htm_path;
    QueryList& l = add_list(chain, "Win32_Bios", 7, 1, 1);
    add_item(l, "Name", {"BIOS"});
    box().ShowList(&l);
    view->OnShow();

    // "  <address>, <document type>" (the type is empty without an HTML
    // engine), then the report path.
    std::string log = app.log();
    size_t shown = log.find("mhtm::OnShow " + report + "\n");
    ASSERT_NE(shown, std::string::npos) << log;
    size_t start = log.rfind("\n  ", shown - 1);
    ASSERT_NE(start, std::string::npos);
    std::string line = log.substr(start + 3, shown - 1 - (start + 3));
    size_t comma = line.find(", ");
    ASSERT_NE(comma, std::string::npos) << line;
    BrowserAddress logged = address_of(line.substr(0, comma));
    EXPECT_EQ(logged.path, ascii_lower(report)) << line;
    EXPECT_EQ(logged.anchor, "007") << line;
    EXPECT_EQ(line.substr(comma + 2), view->GetType());
}

TEST_F(OverviewViewTest, ShowWithNoListReadsWritesAndShowsTheReportFromTheTop)
{
    const std::string report = app.inventory().gui.htm_path;
    DeleteFileA(report.c_str());
    view->OnShow();

    BrowserAddress at = address_of(view->GetLocationURL());
    EXPECT_EQ(at.path, ascii_lower(report)) << view->GetLocationURL();
    EXPECT_EQ(at.anchor, "");
    EXPECT_FALSE(read_file_bytes(report).empty());
    std::string log = app.log();
    size_t read = log.find("mapp::OnRWMI () OK ...\n");
    size_t written = log.find("mapp::OnSWMI () OK ...\n");
    size_t shown = log.find("mhtm::OnShow " + report + "\n");
    ASSERT_NE(read, std::string::npos);
    ASSERT_NE(written, std::string::npos);
    ASSERT_NE(shown, std::string::npos);
    EXPECT_LT(read, written);
    EXPECT_LT(written, shown);
}

TEST_F(OverviewViewTest, AnEditedLabelGetsItsTextBack)
{
    QueryList& l = add_list(chain, "Win32_Bios", 2, 1, 1);
    add_item(l, "Name", {"BIOS"});
    box().ShowList(&l);
    SetFocus(list);
    HWND edit = reinterpret_cast<HWND>(SendMessageA(list, LVM_EDITLABELA, 0, 0));
    ASSERT_NE(edit, nullptr);
    SetWindowTextA(edit, "Edited");
    // Enter ends the edit and offers the new text to the view.
    SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
    pump_messages_for(50);
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(list, LVM_GETEDITCONTROL, 0, 0)), nullptr);
    EXPECT_EQ(list_view_contents(list).rows, (std::vector<std::vector<std::string>>{{"Name", "BIOS"}}));
}

}  // namespace
