// The clipboard as the window writes it: one text, replacing what the
// clipboard held.
#pragma once

#include "base/windows_win32.h"

#include <string>

// Puts the ANSI text on the clipboard as CF_TEXT and, converted from the
// ANSI code page, as CF_UNICODETEXT, with `owner` as the clipboard's owner.
// False when the clipboard could not be opened or took neither form.
bool SetClipboardText(HWND owner, const std::string& text);

// The key message that copies: Ctrl+C pressed (Alt not held), whichever
// control it goes to.
bool is_copy_key(const MSG& msg);
