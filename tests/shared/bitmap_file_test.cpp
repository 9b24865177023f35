// The bitmap file writer: the 54 header bytes, the row padding and the file
// it leaves, and its two messages.
#include "output/bitmap_file.h"

#include "tests/support/little_endian.h"
#include "tests/support/recording_window_side.h"
#include "tests/support/test_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

struct SizeCase {
    int32_t width;
    int32_t height;
    uint16_t bits_per_pixel;
    uint32_t row_size;
    uint32_t image_size;
};

class BitmapSizes : public testing::TestWithParam<SizeCase> {};

TEST_P(BitmapSizes, HeaderHoldsTheFormatAndThePaddedImageSize)
{
    const SizeCase c = GetParam();
    BitmapFormat format;
    format.width = c.width;
    format.height = c.height;
    format.bits_per_pixel = c.bits_per_pixel;
    EXPECT_EQ(bitmap_row_size(c.width, c.bits_per_pixel), c.row_size);
    EXPECT_EQ(bitmap_image_size(format), c.image_size);

    const std::string header = bitmap_file_header(format);
    ASSERT_EQ(header.size(), 54u);
    EXPECT_EQ(header.substr(0, 2), "BM");
    EXPECT_EQ(u32_at(header, 2), c.image_size + 54);  // file size
    EXPECT_EQ(u16_at(header, 6), 0u);
    EXPECT_EQ(u16_at(header, 8), 0u);
    EXPECT_EQ(u32_at(header, 10), 54u);  // pixel data offset
    EXPECT_EQ(u32_at(header, 14), 40u);  // information header size
    EXPECT_EQ(u32_at(header, 18), static_cast<uint32_t>(c.width));
    EXPECT_EQ(u32_at(header, 22), static_cast<uint32_t>(c.height));
    EXPECT_EQ(u16_at(header, 26), 1u);  // planes
    EXPECT_EQ(u16_at(header, 28), c.bits_per_pixel);
    EXPECT_EQ(u32_at(header, 30), 0u);  // uncompressed
    EXPECT_EQ(u32_at(header, 34), c.image_size);
    for (size_t offset : {38, 42, 46, 50})
        EXPECT_EQ(u32_at(header, offset), 0u) << "offset " << offset;
}

INSTANTIATE_TEST_SUITE_P(DepthsAndWidths, BitmapSizes,
                         testing::Values(
                             // The class icons and the title picture at the three display depths.
                             SizeCase{16, 16, 16, 32, 512}, SizeCase{16, 16, 24, 48, 768},
                             SizeCase{16, 16, 32, 64, 1024}, SizeCase{24, 24, 16, 48, 1152},
                             SizeCase{24, 24, 24, 72, 1728}, SizeCase{24, 24, 32, 96, 2304},
                             // Odd widths: every row is padded up to a multiple of 4 bytes.
                             SizeCase{1, 1, 24, 4, 4}, SizeCase{1, 3, 16, 4, 12}, SizeCase{3, 2, 24, 12, 24},
                             SizeCase{5, 2, 16, 12, 24}, SizeCase{13, 2, 24, 40, 80}, SizeCase{7, 1, 32, 28, 28},
                             SizeCase{0, 0, 24, 0, 0}));

TEST(BitmapFile, ReportedImageSizeAndFieldsAreKept)
{
    BitmapFormat format;
    format.width = 16;
    format.height = 16;
    format.bits_per_pixel = 32;
    format.image_size = 1100;  // as the graphics system reported it
    format.x_pixels_per_metre = 3780;
    format.y_pixels_per_metre = 3781;
    format.colours_used = 7;
    format.important_colours = 5;
    const std::string header = bitmap_file_header(format);
    EXPECT_EQ(u32_at(header, 2), 1154u);
    EXPECT_EQ(u32_at(header, 34), 1100u);
    EXPECT_EQ(u32_at(header, 38), 3780u);
    EXPECT_EQ(u32_at(header, 42), 3781u);
    EXPECT_EQ(u32_at(header, 46), 7u);
    EXPECT_EQ(u32_at(header, 50), 5u);
}

TEST(BitmapFile, ImageSizeCountsTheRowsOfANegativeHeight)
{
    BitmapFormat format;
    format.width = 16;
    format.height = -16;
    format.bits_per_pixel = 24;
    EXPECT_EQ(bitmap_image_size(format), 768u);
}

class BitmapFileWrite : public testing::Test {
protected:
    BitmapFileWrite()
    {
        dir = std::filesystem::temp_directory_path() /
              ("polrix_bitmap_" + std::to_string(reinterpret_cast<uintptr_t>(this)));
        std::filesystem::create_directories(dir);
    }
    ~BitmapFileWrite() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }
    std::filesystem::path dir;
};

TEST_F(BitmapFileWrite, WritesHeaderThenTheRowsAsFilledAndReplacesAnOlderFile)
{
    const std::string path = (dir / "img_01.bmp").string();
    {
        std::ofstream old(path, std::ios::binary);
        old << std::string(5000, 'x');
    }
    BitmapFormat format;
    format.width = 3;  // 9 bytes of pixels and 3 of padding per row
    format.height = 2;
    format.bits_per_pixel = 24;
    RecordingWindowSide side(true);
    testing::internal::CaptureStderr();
    EXPECT_EQ(write_bitmap_file(path, format,
                                [](unsigned char* rows) {
                                    for (int i = 0; i < 24; ++i)
                                        rows[i] = static_cast<unsigned char>(i + 1);
                                }),
              std::nullopt);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

    const std::string bytes = read_file_bytes(path);
    ASSERT_EQ(bytes.size(), 54u + 24u);
    EXPECT_EQ(bytes.substr(0, 54), bitmap_file_header(format));
    for (int i = 0; i < 24; ++i)
        EXPECT_EQ(static_cast<unsigned char>(bytes[54 + i]), i + 1) << "pixel byte " << i;
}

// The writer shows nothing itself: the caller decides between a box (the
// window) and a log line (the batch run).
TEST_F(BitmapFileWrite, AFileThatCannotBeCreatedAnswersItsMessageEachTimeAndShowsNothing)
{
    const std::string path = (dir / "no such folder" / "img_00.bmp").string();
    BitmapFormat format;
    format.width = 16;
    format.height = 16;
    format.bits_per_pixel = 32;
    RecordingWindowSide side(true);
    testing::internal::CaptureStderr();
    EXPECT_EQ(write_bitmap_file(path, format, [](unsigned char*) {}),
              std::optional<std::string>("Unable to Create Bitmap File"));
    EXPECT_EQ(write_bitmap_file(path, format, [](unsigned char*) {}),
              std::optional<std::string>("Unable to Create Bitmap File"));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_TRUE(side.stop_boxes().empty());
    EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace
