#include "app/framework/winapp.h"

namespace {
CWinApp* g_app = nullptr;
}

CWinApp::CWinApp() { g_app = this; }

CWinApp::~CWinApp()
{
    if (g_app == this)
        g_app = nullptr;
}

// Command states are kept up to date by the frame itself, so the base idle
// pass has nothing more to do.
int CWinApp::OnIdle(long) { return 0; }

CWinApp* AfxGetApp() { return g_app; }
