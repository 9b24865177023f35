// Test helper: the clipboard of the Wine desktop's window station, read or
// set from outside the program.
//   clipboard DESKTOP get FILE    writes the CF_TEXT text, byte for byte
//                                 without its terminating zero, into FILE
//   clipboard DESKTOP getwide FILE  the same of CF_UNICODETEXT, converted to
//                                 the ANSI code page
//   clipboard DESKTOP set TEXT    puts TEXT on the clipboard as CF_TEXT
// Exit code 0; 1 when the clipboard could not be opened, holds no text of
// that form, or the file could not be written; 2 for a wrong call.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "desktop.h"

namespace {

bool open_clipboard()
{
    // Another process may hold it for a moment (the program copying).
    for (int tries = 0; tries < 50; ++tries) {
        if (OpenClipboard(nullptr))
            return true;
        Sleep(100);
    }
    return false;
}

bool read_text(UINT format, std::string& text)
{
    if (!open_clipboard())
        return false;
    bool held = false;
    if (HANDLE data = GetClipboardData(format)) {
        if (const void* at = GlobalLock(data)) {
            held = true;
            if (format == CF_UNICODETEXT) {
                const wchar_t* wide = static_cast<const wchar_t*>(at);
                const int size = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
                std::string converted(size > 0 ? static_cast<size_t>(size) : 1, '\0');
                if (size > 0)
                    WideCharToMultiByte(CP_ACP, 0, wide, -1, &converted[0], size, nullptr, nullptr);
                text = converted.c_str();
            } else {
                text = static_cast<const char*>(at);
            }
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return held;
}

bool write_text(const std::string& text)
{
    if (!open_clipboard())
        return false;
    EmptyClipboard();
    bool done = false;
    if (HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1)) {
        std::memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
        GlobalUnlock(block);
        done = SetClipboardData(CF_TEXT, block) != nullptr;
        if (!done)
            GlobalFree(block);
    }
    CloseClipboard();
    return done;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 4)
        return 2;
    if (!join_desktop(argv[1], 30))
        return 1;
    const std::string command = argv[2];
    if (command == "set")
        return write_text(argv[3]) ? 0 : 1;
    if (command != "get" && command != "getwide")
        return 2;
    std::string text;
    if (!read_text(command == "get" ? CF_TEXT : CF_UNICODETEXT, text))
        return 1;
    std::FILE* file = std::fopen(argv[3], "wb");
    if (!file)
        return 1;
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && written ? 0 : 1;
}
