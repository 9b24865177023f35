// The tree control wrapper on a real tree view, read back through the
// control's own messages.
#include "framework/tree_ctrl_win32.h"

#include "framework/image_list_win32.h"
#include "tests/support/parent_window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const DWORD kTreeStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                         TVS_SHOWSELALWAYS;

class TreeCtrlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(parent.hwnd(), nullptr);
        ASSERT_TRUE(tree.Create(kTreeStyle, RECT{0, 23, 300, 400}, parent.hwnd(), 103));
    }

    // The texts of `item`'s children, in order.
    std::vector<std::string> child_texts(HTREEITEM item)
    {
        std::vector<std::string> texts;
        for (HTREEITEM c = tree.GetChildItem(item); c; c = tree.GetNextSiblingItem(c))
            texts.push_back(tree.GetItemText(c));
        return texts;
    }

    ParentWindow parent{400, 420};
    CTreeCtrl tree;
};

TEST_F(TreeCtrlTest, ItemsKeepTextImagesAndDataUnderTheirParent)
{
    HTREEITEM root = tree.InsertItem("My Computer", 0, 0);
    HTREEITEM bios = tree.InsertItem("Win32_Bios", 1, 1, root);
    HTREEITEM run = tree.InsertItem("Run", 2, 2, root, TVI_LAST, 77);
    HTREEITEM first = tree.InsertItem("First", 1, 2, root, TVI_FIRST);
    ASSERT_TRUE(root && bios && run && first);

    EXPECT_EQ(tree.GetCount(), 4u);
    EXPECT_EQ(tree.GetRootItem(), root);
    EXPECT_EQ(child_texts(root), (std::vector<std::string>{"First", "Win32_Bios", "Run"}));
    EXPECT_EQ(tree.GetNextSiblingItem(root), nullptr);

    int image = -1;
    int selected = -1;
    ASSERT_TRUE(tree.GetItemImage(first, image, selected));
    EXPECT_EQ(image, 1);
    EXPECT_EQ(selected, 2);
    ASSERT_TRUE(tree.GetItemImage(run, image, selected));
    EXPECT_EQ(image, 2);
    EXPECT_EQ(selected, 2);

    EXPECT_EQ(tree.GetItemData(bios), 0);
    EXPECT_EQ(tree.GetItemData(run), 77);
    ASSERT_TRUE(tree.SetItemData(bios, 12345));
    EXPECT_EQ(tree.GetItemData(bios), 12345);
    EXPECT_EQ(tree.GetItemData(run), 77);

    ASSERT_TRUE(tree.DeleteAllItems());
    EXPECT_EQ(tree.GetCount(), 0u);
    EXPECT_EQ(tree.GetRootItem(), nullptr);
}

// Lengths on both sides of the reading buffer's first sizes, and a long one.
TEST_F(TreeCtrlTest, ItemTextsOfAnyLengthReadBackWhole)
{
    for (size_t length : {0u, 1u, 254u, 255u, 256u, 257u, 511u, 512u, 513u, 5000u}) {
        std::string text;
        for (size_t i = 0; i < length; ++i)
            text += static_cast<char>('A' + i % 26);
        HTREEITEM item = tree.InsertItem(text, 1, 1);
        ASSERT_NE(item, nullptr) << length;
        EXPECT_EQ(tree.GetItemText(item), text) << "length " << length;
    }
}

TEST_F(TreeCtrlTest, SelectionAndExpansionFollowTheCalls)
{
    HTREEITEM root = tree.InsertItem("root", 0, 0);
    HTREEITEM a = tree.InsertItem("a", 1, 1, root);
    HTREEITEM b = tree.InsertItem("b", 1, 1, root);

    EXPECT_FALSE(tree.IsExpanded(root));
    ASSERT_TRUE(tree.Expand(root));
    EXPECT_TRUE(tree.IsExpanded(root));

    ASSERT_TRUE(tree.SelectItem(b));
    EXPECT_EQ(tree.GetSelectedItem(), b);
    ASSERT_TRUE(tree.SelectItem(a));
    EXPECT_EQ(tree.GetSelectedItem(), a);

    ASSERT_TRUE(tree.Expand(root, TVE_COLLAPSE));
    EXPECT_FALSE(tree.IsExpanded(root));
}

TEST_F(TreeCtrlTest, HitTestFindsTheItemUnderAPoint)
{
    HTREEITEM root = tree.InsertItem("root", 0, 0);
    HTREEITEM items[3] = {tree.InsertItem("alpha", 1, 1, root), tree.InsertItem("beta", 1, 1, root),
                          tree.InsertItem("gamma", 2, 2, root)};
    tree.Expand(root);

    for (HTREEITEM item : items) {
        RECT label;
        ASSERT_TRUE(tree.GetItemRect(item, label, true));
        POINT centre{(label.left + label.right) / 2, (label.top + label.bottom) / 2};
        UINT flags = 0;
        EXPECT_EQ(tree.HitTest(centre, &flags), item) << tree.GetItemText(item);
        EXPECT_TRUE(flags & TVHT_ONITEMLABEL) << flags;
    }

    RECT last;
    ASSERT_TRUE(tree.GetItemRect(items[2], last, false));
    UINT flags = 0;
    EXPECT_EQ(tree.HitTest(POINT{10, last.bottom + 40}, &flags), nullptr);
    EXPECT_TRUE(flags & TVHT_NOWHERE) << flags;
}

TEST_F(TreeCtrlTest, ImageListIsSetAndGivenBack)
{
    CImageList images;
    ASSERT_TRUE(images.Create(16, 16, ILC_COLOR32 | ILC_MASK, 16, 100));
    EXPECT_EQ(tree.GetImageList(), nullptr);
    EXPECT_EQ(tree.SetImageList(images.GetSafeHandle()), nullptr);
    EXPECT_EQ(tree.GetImageList(), images.GetSafeHandle());
    EXPECT_EQ(tree.SetImageList(nullptr), images.GetSafeHandle());
}

}  // namespace
