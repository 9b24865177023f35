// The document template, the frame and its bars, the splitter and the
// command routing, driven by their messages in this process.
#include "framework/doctemplate_win32.h"
#include "framework/handlers_win32.h"
#include "framework/splitter_win32.h"
#include "framework/statusbar_win32.h"
#include "framework/toolbar_win32.h"
#include "framework/winapp_win32.h"

#include "res/resource.h"
#include "tests/support/window_helpers_win32.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <functional>

#include <string>
#include <vector>

namespace {

// Commands of the routing cases: the lower a command, the more targets
// handle it (view, document, frame, application, then none).
enum : UINT {
    ALL_FOUR = 5001,
    DOC_FRAME_APP = 5002,
    FRAME_APP = 5003,
    APP_ONLY = 5004,
    NOBODY = 5005,
    LIST_STATUS = 5300,  // a status pane without a string
};

std::vector<std::string> g_calls;
void record(const std::string& call) { g_calls.push_back(call); }

class TestApp : public CWinApp {
public:
    int idle_passes = 0;
    std::function<void()> at_first_idle;
    int OnIdle(long count) override
    {
        if (++idle_passes == 1 && at_first_idle)
            at_first_idle();
        return CWinApp::OnIdle(count);
    }

protected:
    const CommandMap& GetCommandMap() const override
    {
        static const CommandMap map(&(CWinApp::GetCommandMap()),
                                    {
                                        command_range_handler(ALL_FOUR, APP_ONLY, &TestApp::OnAny),
                                    });
        return map;
    }
    void OnAny(unsigned id) { record("app " + std::to_string(id)); }
};

class TestDoc : public CDocument {
public:
    TestDoc() { record("doc made"); }
    ~TestDoc() override { record("doc ended"); }
    bool OnNewDocument() override
    {
        record("doc new");
        SetTitle("C:\\queries\\polrix.xml");
        return CDocument::OnNewDocument();
    }
    bool OnOpenDocument(const std::string& path) override
    {
        record("doc open " + path);
        return true;
    }

protected:
    const CommandMap& GetCommandMap() const override
    {
        static const CommandMap map(&(CDocument::GetCommandMap()),
                                    {
                                        command_range_handler(ALL_FOUR, DOC_FRAME_APP, &TestDoc::OnAny),
                                    });
        return map;
    }
    void OnAny(unsigned id) { record("doc " + std::to_string(id)); }
};

class TestView : public CView {
public:
    TestView() { ++count; }
    ~TestView() override { record("view ended"); }
    void OnInitialUpdate() override
    {
        record("view initial update " + std::to_string(GetDlgCtrlID(m_hWnd) - AFX_IDW_PANE_FIRST));
        CView::OnInitialUpdate();
    }
    bool PreTranslateMessage(MSG* msg) override
    {
        if (msg->message == WM_KEYDOWN)
            record("view key " + std::to_string(msg->wParam));
        return false;
    }
    static int count;

protected:
    const MessageMap& GetMessageMap() const override
    {
        static const MessageMap map(&(CView::GetMessageMap()), {
                                                                   on_create(&TestView::OnCreate),
                                                                   on_command(ALL_FOUR, &TestView::OnAll),
                                                               });
        return map;
    }
    int OnCreate(CREATESTRUCTA* create)
    {
        int result = CView::OnCreate(create);
        record(std::string("view made, ") + (GetDocument() ? "with" : "without") + " document");
        return result;
    }
    void OnAll() { record("view " + std::to_string(ALL_FOUR)); }
};
int TestView::count = 0;

// The splitter of the program's shape: a one-pixel border of its own.
class TestSplitter : public CSplitterWnd {
public:
    TestSplitter()
    {
        splitter_width_ = 5;
        splitter_gap_ = 5;
        border_share_ = 0;
        pane_border_ = 1;
    }
    std::vector<RECT> borders;
    void OnDrawSplitter(CDC* dc, ESplitType type, const RECT& rect) override
    {
        if (dc && type == splitBorder) {
            borders.push_back(rect);
            dc->Draw3dRect(rect, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
            return;
        }
        CSplitterWnd::OnDrawSplitter(dc, type, rect);
    }
};

class TestFrame : public CFrameWnd {
public:
    TestFrame() { record("frame made"); }
    ~TestFrame() override { record("frame ended"); }
    bool PreTranslateMessage(MSG* msg) override
    {
        if (msg->message == WM_KEYDOWN)
            record("frame key " + std::to_string(msg->wParam));
        return CFrameWnd::PreTranslateMessage(msg);
    }
    bool OnCreateClient(CREATESTRUCTA*, CCreateContext* context) override
    {
        record("frame create client");
        if (!splitter.CreateStatic(this, 1, 2))
            return false;
        if (!splitter.CreateView(0, 0, make_view<TestView>, SIZE{0, 0}, context))
            return false;
        if (!splitter.CreateView(0, 1, make_view<TestView>, SIZE{0, 0}, context))
            return false;
        splitter.SetColumnInfo(0, 250, 0);
        return true;
    }

    TestSplitter splitter;
    CToolBar toolbar;
    CStatusBar status;

protected:
    const MessageMap& GetMessageMap() const override
    {
        static const MessageMap map(&(CFrameWnd::GetMessageMap()),
                                    {
                                        on_create(&TestFrame::OnCreate),
                                        on_command_range(ALL_FOUR, FRAME_APP, &TestFrame::OnAny),
                                    });
        return map;
    }
    int OnCreate(CREATESTRUCTA* create)
    {
        record("frame create");
        if (CFrameWnd::OnCreate(create) == -1)
            return -1;
        static const UINT buttons[] = {ALL_FOUR, NOBODY, APP_ONLY, ID_SEPARATOR};
        if (!toolbar.Create(this, CBRS_TOP | CBRS_TOOLTIPS) || !toolbar.SetButtons(buttons, 4))
            return -1;
        static const UINT panes[] = {ID_SEPARATOR, LIST_STATUS};
        if (!status.Create(this))
            return -1;
        status.SetIndicators(panes, 2);
        // The menu, made here as the resource would give it.
        HMENU bar = CreateMenu();
        HMENU file = CreatePopupMenu();
        AppendMenuA(file, MF_STRING, ALL_FOUR, "All");
        AppendMenuA(file, MF_STRING, NOBODY, "Nobody");
        AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(file, MF_STRING, ID_APP_EXIT, "E&xit");
        HMENU view = CreatePopupMenu();
        AppendMenuA(view, MF_STRING, ID_VIEW_TOOLBAR, "&Toolbar");
        AppendMenuA(view, MF_STRING, ID_VIEW_STATUS_BAR, "&Status Bar");
        AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
        AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(view), "&View");
        SetMenu(m_hWnd, bar);
        record("frame created");
        return 0;
    }
    void OnAny(UINT id) { record("frame " + std::to_string(id)); }
};

// A window with the test's application, template, document and frame.
class FrameworkFrame : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_calls.clear();
        app.AddDocTemplate(
            std::unique_ptr<CDocTemplate>(new CSingleDocTemplate(IDR_MAINFRAME, make_document<TestDoc>,
                                                                 make_frame<TestFrame>, make_view<TestView>)));
        app.OnFileNew();
        frame = dynamic_cast<TestFrame*>(app.GetMainFrame());
        ASSERT_NE(frame, nullptr);
        SetWindowPos(frame->m_hWnd, nullptr, 0, 0, 900, 600, SWP_NOZORDER);
        frame->ShowWindow(SW_SHOW);
        pump_messages();
    }
    void TearDown() override
    {
        if (app.main_window)
            SendMessageA(app.main_window, WM_CLOSE, 0, 0);
        pump_messages();
    }
    // A child's rectangle in the frame's client coordinates.
    RECT in_frame(HWND child) const
    {
        RECT rect;
        GetWindowRect(child, &rect);
        MapWindowPoints(nullptr, frame->m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }
    CSingleDocTemplate& doc_template() { return *static_cast<CSingleDocTemplate*>(app.GetDocTemplate()); }

    TestApp app;
    TestFrame* frame = nullptr;
};

TEST_F(FrameworkFrame, ANewDocumentMakesDocumentFrameViewsThenRunsNewDocumentThenInitialUpdates)
{
    std::vector<std::string> expected = {
        "doc made",
        "frame made",
        "frame create",
        "frame create client",
        "view made, with document",
        "view made, with document",
        "frame created",
        "doc new",
        "view initial update 0",
        "view initial update 1",
    };
    EXPECT_EQ(g_calls, expected);
    // The application title comes from the frame's title string (resource 100).
    EXPECT_EQ(window_text(frame->m_hWnd), "C:\\queries\\polrix.xml - Polrix");
    EXPECT_EQ(doc_template().GetDocument()->views().size(), 2u);
    EXPECT_EQ(frame->GetActiveView(), frame->splitter.GetPane(0, 0));
}

TEST_F(FrameworkFrame, OpeningAFileRunsOpenSetsThePathAndUpdatesTheViewsOnceForEachNewPath)
{
    g_calls.clear();
    ASSERT_TRUE(app.OpenDocumentFile("C:\\other\\more.xml"));
    std::vector<std::string> expected = {"doc open C:\\other\\more.xml", "view initial update 0",
                                         "view initial update 1"};
    EXPECT_EQ(g_calls, expected);
    EXPECT_EQ(doc_template().GetDocument()->GetPathName(), "C:\\other\\more.xml");
    EXPECT_EQ(window_text(frame->m_hWnd), "more.xml - Polrix");

    // The same file again, written another way: nothing is read.
    g_calls.clear();
    EXPECT_TRUE(app.OpenDocumentFile("c:/OTHER/more.xml"));
    EXPECT_TRUE(g_calls.empty());
    ASSERT_TRUE(app.OpenDocumentFile("C:\\other\\third.xml"));
    EXPECT_EQ(g_calls.front(), "doc open C:\\other\\third.xml");
}

TEST_F(FrameworkFrame, ClosingTheFrameEndsViewsFrameAndDocumentAndQuitsTheLoop)
{
    g_calls.clear();
    SendMessageA(frame->m_hWnd, WM_CLOSE, 0, 0);
    std::vector<std::string> expected = {"view ended", "view ended", "frame ended", "doc ended"};
    EXPECT_EQ(g_calls, expected);
    EXPECT_EQ(app.main_window, nullptr);
    EXPECT_EQ(doc_template().GetDocument(), nullptr);
    EXPECT_TRUE(pump_messages());  // WM_QUIT was posted
}

TEST_F(FrameworkFrame, ACloseBeforeTheFrameIsShownWaitsUntilItIsShown)
{
    // As End task does while a box of the start is up and the frame hidden.
    frame->ShowWindow(SW_HIDE);
    g_calls.clear();
    SendMessageA(frame->m_hWnd, WM_CLOSE, 0, 0);
    pump_messages();
    EXPECT_TRUE(g_calls.empty()) << "nothing ended while the frame was being made";
    ASSERT_NE(app.main_window, nullptr);
    frame->ShowFrame(SW_SHOW);
    pump_messages();
    std::vector<std::string> expected = {"view ended", "view ended", "frame ended", "doc ended"};
    EXPECT_EQ(g_calls, expected);
    EXPECT_EQ(app.main_window, nullptr);
}

TEST_F(FrameworkFrame, ACommandGoesToViewDocumentFrameApplicationInThatOrder)
{
    struct Case {
        UINT id;
        const char* handler;
    };
    const Case cases[] = {
        {ALL_FOUR, "view 5001"},
        {DOC_FRAME_APP, "doc 5002"},
        {FRAME_APP, "frame 5003"},
        {APP_ONLY, "app 5004"},
    };
    for (const Case& c : cases) {
        g_calls.clear();
        SendMessageA(frame->m_hWnd, WM_COMMAND, c.id, 0);
        EXPECT_EQ(g_calls, std::vector<std::string>{c.handler}) << c.id;
    }
    // A toolbar button's click comes with the toolbar's handle.
    g_calls.clear();
    SendMessageA(frame->m_hWnd, WM_COMMAND, MAKEWPARAM(APP_ONLY, BN_CLICKED),
                 reinterpret_cast<LPARAM>(frame->toolbar.m_hWnd));
    EXPECT_EQ(g_calls, std::vector<std::string>{"app 5004"});
    g_calls.clear();
    SendMessageA(frame->m_hWnd, WM_COMMAND, NOBODY, 0);
    EXPECT_TRUE(g_calls.empty());
}

TEST_F(FrameworkFrame, ACommandNobodyHandlesIsDisabledInTheMenuAndOnTheToolbar)
{
    HMENU file = GetSubMenu(GetMenu(frame->m_hWnd), 0);
    SendMessageA(frame->m_hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), MAKELPARAM(0, FALSE));
    EXPECT_FALSE(GetMenuState(file, ALL_FOUR, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(GetMenuState(file, NOBODY, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_FALSE(GetMenuState(file, ID_APP_EXIT, MF_BYCOMMAND) & MF_GRAYED);

    app.OnIdle(0);
    EXPECT_TRUE(frame->toolbar.GetButtonState(ALL_FOUR) & TBSTATE_ENABLED);
    EXPECT_TRUE(frame->toolbar.GetButtonState(APP_ONLY) & TBSTATE_ENABLED);
    EXPECT_FALSE(frame->toolbar.GetButtonState(NOBODY) & TBSTATE_ENABLED);
    // Other state bits stay: a pressed button is still pressed.
    frame->toolbar.CheckButton(ALL_FOUR, true);
    app.OnIdle(0);
    EXPECT_EQ(frame->toolbar.GetButtonState(ALL_FOUR), UINT(TBSTATE_ENABLED | TBSTATE_CHECKED));
}

TEST_F(FrameworkFrame, TheLayoutPutsToolbarOnTopStatusBarBelowAndTheClientBetween)
{
    RECT client = frame->GetClientRect();
    auto check_layout = [&](bool toolbar_shown, bool status_shown) {
        RECT pane = in_frame(frame->splitter.m_hWnd);
        int top = 0;
        int bottom = client.bottom;
        if (toolbar_shown) {
            RECT bar = in_frame(frame->toolbar.m_hWnd);
            EXPECT_EQ(bar.top, 0);
            EXPECT_EQ(bar.right - bar.left, client.right);
            EXPECT_GT(bar.bottom, 16);
            top = bar.bottom;
        }
        if (status_shown) {
            RECT bar = in_frame(frame->status.m_hWnd);
            EXPECT_EQ(bar.bottom, client.bottom);
            EXPECT_GT(bar.bottom - bar.top, 10);
            bottom = bar.top;
        }
        EXPECT_EQ(pane.top, top);
        EXPECT_EQ(pane.bottom, bottom);
        EXPECT_EQ(pane.right - pane.left, client.right);
    };
    check_layout(true, true);

    HMENU view = GetSubMenu(GetMenu(frame->m_hWnd), 1);
    SendMessageA(frame->m_hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(view), MAKELPARAM(1, FALSE));
    EXPECT_TRUE(GetMenuState(view, ID_VIEW_TOOLBAR, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_TRUE(GetMenuState(view, ID_VIEW_STATUS_BAR, MF_BYCOMMAND) & MF_CHECKED);

    SendMessageA(frame->m_hWnd, WM_COMMAND, ID_VIEW_TOOLBAR, 0);
    EXPECT_FALSE(frame->toolbar.IsWindowVisible());
    EXPECT_FALSE(GetMenuState(view, ID_VIEW_TOOLBAR, MF_BYCOMMAND) & MF_CHECKED);
    check_layout(false, true);

    SendMessageA(frame->m_hWnd, WM_COMMAND, ID_VIEW_STATUS_BAR, 0);
    EXPECT_FALSE(GetMenuState(view, ID_VIEW_STATUS_BAR, MF_BYCOMMAND) & MF_CHECKED);
    check_layout(false, false);

    SendMessageA(frame->m_hWnd, WM_COMMAND, ID_VIEW_TOOLBAR, 0);
    SendMessageA(frame->m_hWnd, WM_COMMAND, ID_VIEW_STATUS_BAR, 0);
    EXPECT_TRUE(GetMenuState(view, ID_VIEW_TOOLBAR, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_TRUE(GetMenuState(view, ID_VIEW_STATUS_BAR, MF_BYCOMMAND) & MF_CHECKED);
    check_layout(true, true);
}

TEST_F(FrameworkFrame, TheSplitterHasTwoPanesTheFirstAsWideAsSetAndItsBarDrags)
{
    CWnd* left = frame->splitter.GetPane(0, 0);
    CWnd* right = frame->splitter.GetPane(0, 1);
    ASSERT_NE(left, nullptr);
    ASSERT_NE(right, nullptr);
    EXPECT_EQ(frame->splitter.GetPane(0, 2), nullptr);
    RECT splitter = frame->splitter.GetClientRect();
    auto width = [](CWnd* pane) { return pane->GetClientRect().right; };
    EXPECT_EQ(width(left), 250);
    // One-pixel borders and a five-pixel gap: 250 + 2 + 5 + 2 + the rest.
    EXPECT_EQ(width(right), splitter.right - 250 - 9);

    // The borders are drawn by the derived splitter, one pixel around each pane.
    frame->splitter.borders.clear();
    RedrawWindow(frame->splitter.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    ASSERT_EQ(frame->splitter.borders.size(), 2u);
    RECT pane_rect;
    GetWindowRect(left->m_hWnd, &pane_rect);
    MapWindowPoints(nullptr, frame->splitter.m_hWnd, reinterpret_cast<POINT*>(&pane_rect), 2);
    InflateRect(&pane_rect, 1, 1);
    EXPECT_TRUE(EqualRect(&pane_rect, &frame->splitter.borders[0]));

    // Drag the bar 50 pixels to the right, then 100 to the left.
    int bar_x = 250 + 2 + 2;
    HWND s = frame->splitter.m_hWnd;
    SendMessageA(s, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(bar_x, 40));
    SendMessageA(s, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(bar_x + 30, 40));
    SendMessageA(s, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(bar_x + 50, 40));
    SendMessageA(s, WM_LBUTTONUP, 0, MAKELPARAM(bar_x + 50, 40));
    EXPECT_EQ(width(left), 300);
    EXPECT_EQ(width(right), splitter.right - 300 - 9);
    int ideal = 0, minimum = 0;
    frame->splitter.GetColumnInfo(0, ideal, minimum);
    EXPECT_EQ(ideal, 300);
    SendMessageA(s, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(bar_x + 50, 40));
    SendMessageA(s, WM_LBUTTONUP, 0, MAKELPARAM(bar_x - 50, 40));
    EXPECT_EQ(width(left), 200);
    // A press inside a pane's area is no drag.
    SendMessageA(s, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 40));
    SendMessageA(s, WM_LBUTTONUP, 0, MAKELPARAM(150, 40));
    EXPECT_EQ(width(left), 200);
}

TEST_F(FrameworkFrame, StatusPanesTakeTheirWidthsStylesAndTexts)
{
    CStatusBar& status = frame->status;
    ASSERT_EQ(status.GetCount(), 2);
    EXPECT_EQ(status.GetItemID(1), UINT(LIST_STATUS));
    EXPECT_EQ(status.GetPaneText(1), "");  // no string for the indicator
    status.SetPaneInfo(0, ID_SEPARATOR, SBPS_NORMAL, 250);
    status.SetPaneInfo(1, LIST_STATUS, SBPS_STRETCH, 0);
    status.SetPaneStyle(0, SBPS_NOBORDERS);
    int edges[2] = {0, 0};
    ASSERT_EQ(SendMessageA(status.m_hWnd, SB_GETPARTS, 2, reinterpret_cast<LPARAM>(edges)), 2);
    EXPECT_EQ(edges[0], 250);
    EXPECT_EQ(edges[1], status.GetClientRect().right);
    EXPECT_TRUE(HIWORD(SendMessageA(status.m_hWnd, SB_GETTEXTLENGTHA, 0, 0)) & SBT_NOBORDERS);
    EXPECT_FALSE(HIWORD(SendMessageA(status.m_hWnd, SB_GETTEXTLENGTHA, 1, 0)) & SBT_NOBORDERS);

    ASSERT_TRUE(status.SetPaneText(1, " List: Win32_Processor, ID: 003, Items: 012"));
    char text[128] = "";
    SendMessageA(status.m_hWnd, SB_GETTEXTA, 1, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, " List: Win32_Processor, ID: 003, Items: 012");

    // The message pane: the idle text, empty for an entry without a
    // prompt, the idle text again when the menu closes.
    auto message_pane = [&] {
        SendMessageA(status.m_hWnd, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
        return std::string(text);
    };
    EXPECT_EQ(message_pane(), "Ready");
    HMENU file = GetSubMenu(GetMenu(frame->m_hWnd), 0);
    SendMessageA(frame->m_hWnd, WM_MENUSELECT, MAKEWPARAM(NOBODY, MF_STRING), reinterpret_cast<LPARAM>(file));
    EXPECT_EQ(message_pane(), "");
    SendMessageA(frame->m_hWnd, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ(message_pane(), "Ready");
}

// The paints a window gets while the counter is installed.
class PaintCounter {
public:
    explicit PaintCounter(HWND hwnd) : hwnd_(hwnd)
    {
        counted() = this;
        previous_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PaintCounter::procedure)));
    }
    ~PaintCounter()
    {
        SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
        counted() = nullptr;
    }
    PaintCounter(const PaintCounter&) = delete;
    PaintCounter& operator=(const PaintCounter&) = delete;

    int paints = 0;

private:
    static PaintCounter*& counted()
    {
        static PaintCounter* current = nullptr;
        return current;
    }
    static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam)
    {
        PaintCounter* counter = counted();
        if (message == WM_PAINT)
            ++counter->paints;
        return CallWindowProcA(counter->previous_, hwnd, message, wparam, lparam);
    }

    HWND hwnd_;
    WNDPROC previous_ = nullptr;
};

TEST_F(FrameworkFrame, ANewPaneTextIsPaintedAtOnceAndAnUnchangedOneIsNotPaintedAgain)
{
    CStatusBar& status = frame->status;
    // The panes as the program's frame lays them out: the list pane takes
    // the rest of the bar.
    status.SetPaneInfo(0, ID_SEPARATOR, SBPS_NORMAL, 250);
    status.SetPaneInfo(1, LIST_STATUS, SBPS_STRETCH, 0);
    ASSERT_TRUE(status.SetPaneText(1, " List: Win32_Bios reading ..."));
    pump_messages();
    auto pane_text = [&] {
        char text[128] = "";
        SendMessageA(status.m_hWnd, SB_GETTEXTA, 1, reinterpret_cast<LPARAM>(text));
        return std::string(text);
    };
    auto left_to_paint = [&] { return GetUpdateRect(status.m_hWnd, nullptr, FALSE) != FALSE; };

    PaintCounter counter(status.m_hWnd);
    // A text (or an empty pane) that differs from what the pane shows: it
    // is painted once before the call returns (Wine's control paints it
    // itself), nothing is left to paint.
    for (const char* text : {" List: Win32_Processor reading ...", "", " List: Win32_Bios, ID: 002, Items: 013"}) {
        counter.paints = 0;
        ASSERT_TRUE(status.SetPaneText(1, text));
        EXPECT_EQ(pane_text(), text);
        EXPECT_EQ(counter.paints, 1) << "'" << text << "'";
        EXPECT_FALSE(left_to_paint()) << "'" << text << "'";
        // The same text again: the pane shows it already.
        counter.paints = 0;
        ASSERT_TRUE(status.SetPaneText(1, text));
        EXPECT_EQ(pane_text(), text);
        EXPECT_EQ(counter.paints, 0) << "'" << text << "'";
        EXPECT_FALSE(left_to_paint()) << "'" << text << "'";
    }
    // What was left to paint before is painted by the update as well.
    InvalidateRect(status.m_hWnd, nullptr, TRUE);
    counter.paints = 0;
    ASSERT_TRUE(status.SetPaneText(1, " List: Win32_Bios, ID: 002, Items: 013"));
    EXPECT_EQ(counter.paints, 1);
    EXPECT_FALSE(left_to_paint());
}

TEST_F(FrameworkFrame, TheLoopOffersKeysToTheFrameFirstThenToTheWindowsBelowAndRunsIdlePasses)
{
    HWND view = frame->splitter.GetPane(0, 1)->m_hWnd;
    g_calls.clear();
    app.idle_passes = 0;
    // Keys and the exit command come once the queue has run empty.
    app.at_first_idle = [&] {
        record("idle");
        PostMessageA(view, WM_KEYDOWN, VK_F5, 0);
        PostMessageA(frame->m_hWnd, WM_COMMAND, ID_APP_EXIT, 0);
    };
    EXPECT_EQ(RunMessageLoop(app), 0);
    ASSERT_GE(g_calls.size(), 3u);
    EXPECT_EQ(g_calls[0], "idle");
    EXPECT_EQ(g_calls[1], "frame key " + std::to_string(VK_F5));
    EXPECT_EQ(g_calls[2], "view key " + std::to_string(VK_F5));
    EXPECT_EQ(app.main_window, nullptr);
    EXPECT_EQ(g_calls.back(), "doc ended");
}

}  // namespace
