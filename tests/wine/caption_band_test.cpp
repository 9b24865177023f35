// The panes' caption band drawn into a bitmap: its rows, its raised frame,
// its face and its caption, and nothing outside it.
#include "ui/caption_band_win32.h"

#include "res/resource.h"
#include "tests/support/test_app_win32.h"

#include <gtest/gtest.h>

namespace {

constexpr int WIDTH = 200;
constexpr int HEIGHT = 60;
constexpr int TOP = 10;
const COLORREF UNTOUCHED = RGB(1, 2, 3);

class CaptionBand : public ::testing::Test {
protected:
    void SetUp() override
    {
        CClientDC screen(nullptr);
        ASSERT_TRUE(memory.CreateCompatibleDC(screen));
        ASSERT_TRUE(bitmap.CreateCompatibleBitmap(screen, WIDTH, HEIGHT));
    }

    TestApp app;  // the inventory and the window state with the caption font
    CDC memory;
    CBitmap bitmap;
};

TEST_F(CaptionBand, FillsItsRowsWithARaisedFrameAndTheCaption)
{
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    SelectionGuard with_bitmap(memory, bitmap);
    memory.FillSolidRect(RECT{0, 0, WIDTH, HEIGHT}, UNTOUCHED);
    draw_caption_band(memory, RECT{0, 0, WIDTH, HEIGHT}, TOP, IDS_LIST_CAPTION);

    const int bottom = TOP + CAPTION_BAND_HEIGHT - 1;  // the band's last row
    EXPECT_EQ(CAPTION_BAND_HEIGHT, 22);
    struct Pixel {
        int x, y;
        COLORREF colour;
    };
    for (const Pixel& p :
         {Pixel{WIDTH / 2, TOP - 1, UNTOUCHED}, Pixel{WIDTH / 2, bottom + 1, UNTOUCHED},
          Pixel{WIDTH / 2, TOP, highlight}, Pixel{0, TOP + 5, highlight}, Pixel{WIDTH / 2, bottom, shadow},
          Pixel{WIDTH - 1, TOP + 5, shadow}, Pixel{3, TOP + 3, face}, Pixel{WIDTH - 4, bottom - 3, face}}) {
        EXPECT_EQ(GetPixel(memory, p.x, p.y), p.colour) << p.x << "," << p.y;
    }
    // The caption, centred: drawn pixels in the band's middle, none at its ends.
    int drawn_middle = 0;
    int drawn_ends = 0;
    for (int y = TOP + 1; y < bottom; ++y) {
        for (int x = 1; x < WIDTH - 1; ++x) {
            if (GetPixel(memory, x, y) == face)
                continue;
            (x > WIDTH / 4 && x < 3 * WIDTH / 4 ? drawn_middle : drawn_ends)++;
        }
    }
    EXPECT_GT(drawn_middle, 20);
    EXPECT_EQ(drawn_ends, 0);
}

}  // namespace
