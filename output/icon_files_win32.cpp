#include "output/icon_files_win32.h"

#include "app/text_file.h"
#include "output/bitmap_file.h"
#include "res/resource.h"

#include <cstdlib>

namespace {

// The device context of a window (the screen's for none), released with it.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc()
    {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

struct DcDeleter {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
using UniqueMemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter>;

struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
using UniqueBitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, GdiObjectDeleter>;

// The bitmap information header and room for a colour table behind it, which
// GetDIBits may fill in.
struct DibInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colours[256];
};

}  // namespace

UniqueImageList load_tree_images()
{
    UniqueImageList list(ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 16, 100));
    if (!list)
        return list;
    UniqueBitmap strip(LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_ICON_STRIP)));
    if (strip)
        ImageList_AddMasked(list.get(), strip.get(), RGB(0, 0, 0));
    return list;
}

void write_bmp(HBITMAP bitmap, const std::string& path)
{
    WindowDc screen(nullptr);
    DibInfo info = {};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    GetDIBits(screen.get(), bitmap, 0, 0, nullptr, reinterpret_cast<BITMAPINFO*>(&info),
              DIB_RGB_COLORS);

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
    write_bitmap_file(path, format, [&](unsigned char* rows) {
        GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(std::abs(format.height)), rows,
                  reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    });
}

void write_icons(const std::string& temp_dir, HIMAGELIST images, HWND model_window)
{
    UniqueBitmap title(LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_TITLE)));
    if (title)
        write_bmp(title.get(), temp_dir + "\\img_00.bmp");
    if (!images)
        return;

    WindowDc window_dc(model_window);
    // The count is asked anew for each image; images 0 to 2 are the tree's own.
    for (int i = 3; i < ImageList_GetImageCount(images); ++i) {
        IMAGEINFO image = {};
        ImageList_GetImageInfo(images, i, &image);
        const int width = image.rcImage.right - image.rcImage.left;
        const int height = image.rcImage.bottom - image.rcImage.top;

        UniqueMemoryDc memory(CreateCompatibleDC(window_dc.get()));
        UniqueBitmap icon(CreateCompatibleBitmap(window_dc.get(), width, height));
        HGDIOBJ previous = SelectObject(memory.get(), icon.get());
        // The list has no background colour: where its mask is transparent
        // the new bitmap keeps the pixels it was made with.
        IMAGELISTDRAWPARAMS draw = {};
        draw.cbSize = sizeof draw;
        draw.himl = images;
        draw.i = i;
        draw.hdcDst = memory.get();
        draw.cx = width;
        draw.cy = height;
        draw.rgbBk = CLR_DEFAULT;
        draw.rgbFg = CLR_DEFAULT;
        draw.fStyle = ILD_NORMAL;
        draw.dwRop = SRCCOPY;
        ImageList_DrawIndirect(&draw);
        SelectObject(memory.get(), previous);

        write_bmp(icon.get(), format_text("%s\\img_%02i.bmp", temp_dir.c_str(), i - 2));
    }
}
