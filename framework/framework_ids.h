// The framework's own identifiers: the standard commands its classes handle
// or route, the message pane's separator and the control IDs of the frame's
// bars and first pane. Plain macros, so that the resource compiler reads them
// too; an application's own identifiers live in a header of its own, which
// includes this one.
#pragma once

// Standard commands.
#define ID_FILE_OPEN 57601
#define ID_FILE_SAVE 57603
#define ID_FILE_SAVE_AS 57604
#define ID_APP_EXIT 57665
#define ID_HELP 57670
#define ID_VIEW_TOOLBAR 59392
#define ID_VIEW_STATUS_BAR 59393

// The status bar's message pane.
#define ID_SEPARATOR 0

// Control IDs of the frame's children: each bar has the number of the
// command that shows or hides it.
#define AFX_IDW_TOOLBAR ID_VIEW_TOOLBAR
#define AFX_IDW_STATUS_BAR ID_VIEW_STATUS_BAR
#define AFX_IDW_PANE_FIRST 59648
