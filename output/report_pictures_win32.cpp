#include "output/report_pictures.h"

#include "output/icon_files_win32.h"

void write_report_pictures(const std::string& folder)
{
    CImageList images;
    load_tree_images(images);
    write_icons(folder, images.GetSafeHandle(), nullptr);
}
