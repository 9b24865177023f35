#include "base/log.h"

#include "base/text_file.h"

#include <atomic>
#include <cstdarg>

namespace {
std::atomic<TextFile*> g_log_file{nullptr};
}

void set_log_file(TextFile* file) { g_log_file = file; }

TextFile* log_file() { return g_log_file; }

void write_log(const char* format, ...)
{
    TextFile* file = g_log_file;
    if (!file)
        return;
    std::va_list args;
    va_start(args, format);
    std::string line = vformat_text(format, args);
    va_end(args);
    file->write(line, true);
}
