// The window tests run without the tree view: its image list is made here
// from the program's icon strip, once, for the rest of the test run. Linked
// from an archive after the program's own code, so the program's definition
// wins once it has one.
#include "output/icon_files_win32.h"
#include "ui/tree_view_win32.h"

HIMAGELIST tree_image_list()
{
    static UniqueImageList images = load_tree_images();
    return images.get();
}
