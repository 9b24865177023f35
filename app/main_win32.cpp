// The program's entry point. The application object is the one static
// object of the program: it is built before WinMain runs and destroyed when
// the process ends.
#include "app/application.h"
#include "app/framework/ole_apartment_win32.h"
#include "ui/frame.h"

#include <windows.h>

namespace {

mapp the_app;

// The window's start: OLE first, once, on the window thread, where the
// overview page hosts the web browser control. It lasts until the process
// ends; the batch run never needs it.
bool start_window(mapp& app)
{
    static const OleApartment ole;
    return start_frame_window(app);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR command_line, int)
{
    the_app.command_line = command_line ? command_line : "";
    set_window_start(start_window);
    if (!the_app.InitInstance())
        return 0;
    if (!the_app.main_window)
        return 0;  // the batch run, or no window could be made
    return RunMessageLoop(the_app);
}
