#include "ui/report_pictures_win32.h"

#include "base/log.h"
#include "ui/icon_files_win32.h"

void write_report_pictures(const std::string& folder)
{
    CImageList images;
    load_tree_images(images);
    // No box waits for nobody: the batch run logs a picture it cannot write.
    write_icons(folder, images.GetSafeHandle(), nullptr, [](const std::string& text, const std::string& path) {
        write_log("%s: %s\n", text.c_str(), path.c_str());
    });
}
