#include "framework/winapp.h"

#include "base/window_side.h"
#include "framework/framework_ids.h"

namespace {
CWinApp* g_app = nullptr;

void* current_main_window() { return g_app ? g_app->main_window : nullptr; }
}

CWinApp::CWinApp()
{
    g_app = this;
    // The window side (base/) sends the core's commands to this window.
    set_main_window_source(current_main_window);
}

CWinApp::~CWinApp()
{
    if (g_app == this)
        g_app = nullptr;
}

const CommandMap& CWinApp::GetCommandMap() const
{
    static const CommandMap map(&(CCmdTarget::GetCommandMap()), {
        command_handler(ID_APP_EXIT, &CWinApp::OnAppExit),
    });
    return map;
}

CWinApp* AfxGetApp() { return g_app; }
