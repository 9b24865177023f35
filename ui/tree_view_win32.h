// The tree view: the left pane, with the navigation tree and the image list
// of the program's icons.
#pragma once

#include <windows.h>

#include <commctrl.h>

// The tree's image list (the icons of the lists), none while the tree view
// has not made it.
HIMAGELIST tree_image_list();
