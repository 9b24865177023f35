#include "output/bitmap_file.h"

#include <cstdio>
#include <memory>
#include <new>

namespace {

constexpr uint32_t FILE_HEADER_SIZE = 14;
constexpr uint32_t INFO_HEADER_SIZE = 40;

void put16(std::string& out, uint32_t value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void put32(std::string& out, uint32_t value)
{
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

uint32_t bitmap_row_size(int32_t width, uint16_t bits_per_pixel)
{
    const uint64_t bits = static_cast<uint64_t>(width < 0 ? -static_cast<int64_t>(width) : width) * bits_per_pixel;
    return static_cast<uint32_t>((bits + 31) / 32 * 4);
}

uint32_t bitmap_image_size(const BitmapFormat& format)
{
    if (format.image_size != 0)
        return format.image_size;
    const int64_t height = format.height < 0 ? -static_cast<int64_t>(format.height) : format.height;
    return static_cast<uint32_t>(bitmap_row_size(format.width, format.bits_per_pixel) * height);
}

std::string bitmap_file_header(const BitmapFormat& format)
{
    const uint32_t image_size = bitmap_image_size(format);
    const uint32_t offset = FILE_HEADER_SIZE + INFO_HEADER_SIZE;
    std::string out;
    out.reserve(offset);
    out += "BM";
    put32(out, image_size + offset);
    put16(out, 0);
    put16(out, 0);
    put32(out, offset);

    put32(out, INFO_HEADER_SIZE);
    put32(out, static_cast<uint32_t>(format.width));
    put32(out, static_cast<uint32_t>(format.height));
    put16(out, 1);  // planes
    put16(out, format.bits_per_pixel);
    put32(out, 0);  // uncompressed
    put32(out, image_size);
    put32(out, static_cast<uint32_t>(format.x_pixels_per_metre));
    put32(out, static_cast<uint32_t>(format.y_pixels_per_metre));
    put32(out, format.colours_used);
    put32(out, format.important_colours);
    return out;
}

std::optional<std::string> write_bitmap_file(const std::string& path, const BitmapFormat& format,
                                             const std::function<void(unsigned char* rows)>& fill_rows)
{
    const uint32_t image_size = bitmap_image_size(format);
    std::unique_ptr<unsigned char[]> rows(new (std::nothrow) unsigned char[image_size]);
    if (!rows)
        return std::string("Unable to Allocate Bitmap Memory");
    fill_rows(rows.get());

    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file)
        return std::string("Unable to Create Bitmap File");
    const std::string header = bitmap_file_header(format);
    std::fwrite(header.data(), 1, header.size(), file.get());
    std::fwrite(rows.get(), 1, image_size, file.get());
    return std::nullopt;
}
