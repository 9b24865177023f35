// The GDI holders give their handles back: every object and context made
// in a scope is gone after it.
#include "framework/gdi_win32.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(FrameworkGdi, HoldersDeleteTheirObjectsAndContexts)
{
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    DWORD before = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    std::vector<HGDIOBJ> made;
    HDC memory_dc = nullptr;
    for (int round = 0; round < 50; ++round) {
        CClientDC screen(window);
        CDC memory;
        ASSERT_TRUE(memory.CreateCompatibleDC(screen));
        memory_dc = memory;
        CBitmap bitmap;
        ASSERT_TRUE(bitmap.CreateCompatibleBitmap(screen, 16, 16));
        EXPECT_EQ(bitmap.GetSize().cx, 16);
        CBrush brush;
        ASSERT_TRUE(brush.CreateSolidBrush(RGB(1, 2, 3)));
        CPen pen;
        ASSERT_TRUE(pen.CreatePen(PS_SOLID, 1, RGB(4, 5, 6)));
        CFont font;
        ASSERT_TRUE(font.CreatePointFont(90, "Tahoma"));
        {
            SelectionGuard with_bitmap(memory, bitmap);
            SelectionGuard with_pen(memory, pen);
            memory.FillSolidRect(RECT{0, 0, 16, 16}, RGB(10, 20, 30));
            EXPECT_EQ(GetPixel(memory, 3, 3), RGB(10, 20, 30));
        }
        made = {bitmap.handle(), brush.handle(), pen.handle(), static_cast<HGDIOBJ>(font.handle())};
    }
    for (HGDIOBJ object : made)
        EXPECT_EQ(GetObjectType(object), 0u) << object;
    EXPECT_EQ(GetObjectType(memory_dc), 0u);
    // Wine counts no GDI objects (0 always); on Windows the count is back
    // where it was. The handles themselves are checked above either way.
    if (before > 0) {
        EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), before);
    }
    DestroyWindow(window);
}

TEST(FrameworkGdi, AttachTakesOverAndDetachGivesBack)
{
    HBRUSH raw = CreateSolidBrush(RGB(9, 9, 9));
    {
        CBrush brush;
        brush.Attach(raw);
        EXPECT_EQ(brush.Detach(), raw);
    }
    EXPECT_EQ(GetObjectType(raw), static_cast<DWORD>(OBJ_BRUSH));
    {
        CBrush brush;
        brush.Attach(raw);
    }
    EXPECT_EQ(GetObjectType(raw), 0u);
}

}  // namespace
