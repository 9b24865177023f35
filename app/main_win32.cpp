// The program's entry point. The application object is the one static
// object of the program: it is built before WinMain runs and destroyed when
// the process ends.
#include "app/application_win32.h"

#include <windows.h>

namespace {
mapp the_app;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR command_line, int)
{
    the_app.command_line = command_line ? command_line : "";
    if (!the_app.InitInstance())
        return the_app.exit_code;
    if (!the_app.main_window)
        return 0;  // the batch run, or no window could be made
    return RunMessageLoop(the_app);
}
