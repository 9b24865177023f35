// The clipboard and the keyboard as the window tests need them: what the
// clipboard holds in its two text forms, a text of the test's own put there,
// and keys held down (Ctrl, Alt) while a key message is handled. Win32
// only, in-process.
#pragma once

#include "base/windows_win32.h"

#include <cstring>
#include <string>
#include <vector>

// The clipboard's text in one form, without its terminating zero; `held`
// false when the clipboard holds no text of that form.
struct ClipboardText {
    bool held = false;
    std::string text;  // CF_TEXT as it is; CF_UNICODETEXT in the ANSI code page
};

inline ClipboardText clipboard_text_of(UINT format)
{
    ClipboardText seen;
    if (!OpenClipboard(nullptr))
        return seen;
    if (HANDLE data = GetClipboardData(format)) {
        if (const void* at = GlobalLock(data)) {
            seen.held = true;
            if (format == CF_UNICODETEXT) {
                const wchar_t* wide = static_cast<const wchar_t*>(at);
                const int size = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
                if (size > 0) {
                    std::string text(static_cast<size_t>(size), '\0');
                    WideCharToMultiByte(CP_ACP, 0, wide, -1, &text[0], size, nullptr, nullptr);
                    seen.text = text.c_str();
                }
            } else {
                seen.text = static_cast<const char*>(at);
            }
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return seen;
}

// Puts a text of the test's own on the clipboard (CF_TEXT alone).
inline bool put_clipboard_text(const std::string& text)
{
    if (!OpenClipboard(nullptr))
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

// The keys are down for GetKeyState while the object lives; the thread's
// key state as it was afterwards.
class HeldKeys {
public:
    explicit HeldKeys(const std::vector<int>& keys)
    {
        GetKeyboardState(saved_);
        BYTE state[256];
        std::memcpy(state, saved_, sizeof state);
        for (int key : keys)
            state[key] = 0x80;
        SetKeyboardState(state);
    }
    ~HeldKeys() { SetKeyboardState(saved_); }
    HeldKeys(const HeldKeys&) = delete;
    HeldKeys& operator=(const HeldKeys&) = delete;

private:
    BYTE saved_[256] = {};
};
