#include "framework/msgbox_win32.h"

#include "framework/winapp_win32.h"
#include "base/platform.h"

int AfxMessageBox(const std::string& text, UINT type, UINT)
{
    CWinApp* app = AfxGetApp();
    HWND owner = app ? app->main_window : nullptr;
    std::string caption = app && !app->app_title.empty() ? app->app_title : std::string();
    if (caption.empty()) {
        // The program's file name without its folder and extension.
        caption = platform::module_file_name();
        size_t slash = caption.find_last_of("\\/");
        if (slash != std::string::npos)
            caption.erase(0, slash + 1);
        size_t dot = caption.rfind('.');
        if (dot != std::string::npos)
            caption.erase(dot);
    }
    return ::MessageBoxA(owner, text.c_str(), caption.c_str(), type);
}
