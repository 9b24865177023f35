#include "output/report_pictures.h"

#include "output/icon_files_win32.h"

void write_report_pictures(const std::string& folder)
{
    UniqueImageList images = load_tree_images();
    write_icons(folder, images.get(), nullptr);
}
