// The image list wrapper against the common controls' image lists, with a
// strip of three 16 x 16 images drawn here: image 0 white, image 1 white with
// a black square (the mask colour) and one red pixel, image 2 green.
#include "framework/image_list_win32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace {

const int kSide = 16;
const int kImages = 3;
const int kStripWidth = kSide * kImages;
const int kRowBytes = kStripWidth * 3;  // 24 bits a pixel, a multiple of 4 already

const uint32_t kWhite = 0xFFFFFF;
const uint32_t kBlack = 0x000000;
const uint32_t kRed = 0xFF0000;
const uint32_t kGreen = 0x00FF00;
const uint32_t kBlue = 0x0000FF;

// Top-down coordinates inside one image.
uint32_t strip_colour(int image, int x, int y)
{
    if (image == 2)
        return kGreen;
    if (image == 1 && x >= 2 && x <= 5 && y >= 2 && y <= 5)
        return kBlack;
    if (image == 1 && x == 10 && y == 10)
        return kRed;
    return kWhite;
}

// The strip's pixels as a bottom-up 24-bit DIB: blue, green, red.
std::vector<unsigned char> strip_pixels()
{
    std::vector<unsigned char> pixels(kRowBytes * kSide);
    for (int y = 0; y < kSide; ++y) {
        unsigned char* row = &pixels[(kSide - 1 - y) * kRowBytes];
        for (int x = 0; x < kStripWidth; ++x) {
            uint32_t c = strip_colour(x / kSide, x % kSide, y);
            row[3 * x] = c & 0xFF;
            row[3 * x + 1] = (c >> 8) & 0xFF;
            row[3 * x + 2] = (c >> 16) & 0xFF;
        }
    }
    return pixels;
}

BITMAPINFOHEADER strip_header()
{
    BITMAPINFOHEADER h{};
    h.biSize = sizeof h;
    h.biWidth = kStripWidth;
    h.biHeight = kSide;
    h.biPlanes = 1;
    h.biBitCount = 24;
    h.biCompression = BI_RGB;
    h.biSizeImage = kRowBytes * kSide;
    return h;
}

struct GdiDelete {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
using OwnedBitmap = std::unique_ptr<std::remove_pointer<HBITMAP>::type, GdiDelete>;

OwnedBitmap strip_bitmap()
{
    BITMAPINFO info{};
    info.bmiHeader = strip_header();
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap) {
        std::vector<unsigned char> pixels = strip_pixels();
        std::copy(pixels.begin(), pixels.end(), static_cast<unsigned char*>(bits));
    }
    return OwnedBitmap(bitmap);
}

// The strip as a bitmap file in TEMP; gives its path.
std::string write_strip_file()
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string path = std::string(temp) + "polrix_image_list_strip.bmp";
    BITMAPINFOHEADER info = strip_header();
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + info.biSizeImage;
    std::vector<unsigned char> pixels = strip_pixels();
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return std::string();
    std::fwrite(&file, sizeof file, 1, f);
    std::fwrite(&info, sizeof info, 1, f);
    std::fwrite(pixels.data(), 1, pixels.size(), f);
    std::fclose(f);
    return path;
}

// A 16 x 16 canvas of 32-bit pixels in a memory device context, filled with
// one colour, that images are drawn on and read back from.
class Canvas {
public:
    explicit Canvas(uint32_t fill)
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = kSide;
        info.bmiHeader.biHeight = -kSide;  // top-down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        pixels_ = static_cast<uint32_t*>(bits);
        dc_ = CreateCompatibleDC(nullptr);
        previous_ = SelectObject(dc_, bitmap_.get());
        for (int i = 0; pixels_ && i < kSide * kSide; ++i)
            pixels_[i] = fill;
    }
    ~Canvas()
    {
        SelectObject(dc_, previous_);
        DeleteDC(dc_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const { return dc_; }
    uint32_t at(int x, int y) const
    {
        GdiFlush();
        return pixels_[y * kSide + x] & 0xFFFFFF;
    }

private:
    OwnedBitmap bitmap_;
    uint32_t* pixels_ = nullptr;
    HDC dc_ = nullptr;
    HGDIOBJ previous_ = nullptr;
};

// Draws `image` on a blue canvas and checks every pixel against the strip:
// the mask colour lets the blue show through.
void expect_drawn_as_strip(const CImageList& images, int image)
{
    Canvas canvas(kBlue);
    ASSERT_TRUE(images.DrawIndirect(canvas.dc(), image, POINT{0, 0}, SIZE{kSide, kSide}, POINT{0, 0}));
    int wrong = 0;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            uint32_t want = strip_colour(image, x, y);
            if (want == kBlack)
                want = kBlue;
            if (canvas.at(x, y) != want && ++wrong <= 3)
                ADD_FAILURE() << "image " << image << " pixel " << x << "," << y << ": " << std::hex
                              << canvas.at(x, y) << " instead of " << want;
        }
    EXPECT_EQ(wrong, 0) << "image " << image;
}

TEST(ImageList, BitmapAddedWithAMaskColourIsCutIntoTransparentImages)
{
    CImageList images;
    ASSERT_TRUE(images.Create(kSide, kSide, ILC_COLOR32 | ILC_MASK, 16, 100));
    OwnedBitmap strip = strip_bitmap();
    ASSERT_TRUE(strip);
    EXPECT_EQ(images.Add(strip.get(), RGB(0, 0, 0)), 0);
    EXPECT_EQ(images.GetImageCount(), kImages);
    EXPECT_EQ(images.Add(strip.get(), RGB(0, 0, 0)), kImages);
    EXPECT_EQ(images.GetImageCount(), 2 * kImages);

    for (int i = 0; i < kImages; ++i) {
        IMAGEINFO info{};
        ASSERT_TRUE(images.GetImageInfo(i, info));
        EXPECT_EQ(info.rcImage.right - info.rcImage.left, kSide);
        EXPECT_EQ(info.rcImage.bottom - info.rcImage.top, kSide);
        expect_drawn_as_strip(images, i);
    }
    IMAGEINFO none{};
    EXPECT_FALSE(images.GetImageInfo(2 * kImages, none));
}

TEST(ImageList, LoadedFromABitmapFileWithAMaskColour)
{
    std::string path = write_strip_file();
    ASSERT_FALSE(path.empty());
    CImageList images;
    ASSERT_TRUE(
        images.LoadBitmap(nullptr, path.c_str(), kSide, 100, RGB(0, 0, 0), LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    EXPECT_EQ(images.GetImageCount(), kImages);
    for (int i = 0; i < kImages; ++i)
        expect_drawn_as_strip(images, i);
    DeleteFileA(path.c_str());

    CImageList missing;
    EXPECT_FALSE(
        missing.LoadBitmap(nullptr, "C:\\no\\such\\strip.bmp", kSide, 100, RGB(0, 0, 0), LR_LOADFROMFILE));
    EXPECT_EQ(missing.GetImageCount(), 0);
}

TEST(ImageList, DetachHandsTheListOnAndAttachTakesItBack)
{
    CImageList images;
    ASSERT_TRUE(images.Create(kSide, kSide, ILC_COLOR32 | ILC_MASK, 4, 4));
    OwnedBitmap strip = strip_bitmap();
    images.Add(strip.get(), RGB(0, 0, 0));

    HIMAGELIST handed = images.Detach();
    ASSERT_NE(handed, nullptr);
    EXPECT_EQ(images.GetSafeHandle(), nullptr);
    EXPECT_EQ(images.GetImageCount(), 0);
    EXPECT_EQ(ImageList_GetImageCount(handed), kImages);

    CImageList other;
    other.Attach(handed);
    EXPECT_EQ(other.GetImageCount(), kImages);
    expect_drawn_as_strip(other, 1);
}

// The common controls refuse a destroyed list's handle: its count reads 0.
TEST(ImageList, AListIsDestroyedWithItsOwnerAndWhenAnotherIsAttached)
{
    OwnedBitmap strip = strip_bitmap();
    HIMAGELIST gone = nullptr;
    {
        CImageList images;
        ASSERT_TRUE(images.Create(kSide, kSide, ILC_COLOR32 | ILC_MASK, 4, 4));
        images.Add(strip.get(), RGB(0, 0, 0));
        gone = images.GetSafeHandle();
        ASSERT_EQ(ImageList_GetImageCount(gone), kImages);
    }
    EXPECT_EQ(ImageList_GetImageCount(gone), 0);

    CImageList images;
    ASSERT_TRUE(images.Create(kSide, kSide, ILC_COLOR32 | ILC_MASK, 4, 4));
    images.Add(strip.get(), RGB(0, 0, 0));
    HIMAGELIST first = images.GetSafeHandle();
    HIMAGELIST second = ImageList_Create(kSide, kSide, ILC_COLOR32 | ILC_MASK, 4, 4);
    images.Attach(second);
    EXPECT_EQ(ImageList_GetImageCount(first), 0);
    EXPECT_EQ(images.GetSafeHandle(), second);
    images.Attach(second);  // the same list again stays
    EXPECT_EQ(images.GetSafeHandle(), second);
    EXPECT_EQ(images.Add(strip.get(), RGB(0, 0, 0)), 0);
}

}  // namespace
