// Every identifier of the program: resources, commands, status panes and
// control IDs. Plain macros, so that both the C++ code and the resource
// compiler read this one file.
#pragma once

// Resources: the menu, the toolbar bitmap, the frame's icon and the
// application's string all share number 100.
#define IDR_MAINFRAME 100
#define IDB_ICON_STRIP 101  // the icon strip "mbmp": the tree's 19 images
#define IDB_TITLE 102       // the report's title picture
#define IDD_ABOUTBOX 109
#define IDC_HAND_CURSOR 110

// Commands of the frame, sent or posted as WM_COMMAND with lParam 0.
#define ID_FILL_TREE 200
#define ID_FILL_RESULT 201
#define ID_SHOW_REPORT 202
#define ID_RELOAD_PAGE 203
#define ID_CHECK_MODE 204
#define ID_SAVE_QUERIES 205
#define ID_STATUS_TEXT 206
#define ID_APP_ABOUT 107

// Standard commands of the framework.
#define ID_FILE_OPEN 57601
#define ID_FILE_SAVE 57603
#define ID_FILE_SAVE_AS 57604
#define ID_APP_EXIT 57665
#define ID_HELP 57670
#define ID_VIEW_TOOLBAR 59392
#define ID_VIEW_STATUS_BAR 59393

// Strings.
#define IDS_APP_TITLE 100     // "Polrix", also the window's title
#define IDS_ABOUT_PROMPT 107  // status prompt of the about command
#define IDS_HELP_PROMPT 57670 // status prompt of the help command
#define IDS_TREE_CAPTION 301  // "Tree View", the tree pane's caption band
#define IDS_LIST_CAPTION 302  // "List View", the result list's caption band

// Status bar panes.
#define ID_SEPARATOR 0
#define ID_INDICATOR_LIST 300  // the list status pane; no string of its own

// Control IDs of the frame's children and the about box.
#define AFX_IDW_TOOLBAR 59392
#define AFX_IDW_STATUS_BAR 59393
#define AFX_IDW_PANE_FIRST 59648
#define IDC_TREE 103         // the navigation tree in the tree view
#define IDC_RESULT_LIST 105  // the result list in the overview view
#define IDC_ABOUT_TEXT 108
