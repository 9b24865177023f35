// The application on the host: no windows, so no window commands.
#include "app/application.h"

const CommandMap& mapp::GetCommandMap() const { return CWinApp::GetCommandMap(); }
