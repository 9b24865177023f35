// The commands of the program's main window, sent or posted as WM_COMMAND
// with lParam 0. The reader sends two of them through the window side; the
// window's handlers, menu and toolbar reach them through res/resource.h,
// which includes this header. Plain macros, so that the resource compiler
// reads them too.
#pragma once

#define ID_FILL_TREE 200
#define ID_FILL_RESULT 201
#define ID_SHOW_REPORT 202
#define ID_RELOAD_PAGE 203
#define ID_CHECK_MODE 204
#define ID_SAVE_QUERIES 205
#define ID_STATUS_TEXT 206
