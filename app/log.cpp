#include "app/log.h"

#include "app/application.h"

#include <cstdarg>

void write_log(const char* format, ...)
{
    CWinApp* base = AfxGetApp();
    if (!base)
        return;
    std::va_list args;
    va_start(args, format);
    std::string line = vformat_text(format, args);
    va_end(args);
    static_cast<mapp*>(base)->gui.write_line(line);
}
