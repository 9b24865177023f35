// The window base class: handler tables with typed parameters, the fall
// through to the base class's table and to the default procedure, windows
// that belong to their object, and a control wrapper that paints through its
// table and leaves everything else to the control.
#include "framework/handlers_win32.h"
#include "framework/static_win32.h"

#include "tests/support/window_helpers_win32.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> g_seen;

class BaseWindow : public CWnd {
public:
    bool Make()
    {
        RECT rect{0, 0, 300, 200};
        std::string name = RegisterClass(0, nullptr, nullptr, nullptr);
        return CreateEx(0, name, "base", WS_OVERLAPPEDWINDOW, rect, nullptr, nullptr);
    }

protected:
    const MessageMap& GetMessageMap() const override
    {
        static const MessageMap map(&(CWnd::GetMessageMap()),
                                    {
                                        on_size(&BaseWindow::OnSize),
                                        on_mouse(WM_LBUTTONDOWN, &BaseWindow::OnLButtonDown),
                                        on_command(4001, &BaseWindow::OnFirst),
                                    });
        return map;
    }
    void OnSize(UINT type, int width, int height)
    {
        g_seen.push_back("base size " + std::to_string(type) + " " + std::to_string(width) + "x" +
                         std::to_string(height));
    }
    void OnLButtonDown(UINT flags, POINT point)
    {
        g_seen.push_back("base click " + std::to_string(flags) + " " + std::to_string(point.x) + "," +
                         std::to_string(point.y));
    }
    void OnFirst() { g_seen.push_back("base 4001"); }
};

class DerivedWindow : public BaseWindow {
protected:
    const MessageMap& GetMessageMap() const override
    {
        static const MessageMap map(&(BaseWindow::GetMessageMap()),
                                    {
                                        on_size(&DerivedWindow::OnSize),
                                        on_command_range(4002, 4004, &DerivedWindow::OnRange),
                                        on_message(WM_USER + 5, &DerivedWindow::OnUser),
                                    });
        return map;
    }
    void OnSize(UINT type, int width, int height)
    {
        g_seen.push_back("derived size " + std::to_string(type) + " " + std::to_string(width) + "x" +
                         std::to_string(height));
    }
    void OnRange(UINT id) { g_seen.push_back("derived " + std::to_string(id)); }
    LRESULT OnUser(WPARAM wparam, LPARAM lparam) { return static_cast<LRESULT>(wparam * 100 + lparam); }
};

TEST(FrameworkDispatch, HandlersOfTheClassThenOfItsBaseThenTheDefaultProcedure)
{
    DerivedWindow window;
    ASSERT_TRUE(window.Make());
    g_seen.clear();

    window.SendMessage(WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(120, 80));
    window.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(7, 9));
    window.SendMessage(WM_COMMAND, 4001);
    window.SendMessage(WM_COMMAND, 4003);
    EXPECT_EQ(window.SendMessage(WM_USER + 5, 3, 4), 304);
    // No handler anywhere: DefWindowProc keeps the text.
    window.SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("set by default"));

    std::vector<std::string> expected = {"derived size 2 120x80", "base click 1 7,9", "base 4001", "derived 4003"};
    EXPECT_EQ(g_seen, expected);
    EXPECT_EQ(window.GetWindowText(), "set by default");
    EXPECT_TRUE(window.OnCmdMsg(4004, false));
    EXPECT_TRUE(window.OnCmdMsg(4001, false));
    EXPECT_FALSE(window.OnCmdMsg(4005, false));
    EXPECT_EQ(CWnd::FromHandlePermanent(window.m_hWnd), &window);
}

TEST(FrameworkDispatch, AMousePointKeepsItsSign)
{
    DerivedWindow window;
    ASSERT_TRUE(window.Make());
    g_seen.clear();

    // With the mouse captured, a point left of or above the client area is
    // negative; each coordinate is a signed 16-bit number.
    window.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(-3, -32768));
    window.SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(32767, 0));

    std::vector<std::string> expected = {"base click 1 -3,-32768", "base click 0 32767,0"};
    EXPECT_EQ(g_seen, expected);
}

TEST(FrameworkDispatch, TheObjectIsBoundBeforeTheCreateMessageAndEndsItsWindow)
{
    struct Recorder : CWnd {
        const MessageMap& GetMessageMap() const override
        {
            static const MessageMap map(&(CWnd::GetMessageMap()), {on_create(&Recorder::OnCreate)});
            return map;
        }
        int OnCreate(CREATESTRUCTA* create)
        {
            bound_at_create = FromHandlePermanent(m_hWnd) == this;
            param = create->lpCreateParams;
            return 0;
        }
        bool bound_at_create = false;
        void* param = nullptr;
    };
    HWND hwnd = nullptr;
    int marker = 0;
    {
        Recorder window;
        RECT rect{0, 0, 100, 100};
        ASSERT_TRUE(window.CreateEx(0, CWnd::RegisterClass(0, nullptr, nullptr, nullptr), "", WS_OVERLAPPED, rect,
                                    nullptr, nullptr, &marker));
        hwnd = window.m_hWnd;
        EXPECT_TRUE(window.bound_at_create);
        EXPECT_EQ(window.param, &marker);
        EXPECT_TRUE(IsWindow(hwnd));
    }
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(CWnd::FromHandlePermanent(hwnd), nullptr);
}

TEST(FrameworkDispatch, ACreateHandlerThatFailsFailsTheCreation)
{
    struct Refuser : CWnd {
        const MessageMap& GetMessageMap() const override
        {
            static const MessageMap map(&(CWnd::GetMessageMap()), {on_create(&Refuser::OnCreate)});
            return map;
        }
        int OnCreate(CREATESTRUCTA*) { return -1; }
    };
    Refuser window;
    RECT rect{0, 0, 100, 100};
    EXPECT_FALSE(window.CreateEx(0, CWnd::RegisterClass(0, nullptr, nullptr, nullptr), "", WS_OVERLAPPED, rect,
                                 nullptr, nullptr));
    EXPECT_EQ(window.m_hWnd, nullptr);
}

class PaintedStatic : public CStatic {
public:
    int paints = 0;

protected:
    const MessageMap& GetMessageMap() const override
    {
        static const MessageMap map(&(CStatic::GetMessageMap()), {on_paint(&PaintedStatic::OnPaint)});
        return map;
    }
    void OnPaint()
    {
        ++paints;
        PAINTSTRUCT paint;
        BeginPaint(m_hWnd, &paint);
        EndPaint(m_hWnd, &paint);
    }
};

TEST(FrameworkDispatch, AControlWrapperPaintsThroughItsTableAndLeavesTheRestToTheControl)
{
    BaseWindow parent;
    ASSERT_TRUE(parent.Make());
    parent.ShowWindow(SW_SHOW);
    HWND control = nullptr;
    {
        PaintedStatic text;
        RECT rect{10, 10, 200, 40};
        ASSERT_TRUE(text.Create("About", WS_VISIBLE | SS_LEFT, rect, &parent, 108));
        control = text.m_hWnd;
        RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        EXPECT_GE(text.paints, 1);
        // WM_GETTEXT and WM_SETTEXT are the control's own.
        EXPECT_EQ(text.GetWindowText(), "About");
        text.SetWindowText("Other");
        EXPECT_EQ(window_text(control), "Other");
        EXPECT_EQ(parent.GetDlgItem(108), &text);
    }
    // The wrapper ended, the control stays with its own procedure.
    ASSERT_TRUE(IsWindow(control));
    EXPECT_EQ(window_text(control), "Other");
    EXPECT_EQ(CWnd::FromHandlePermanent(control), nullptr);
    RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

}  // namespace
