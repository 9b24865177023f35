#include "framework/clipboard_win32.h"

#include <cstring>

namespace {

// A movable global block holding the bytes, as the clipboard takes it; none
// when the memory is not there.
HGLOBAL global_copy(const void* bytes, size_t size)
{
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, size);
    if (!block)
        return nullptr;
    void* at = ::GlobalLock(block);
    if (!at) {
        ::GlobalFree(block);
        return nullptr;
    }
    std::memcpy(at, bytes, size);
    ::GlobalUnlock(block);
    return block;
}

// Hands the block to the clipboard, which owns it from then on; the block is
// freed here when the clipboard does not take it.
bool put(UINT format, HGLOBAL block)
{
    if (!block)
        return false;
    if (::SetClipboardData(format, block))
        return true;
    ::GlobalFree(block);
    return false;
}

}  // namespace

bool SetClipboardText(HWND owner, const std::string& text)
{
    if (!::OpenClipboard(owner))
        return false;
    ::EmptyClipboard();
    bool done = put(CF_TEXT, global_copy(text.c_str(), text.size() + 1));
    // The wide form with its terminating zero: the length of the ANSI text
    // and its zero, counted in wide characters.
    const int wide_length = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    if (wide_length > 0) {
        std::wstring wide(static_cast<size_t>(wide_length), L'\0');
        ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], wide_length);
        if (put(CF_UNICODETEXT, global_copy(wide.data(), wide.size() * sizeof(wchar_t))))
            done = true;
    }
    ::CloseClipboard();
    return done;
}

bool is_copy_key(const MSG& msg)
{
    return msg.message == WM_KEYDOWN && msg.wParam == 'C' && ::GetKeyState(VK_CONTROL) < 0 &&
           ::GetKeyState(VK_MENU) >= 0;
}
