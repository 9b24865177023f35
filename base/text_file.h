// Files as the program writes and reads them: 8-bit text whose line ends are
// CR LF on disk, on every platform. The writer turns each "\n" into "\r\n";
// the reader hands out whole lines without their line end.
#pragma once

#include <cstdarg>
#include <cstdio>
#include <string>

class TextFile {
public:
    TextFile() = default;
    ~TextFile() { close(); }
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;

    // Mode 'w' creates or empties the file, 'r' opens it for reading, 'a'
    // creates it or keeps what it holds, and every write then lands at its
    // end, also after another writer (another process) has made it longer.
    bool open(const std::string& path, char mode);
    bool is_open() const { return file_ != nullptr; }
    void close();

    // Writes the text with every "\n" as CR LF, in one write call, and flushes
    // when asked; a line written this way reaches the file whole even when two
    // threads share the file.
    void write(const std::string& text, bool flush_after = false);
    void printf(const char* format, ...);
    void flush();

    // Next line, without its line feed and the carriage return before it.
    // A line of any length is one line; false at the end of the file.
    bool read_line(std::string& line);

private:
    std::FILE* file_ = nullptr;
};

// printf into a std::string, of any length.
std::string format_text(const char* format, ...);
std::string vformat_text(const char* format, std::va_list args);
