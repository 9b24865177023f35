#include "base/text_file.h"

#include <cstdarg>
#include <vector>

bool TextFile::open(const std::string& path, char mode)
{
    close();
    // Binary mode on every platform: the CR LF translation is ours, so the
    // bytes on disk are the same whichever runtime wrote them.
    const char* how = mode == 'w' ? "wb" : (mode == 'a' ? "ab" : "rb");
    file_ = std::fopen(path.c_str(), how);
    return file_ != nullptr;
}

void TextFile::close()
{
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
}

void TextFile::write(const std::string& text, bool flush_after)
{
    if (!file_)
        return;
    std::string out;
    out.reserve(text.size() + 8);
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    std::fwrite(out.data(), 1, out.size(), file_);
    if (flush_after)
        std::fflush(file_);
}

void TextFile::printf(const char* format, ...)
{
    std::va_list args;
    va_start(args, format);
    write(vformat_text(format, args));
    va_end(args);
}

void TextFile::flush()
{
    if (file_)
        std::fflush(file_);
}

bool TextFile::read_line(std::string& line)
{
    line.clear();
    if (!file_)
        return false;
    int c;
    bool any = false;
    while ((c = std::fgetc(file_)) != EOF) {
        any = true;
        if (c == '\n')
            break;
        line += static_cast<char>(c);
    }
    if (!any)
        return false;
    if (c == '\n' && !line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

std::string vformat_text(const char* format, std::va_list args)
{
    std::va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (n <= 0)
        return std::string();
    std::vector<char> buf(static_cast<size_t>(n) + 1);
    std::vsnprintf(buf.data(), buf.size(), format, args);
    return std::string(buf.data(), static_cast<size_t>(n));
}

std::string format_text(const char* format, ...)
{
    std::va_list args;
    va_start(args, format);
    std::string s = vformat_text(format, args);
    va_end(args);
    return s;
}
