// The host has no window system: no document can be made or opened there,
// and there are no command states to update.
#include "framework/winapp.h"

int CWinApp::OnIdle(long) { return 0; }

void CWinApp::OnFileNew() {}
void CWinApp::OnFileOpen() {}
void CWinApp::OnAppExit() {}
bool CWinApp::OpenDocumentFile(const std::string&) { return false; }
