// The window tests run without the program's main frame: main_frame() gives
// none, so the frame's layout step is never reached. Linked from an archive
// after the program's own code, so the frame's definitions win once the
// program has them.
#include "ui/frame_win32.h"

mwin* main_frame() { return nullptr; }

void mwin::OnSize(UINT, int, int) {}
