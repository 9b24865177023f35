#include "ui/icon_files_win32.h"

#include "framework/gdi_win32.h"
#include "base/text_file.h"
#include "base/window_side.h"
#include "output/bitmap_file.h"
#include "res/resource.h"

#include <cstdlib>
#include <memory>

namespace {

// The bitmap information header and room for a colour table behind it, which
// GetDIBits may fill in.
struct DibInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colours[256];
};

}  // namespace

bool load_tree_images(CImageList& list, const TreeImagesFailed& failed)
{
    auto report = [&](TreeImagesStep step) {
        if (failed)
            failed(step);
    };
    if (!list.Create(16, 16, ILC_COLOR32 | ILC_MASK, 16, 100)) {
        report(TreeImagesStep::make_list);
        return false;
    }
    // The list copies the strip's pixels: the bitmap may go afterwards.
    CBitmap strip;
    if (!strip.LoadBitmap(IDB_ICON_STRIP))
        report(TreeImagesStep::load_strip);
    if (list.Add(strip, RGB(0, 0, 0)) < 0)
        report(TreeImagesStep::add_strip);
    return true;
}

PictureFailed box_picture_failure_once()
{
    auto said = std::make_shared<bool>(false);
    return [said](const std::string& text, const std::string&) {
        if (*said)
            return;
        *said = true;
        window_side().stop_box(text);
    };
}

std::optional<std::string> write_bmp(HBITMAP bitmap, const std::string& path)
{
    CClientDC screen(nullptr);
    DibInfo info = {};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    GetDIBits(screen.GetSafeHdc(), bitmap, 0, 0, nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);

    // Displays of 8 bits per pixel or fewer would need a colour table, which
    // the file does not have: their pictures are written at 24 bits instead.
    if (info.header.biBitCount <= 8) {
        info.header.biBitCount = 24;
        info.header.biSizeImage = 0;
        info.header.biClrUsed = 0;
        info.header.biClrImportant = 0;
    }
    info.header.biCompression = BI_RGB;

    BitmapFormat format;
    format.width = info.header.biWidth;
    format.height = info.header.biHeight;
    format.bits_per_pixel = info.header.biBitCount;
    format.image_size = info.header.biSizeImage;
    format.x_pixels_per_metre = info.header.biXPelsPerMeter;
    format.y_pixels_per_metre = info.header.biYPelsPerMeter;
    format.colours_used = info.header.biClrUsed;
    format.important_colours = info.header.biClrImportant;
    return write_bitmap_file(path, format, [&](unsigned char* rows) {
        GetDIBits(screen.GetSafeHdc(), bitmap, 0, static_cast<UINT>(std::abs(format.height)), rows,
                  reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    });
}

void write_icons(const std::string& temp_dir, HIMAGELIST images, HWND model_window, const PictureFailed& failed)
{
    auto write = [&](HBITMAP bitmap, const std::string& path) {
        if (std::optional<std::string> failure = write_bmp(bitmap, path))
            failed(*failure, path);
    };
    CBitmap title;
    if (title.LoadBitmap(IDB_TITLE))
        write(title, temp_dir + "\\img_00.bmp");
    if (!images)
        return;

    CClientDC window_dc(model_window);
    // The count is asked anew for each image; images 0 to 2 are the tree's own.
    for (int i = 3; i < ImageList_GetImageCount(images); ++i) {
        IMAGEINFO image = {};
        ImageList_GetImageInfo(images, i, &image);
        const int width = image.rcImage.right - image.rcImage.left;
        const int height = image.rcImage.bottom - image.rcImage.top;

        CDC memory;
        memory.CreateCompatibleDC(window_dc);
        CBitmap icon;
        icon.CreateCompatibleBitmap(window_dc, width, height);
        {
            // The list has no background colour: where its mask is
            // transparent the new bitmap keeps the pixels it was made with.
            SelectionGuard selected(memory, icon);
            DrawImageIndirect(images, memory, i, POINT{0, 0}, SIZE{width, height}, POINT{0, 0});
        }  // the bitmap is free to be read once the old one is back

        write(icon, format_text("%s\\img_%02i.bmp", temp_dir.c_str(), i - 2));
    }
}
