// The navigation tree control on a real tree view: the window it makes, the
// object bound to it, and the object's life beside its window's (released
// by its view, or ended with its parent).
#include "ui/tree_control_win32.h"

#include "res/resource.h"
#include "tests/support/parent_window.h"
#include "tests/support/test_app_win32.h"

#include <gtest/gtest.h>

#include <commctrl.h>

namespace {

class TreeControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(parent.hwnd(), nullptr);
        parent_wnd.Attach(parent.hwnd());
        ASSERT_TRUE(tree().Create(&parent_wnd, RECT{0, 0, 200, 300}));
        hwnd = tree().m_hWnd;
    }

    mtrc& tree() { return app.window().tree; }

    TestApp app;
    ParentWindow parent{240, 320};
    CWnd parent_wnd;
    HWND hwnd = nullptr;
};

TEST_F(TreeControlTest, MakesATreeViewWithItsStyleAndIdBoundToTheObject)
{
    char name[64] = {};
    GetClassNameA(hwnd, name, sizeof name);
    EXPECT_STREQ(name, WC_TREEVIEWA);
    EXPECT_EQ(GetDlgCtrlID(hwnd), IDC_TREE);
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE));
    const DWORD wanted = WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                         TVS_SHOWSELALWAYS;
    EXPECT_EQ(style & wanted, wanted);
    EXPECT_EQ(CWnd::FromHandlePermanent(hwnd), static_cast<CWnd*>(&tree()));
    EXPECT_EQ(tree().GetSafeHwnd(), hwnd) << "the control calls reach the same window";
    EXPECT_FALSE(tree().Create(&parent_wnd, RECT{0, 0, 200, 300})) << "a second window while the first lives";

    HTREEITEM item = tree().InsertItem("Win32_Bios", 1, 1);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(TreeView_GetCount(hwnd), 1u);
}

TEST_F(TreeControlTest, ReleasedTheWindowGoesOnWithoutTheObject)
{
    tree().Release();
    EXPECT_TRUE(IsWindow(hwnd));
    EXPECT_EQ(CWnd::FromHandlePermanent(hwnd), nullptr);
    EXPECT_EQ(tree().m_hWnd, nullptr);
    EXPECT_EQ(tree().GetSafeHwnd(), nullptr);
    EXPECT_EQ(tree().InsertItem("A", 1, 1), nullptr) << "no call reaches the released window";
    EXPECT_EQ(TreeView_GetCount(hwnd), 0u);
}

TEST_F(TreeControlTest, EndedWithItsParentTheObjectHoldsNoHandleAndCanMakeANewWindow)
{
    tree().Release();
    HWND ended = nullptr;
    {
        ParentWindow doomed{240, 320};
        CWnd doomed_wnd;
        doomed_wnd.Attach(doomed.hwnd());
        ASSERT_TRUE(tree().Create(&doomed_wnd, RECT{0, 0, 200, 300}));
        ended = tree().m_hWnd;
    }
    EXPECT_FALSE(IsWindow(ended));
    EXPECT_EQ(tree().m_hWnd, nullptr);
    EXPECT_EQ(tree().GetSafeHwnd(), nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(ended), nullptr);

    ASSERT_TRUE(tree().Create(&parent_wnd, RECT{0, 0, 200, 300}));
    EXPECT_EQ(GetParent(tree().m_hWnd), parent.hwnd());
    EXPECT_NE(tree().InsertItem("A", 1, 1), nullptr);
}

}  // namespace
