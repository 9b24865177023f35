// The program's own identifiers: resources, commands, status panes and
// control IDs. The framework's identifiers (its standard commands, the
// message pane, its bars' control IDs) come from framework/framework_ids.h,
// included here, so that this one file gives the code and the resource
// script every identifier. Plain macros, so that the resource compiler reads
// it too. An identifier that is the same number as another by design is
// written as that other's name.
#pragma once

#include "base/frame_commands.h"
#include "framework/framework_ids.h"

// Resources: the menu, the toolbar bitmap, the frame's icon and the
// application's string all share number 100.
#define IDR_MAINFRAME 100
#define IDB_ICON_STRIP 101  // the icon strip "mbmp": the tree's 19 images
#define IDB_TITLE 102       // the report's title picture
#define IDD_ABOUTBOX 109
#define IDC_HAND_CURSOR 110

// Commands. The frame's commands are in base/frame_commands.h, where the
// reader finds the two that it sends: ID_FILL_TREE to ID_SAVE_QUERIES (200 to
// 205) are the frame's command range, which one handler of the frame takes,
// and ID_STATUS_TEXT (206) has a handler of its own. A new command takes the
// next free number from 207 on, outside that range and below the strings
// and panes at 300.
#define ID_APP_ABOUT 107

// Strings. Beside these, the commands of the menu and the toolbar each have
// a string of their own number: the status prompt, "\n", the tool tip.
#define IDS_APP_TITLE IDR_MAINFRAME    // "Polrix", also the window's title
#define IDS_ABOUT_PROMPT ID_APP_ABOUT  // status prompt of the about command
#define IDS_HELP_PROMPT ID_HELP        // status prompt of the help command
#define IDS_TREE_CAPTION 301           // "Tree View", the tree pane's caption band
#define IDS_LIST_CAPTION 302           // "List View", the result list's caption band

// Status bar panes (the message pane is ID_SEPARATOR of the framework).
#define ID_INDICATOR_LIST 300  // the list status pane; no string of its own

// Control IDs of the views' children and the about box (the frame's own
// are the framework's).
#define IDC_TREE 103         // the navigation tree in the tree view
#define IDC_RESULT_LIST 105  // the result list in the overview view
#define IDC_ABOUT_TEXT 108
