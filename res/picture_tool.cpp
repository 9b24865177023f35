// picture_tool: turns a picture file of res/pictures/ into the file that the
// resource compiler embeds. Built and run on the build machine.
//
//   picture_tool bmp24 PICTURE OUT.bmp   images side by side, 24 bits per pixel
//   picture_tool bmp4  PICTURE OUT.bmp   the same with a colour table of 16
//   picture_tool ico   PICTURE OUT.ico   one icon image per image, 32 bits with mask
//   picture_tool cur   PICTURE OUT.cur   one monochrome cursor image with its hot spot
//
// A picture file is text, one line at a time:
//   # ...                          a comment; empty lines are skipped too
//   colour C RRGGBB  [words]       the character C stands for that colour
//   colour C transparent [words]   C is see-through (icons and cursors only)
//   hotspot X Y                    the cursor's hot spot, from the top left
//   image [words]                  starts the next image
//   anything else                  a row of pixels of the current image, one
//                                  character per pixel, top row first
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Colour {
    bool transparent = false;
    uint8_t red = 0, green = 0, blue = 0;
    bool operator==(const Colour& o) const
    {
        return transparent == o.transparent && red == o.red && green == o.green && blue == o.blue;
    }
};

struct Image {
    std::string name;
    std::vector<std::vector<Colour>> rows;  // top row first
    int width() const { return rows.empty() ? 0 : static_cast<int>(rows[0].size()); }
    int height() const { return static_cast<int>(rows.size()); }
};

struct Picture {
    std::vector<Image> images;
    bool has_hotspot = false;
    int hotspot_x = 0, hotspot_y = 0;
};

[[noreturn]] void fail(const std::string& where, const std::string& what)
{
    std::fprintf(stderr, "picture_tool: %s: %s\n", where.c_str(), what.c_str());
    std::exit(1);
}

Picture read_picture(const std::string& path)
{
    std::ifstream in(path);
    if (!in)
        fail(path, "cannot open");
    Picture picture;
    std::map<char, Colour> palette;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::string where = path + ":" + std::to_string(number);
        std::istringstream words(line);
        std::string first;
        words >> first;
        if (line.empty() || line[0] == '#')
            continue;
        if (first == "colour") {
            std::string key, value;
            words >> key >> value;
            if (key.size() != 1)
                fail(where, "a colour is named by one character");
            Colour colour;
            if (value == "transparent") {
                colour.transparent = true;
            } else {
                char* end = nullptr;
                unsigned long rgb = std::strtoul(value.c_str(), &end, 16);
                if (value.size() != 6 || *end != '\0')
                    fail(where, "a colour is RRGGBB in hexadecimal or 'transparent'");
                colour.red = static_cast<uint8_t>(rgb >> 16);
                colour.green = static_cast<uint8_t>(rgb >> 8);
                colour.blue = static_cast<uint8_t>(rgb);
            }
            palette[key[0]] = colour;
        } else if (first == "hotspot") {
            if (!(words >> picture.hotspot_x >> picture.hotspot_y))
                fail(where, "hotspot X Y");
            picture.has_hotspot = true;
        } else if (first == "image") {
            Image image;
            std::getline(words, image.name);
            picture.images.push_back(image);
        } else {
            if (picture.images.empty())
                fail(where, "a pixel row before the first 'image' line");
            Image& image = picture.images.back();
            std::vector<Colour> row;
            for (char c : line) {
                auto found = palette.find(c);
                if (found == palette.end())
                    fail(where, std::string("no colour for '") + c + "'");
                row.push_back(found->second);
            }
            if (!image.rows.empty() && row.size() != image.rows[0].size())
                fail(where, "rows of one image differ in length");
            image.rows.push_back(row);
        }
    }
    if (picture.images.empty())
        fail(path, "no image");
    for (const Image& image : picture.images)
        if (image.height() == 0)
            fail(path, "image '" + image.name + "' has no rows");
    return picture;
}

// Little-endian byte writer.
class Bytes {
public:
    void u8(unsigned value) { data.push_back(static_cast<char>(value & 0xFF)); }
    void u16(unsigned value)
    {
        u8(value);
        u8(value >> 8);
    }
    void u32(uint32_t value)
    {
        u16(value & 0xFFFF);
        u16(value >> 16);
    }
    void pad_to(size_t size)
    {
        while (data.size() < size)
            u8(0);
    }
    std::string data;
};

uint32_t row_size(int width, int bits_per_pixel)
{
    return ((static_cast<uint32_t>(width) * bits_per_pixel + 31) / 32) * 4;
}

void info_header(Bytes& out, int width, int height, int bits_per_pixel, uint32_t image_size, uint32_t colours_used)
{
    out.u32(40);
    out.u32(static_cast<uint32_t>(width));
    out.u32(static_cast<uint32_t>(height));
    out.u16(1);
    out.u16(static_cast<unsigned>(bits_per_pixel));
    out.u32(0);  // uncompressed
    out.u32(image_size);
    out.u32(0);
    out.u32(0);
    out.u32(colours_used);
    out.u32(0);
}

// The images of the picture side by side, all of the same height.
Image side_by_side(const Picture& picture, const std::string& path)
{
    Image strip;
    strip.rows.resize(picture.images[0].height());
    for (const Image& image : picture.images) {
        if (image.height() != strip.height())
            fail(path, "image '" + image.name + "' differs in height from the first");
        for (int y = 0; y < image.height(); ++y)
            strip.rows[y].insert(strip.rows[y].end(), image.rows[y].begin(), image.rows[y].end());
    }
    for (const auto& row : strip.rows)
        for (const Colour& colour : row)
            if (colour.transparent)
                fail(path, "a bitmap has no transparent colour");
    return strip;
}

std::string bitmap_file(const Image& image, int bits_per_pixel, const std::string& path)
{
    const int width = image.width(), height = image.height();
    std::vector<Colour> table;
    if (bits_per_pixel == 4) {
        for (const auto& row : image.rows)
            for (const Colour& colour : row) {
                bool known = false;
                for (const Colour& entry : table)
                    known = known || entry == colour;
                if (!known)
                    table.push_back(colour);
            }
        if (table.size() > 16)
            fail(path, "more than 16 colours for a 4-bit bitmap");
        table.resize(16);
    }
    const uint32_t image_size = row_size(width, bits_per_pixel) * height;
    const uint32_t offset = 14 + 40 + static_cast<uint32_t>(table.size()) * 4;
    Bytes out;
    out.u8('B');
    out.u8('M');
    out.u32(offset + image_size);
    out.u32(0);
    out.u32(offset);
    info_header(out, width, height, bits_per_pixel, image_size, static_cast<uint32_t>(table.size()));
    for (const Colour& entry : table) {
        out.u8(entry.blue);
        out.u8(entry.green);
        out.u8(entry.red);
        out.u8(0);
    }
    for (int y = height - 1; y >= 0; --y) {
        const size_t row_start = out.data.size();
        if (bits_per_pixel == 24) {
            for (const Colour& colour : image.rows[y]) {
                out.u8(colour.blue);
                out.u8(colour.green);
                out.u8(colour.red);
            }
        } else {
            unsigned pair = 0;
            for (int x = 0; x < width; ++x) {
                unsigned index = 0;
                while (!(table[index] == image.rows[y][x]))
                    ++index;
                pair = (pair << 4) | index;
                if (x % 2 == 1) {
                    out.u8(pair);
                    pair = 0;
                }
            }
            if (width % 2 == 1)
                out.u8(pair << 4);
        }
        out.pad_to(row_start + row_size(width, bits_per_pixel));
    }
    return out.data;
}

// Rows of one bit per pixel, bottom row first: 1 where bit_of says so.
template <typename BitOf>
void one_bit_rows(Bytes& out, const Image& image, BitOf bit_of)
{
    for (int y = image.height() - 1; y >= 0; --y) {
        const size_t row_start = out.data.size();
        unsigned bits = 0;
        int x = 0;
        for (; x < image.width(); ++x) {
            bits = (bits << 1) | (bit_of(image.rows[y][x]) ? 1u : 0u);
            if (x % 8 == 7) {
                out.u8(bits);
                bits = 0;
            }
        }
        if (x % 8 != 0)
            out.u8(bits << (8 - x % 8));
        out.pad_to(row_start + row_size(image.width(), 1));
    }
}

// The mask rows of an icon or cursor image: 1 where the pixel is transparent.
void mask_rows(Bytes& out, const Image& image)
{
    one_bit_rows(out, image, [](const Colour& colour) { return colour.transparent; });
}

// Icon images: 32 bits per pixel (alpha 255, or 0 where transparent) and the mask.
std::string icon_image(const Image& image)
{
    Bytes out;
    const uint32_t size = row_size(image.width(), 32) * image.height() +
                          row_size(image.width(), 1) * image.height();
    info_header(out, image.width(), image.height() * 2, 32, size, 0);
    for (int y = image.height() - 1; y >= 0; --y)
        for (const Colour& colour : image.rows[y]) {
            out.u8(colour.blue);
            out.u8(colour.green);
            out.u8(colour.red);
            out.u8(colour.transparent ? 0 : 255);
        }
    mask_rows(out, image);
    return out.data;
}

// Cursor image: black and white (1 bit per pixel, two colours) and the mask.
std::string cursor_image(const Image& image, const std::string& path)
{
    Bytes out;
    const uint32_t size = row_size(image.width(), 1) * image.height() * 2;
    info_header(out, image.width(), image.height() * 2, 1, size, 2);
    out.u32(0x000000);
    out.u32(0xFFFFFF);
    one_bit_rows(out, image, [&](const Colour& colour) {
        const bool white = !colour.transparent && colour.red == 255 && colour.green == 255 && colour.blue == 255;
        const bool black = !colour.transparent && colour.red == 0 && colour.green == 0 && colour.blue == 0;
        if (!white && !black && !colour.transparent)
            fail(path, "a cursor is black, white and transparent only");
        return white;
    });
    mask_rows(out, image);
    return out.data;
}

// The icon or cursor file: the directory, then each image.
std::string icon_file(const Picture& picture, bool cursor, const std::string& path)
{
    std::vector<std::string> images;
    for (const Image& image : picture.images) {
        if (image.width() > 256 || image.height() > 256)
            fail(path, "an icon image is at most 256 by 256");
        images.push_back(cursor ? cursor_image(image, path) : icon_image(image));
    }
    Bytes out;
    out.u16(0);
    out.u16(cursor ? 2 : 1);
    out.u16(static_cast<unsigned>(images.size()));
    uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        const Image& image = picture.images[i];
        out.u8(image.width() % 256);
        out.u8(image.height() % 256);
        out.u8(cursor ? 2 : 0);  // colours in the table
        out.u8(0);
        out.u16(cursor ? picture.hotspot_x : 1);   // icon: planes
        out.u16(cursor ? picture.hotspot_y : 32);  // icon: bits per pixel
        out.u32(static_cast<uint32_t>(images[i].size()));
        out.u32(offset);
        offset += static_cast<uint32_t>(images[i].size());
    }
    for (const std::string& image : images)
        out.data += image;
    return out.data;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: picture_tool bmp24|bmp4|ico|cur PICTURE OUTPUT\n");
        return 2;
    }
    const std::string kind = argv[1], path = argv[2], output = argv[3];
    const Picture picture = read_picture(path);
    std::string bytes;
    if (kind == "bmp24" || kind == "bmp4") {
        bytes = bitmap_file(side_by_side(picture, path), kind == "bmp24" ? 24 : 4, path);
    } else if (kind == "ico") {
        bytes = icon_file(picture, false, path);
    } else if (kind == "cur") {
        if (picture.images.size() != 1 || !picture.has_hotspot)
            fail(path, "a cursor is one image with a hotspot line");
        bytes = icon_file(picture, true, path);
    } else {
        fail(kind, "unknown kind");
    }
    std::ofstream out(output, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        fail(output, "cannot write");
    return 0;
}
