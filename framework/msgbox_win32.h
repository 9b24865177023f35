// The window's message box: modal, with the application title as caption,
// owned by the main window; the caller waits until it is closed.
#pragma once

#include "base/windows_win32.h"

#include <string>

// type: the MB_ buttons and icon (MB_OK alone by default). Gives back the
// button that closed the box (IDOK, IDYES, ...), 0 when it failed.
int AfxMessageBox(const std::string& text, UINT type = MB_OK, UINT help_id = 0);
