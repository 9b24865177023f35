// The report's pictures as bitmap files, drawn from the program's own
// resources (this test program links them too): their names and numbering,
// their headers at the display's depth, their pixels, and the message for a
// folder that cannot be written.
#include "ui/icon_files_win32.h"

#include "output/bitmap_file.h"
#include "ui/report_pictures_win32.h"
#include "res/resource.h"
#include "tests/support/little_endian.h"
#include "tests/support/recording_window_side.h"
#include "tests/support/test_app_win32.h"
#include "tests/support/test_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <vector>

namespace {

int display_depth()
{
    HDC screen = GetDC(nullptr);
    const int depth = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
    ReleaseDC(nullptr, screen);
    return depth;
}

std::string image_file(int number)
{
    char name[32];
    std::snprintf(name, sizeof name, "img_%02i.bmp", number);
    return name;
}

// The colour (0xRRGGBB) of a pixel of a 24- or 32-bit file, from the top left.
uint32_t file_pixel(const std::string& bytes, int x, int y)
{
    const int width = static_cast<int>(u32_at(bytes, 18));
    const int height = static_cast<int>(u32_at(bytes, 22));
    const int bytes_per_pixel = (u32_at(bytes, 28) & 0xFFFF) / 8;
    const size_t at = 54 +
                      bitmap_row_size(width, static_cast<uint16_t>(bytes_per_pixel * 8)) *
                          static_cast<size_t>(height - 1 - y) +
                      static_cast<size_t>(x) * bytes_per_pixel;
    return static_cast<unsigned char>(bytes.at(at)) | (static_cast<unsigned char>(bytes.at(at + 1)) << 8) |
           (static_cast<unsigned char>(bytes.at(at + 2)) << 16);
}

// The pixels of a bitmap resource as 0xRRGGBB, top row first.
std::vector<uint32_t> resource_pixels(int id, int& width, int& height)
{
    HBITMAP bitmap = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
    BITMAP shape = {};
    GetObjectA(bitmap, sizeof shape, &shape);
    width = shape.bmWidth;
    height = shape.bmHeight;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    DeleteObject(bitmap);
    for (uint32_t& pixel : pixels)
        pixel &= 0xFFFFFF;
    return pixels;
}

std::vector<std::string> files_in(const std::string& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> names_up_to(int last)
{
    std::vector<std::string> names;
    for (int n = 0; n <= last; ++n)
        names.push_back(image_file(n));
    return names;
}

class IconFiles : public testing::Test {
protected:
    IconFiles()
    {
        dir = (std::filesystem::temp_directory_path() / ("polrix_icons_" + std::to_string(GetCurrentProcessId())))
                  .string();
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
    ~IconFiles() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }
    std::string dir;
};

TEST_F(IconFiles, TheTreeImageListHoldsTheNineteenImagesOfTheStrip)
{
    CImageList images;
    ASSERT_TRUE(load_tree_images(images));
    EXPECT_EQ(ImageList_GetImageCount(images.GetSafeHandle()), 19);
    int cx = 0, cy = 0;
    ImageList_GetIconSize(images.GetSafeHandle(), &cx, &cy);
    EXPECT_EQ(cx, 16);
    EXPECT_EQ(cy, 16);
}

// The 17 files that write_icons leaves with the given model window: the
// title and the sixteen class icons, at the display's depth, each showing its
// own picture (img_NN is image NN + 2 of the strip).
void expect_title_and_class_icons(const std::string& dir, HWND model)
{
    CImageList images;
    load_tree_images(images);
    const int depth = display_depth();
    int strip_width = 0, strip_height = 0, title_width = 0, title_height = 0;
    const std::vector<uint32_t> strip = resource_pixels(IDB_ICON_STRIP, strip_width, strip_height);
    const std::vector<uint32_t> title = resource_pixels(IDB_TITLE, title_width, title_height);
    ASSERT_EQ(strip_width, 304);
    ASSERT_EQ(title_width, 24);

    RecordingWindowSide side(model != nullptr);
    testing::internal::CaptureStderr();
    write_icons(dir, images.GetSafeHandle(), model);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    ASSERT_EQ(files_in(dir), names_up_to(16));

    for (int n = 0; n <= 16; ++n) {
        SCOPED_TRACE(image_file(n));
        const std::string bytes = read_file_bytes(dir + "\\" + image_file(n));
        ASSERT_GE(bytes.size(), 54u);
        const int side_length = n == 0 ? 24 : 16;
        EXPECT_EQ(bytes.substr(0, 2), "BM");
        EXPECT_EQ(u32_at(bytes, 2), bytes.size());
        EXPECT_EQ(u32_at(bytes, 10), 54u);
        EXPECT_EQ(u32_at(bytes, 14), 40u);
        EXPECT_EQ(u32_at(bytes, 18), static_cast<uint32_t>(side_length));
        EXPECT_EQ(u32_at(bytes, 22), static_cast<uint32_t>(side_length));  // positive
        EXPECT_EQ(u32_at(bytes, 26) & 0xFFFF, 1u);
        const uint16_t bits = u32_at(bytes, 28) & 0xFFFF;
        EXPECT_EQ(bits, depth > 8 ? depth : 24);
        EXPECT_EQ(u32_at(bytes, 30), 0u);
        EXPECT_EQ(u32_at(bytes, 34), bitmap_row_size(side_length, bits) * side_length);
        EXPECT_EQ(bytes.size(), 54 + bitmap_row_size(side_length, bits) * side_length);
        if (bits < 24)
            continue;  // 16-bit pixels are the display's rounding of the pictures
        for (int y = 0; y < side_length; ++y)
            for (int x = 0; x < side_length; ++x) {
                const uint32_t expected = n == 0 ? title[y * 24 + x] : strip[y * 304 + (n + 2) * 16 + x];
                ASSERT_EQ(file_pixel(bytes, x, y), expected) << "pixel " << x << "," << y;
            }
    }
}

TEST_F(IconFiles, TitleAndClassIconsWithAWindowAsTheModel)
{
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(window);
    expect_title_and_class_icons(dir, window);
    DestroyWindow(window);
}

// The batch run has no window: the screen's device context is the model.
TEST_F(IconFiles, TitleAndClassIconsWithoutAWindow) { expect_title_and_class_icons(dir, nullptr); }

TEST_F(IconFiles, FileNumbersFollowTheLengthOfTheImageList)
{
    CImageList images;
    load_tree_images(images);
    HBITMAP extra = CreateBitmap(16, 16, 1, 32, nullptr);
    ASSERT_EQ(ImageList_AddMasked(images.GetSafeHandle(), extra, RGB(0, 0, 0)), 19);
    DeleteObject(extra);
    write_icons(dir, images.GetSafeHandle(), nullptr);
    EXPECT_EQ(files_in(dir), names_up_to(17));

    // Three images or fewer: the title alone.
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    while (ImageList_GetImageCount(images.GetSafeHandle()) > 3)
        ImageList_Remove(images.GetSafeHandle(), 3);
    write_icons(dir, images.GetSafeHandle(), nullptr);
    EXPECT_EQ(files_in(dir), names_up_to(0));
}

TEST_F(IconFiles, AFolderThatCannotBeWrittenShowsTheMessageOncePerWriting)
{
    // All 17 pictures fail; the window says it once each time it writes them.
    CImageList images;
    load_tree_images(images);
    RecordingWindowSide side(true);
    testing::internal::CaptureStderr();
    write_icons(dir + "\\missing", images.GetSafeHandle(), nullptr);
    const std::string first = testing::internal::GetCapturedStderr();
    testing::internal::CaptureStderr();
    write_icons(dir + "\\missing", images.GetSafeHandle(), nullptr);
    const std::string second = testing::internal::GetCapturedStderr();
    EXPECT_EQ(first, "[stop box] Unable to Create Bitmap File\n");
    EXPECT_EQ(second, first);
    EXPECT_TRUE(files_in(dir).empty());
}

// The batch run's pictures: the same failures go to the log, and no box
// waits for a person who is not there.
TEST_F(IconFiles, TheBatchRunLogsEveryPictureItCannotWrite)
{
    RecordingWindowSide side(false);
    TestLog log;
    const std::string missing = dir + "\\missing";
    testing::internal::CaptureStderr();
    write_report_pictures(missing);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_TRUE(side.stop_boxes().empty());
    std::string expected;
    for (int n = 0; n <= 16; ++n)
        expected += "Unable to Create Bitmap File: " + missing + "\\" + image_file(n) + "\n";
    EXPECT_EQ(log.text(), expected);
}

}  // namespace
