// The bitmap file of the report's pictures: a 14-byte file header, a 40-byte
// information header and the pixel rows, bottom row first, each padded to a
// multiple of 4 bytes. No colour table follows the headers, so the pixel data
// always begin at offset 54; the writer serves 16, 24 and 32 bits per pixel.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

struct BitmapFormat {
    int32_t width = 0;
    int32_t height = 0;  // positive: the bottom row comes first
    uint16_t bits_per_pixel = 0;
    uint32_t image_size = 0;  // bytes of pixel data; 0: computed from the rest
    // As the graphics system reports them; 0 when it reports none.
    int32_t x_pixels_per_metre = 0;
    int32_t y_pixels_per_metre = 0;
    uint32_t colours_used = 0;
    uint32_t important_colours = 0;
};

// Bytes of one pixel row, padded to a multiple of 4.
uint32_t bitmap_row_size(int32_t width, uint16_t bits_per_pixel);

// The format's image size, or when that is 0 the row size times the height
// taken as a positive number.
uint32_t bitmap_image_size(const BitmapFormat& format);

// The 54 header bytes of the file, with the image size of bitmap_image_size.
std::string bitmap_file_header(const BitmapFormat& format);

// Writes the bitmap file at the path (an existing file is overwritten): takes
// a buffer of the image size, lets fill_rows put the pixel rows into it, then
// writes headers and rows. Answers none when written; otherwise the failure,
// "Unable to Allocate Bitmap Memory" when the buffer cannot be had or
// "Unable to Create Bitmap File" when the file cannot be created, and writes
// nothing. The caller says it: the window in a stop box, the batch run in
// its log (no box waits for nobody there).
std::optional<std::string> write_bitmap_file(const std::string& path, const BitmapFormat& format,
                                             const std::function<void(unsigned char* rows)>& fill_rows);
