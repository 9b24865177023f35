#include "app/framework/winapp.h"

#include "res/resource.h"

namespace {
CWinApp* g_app = nullptr;
}

CWinApp::CWinApp() { g_app = this; }

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
