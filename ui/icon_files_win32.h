// The report's pictures as bitmap files in the temporary folder: the title
// picture as img_00.bmp and the class icons of the tree's image list (images 3
// and on) as img_01.bmp, img_02.bmp, ... (Win32 only).
#pragma once

#include "framework/image_list_win32.h"

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <optional>
#include <string>

// The steps of making the tree's image list that can fail.
enum class TreeImagesStep { make_list, load_strip, add_strip };
using TreeImagesFailed = std::function<void(TreeImagesStep failed)>;

// The tree's image list, made without a window from the program's icon strip
// (IDB_ICON_STRIP) into `list`: 16 x 16 images, 32-bit colour with a
// mask, black as the mask colour, room for 16 at first and growing by 100;
// 19 images. Each step that fails goes to failed (none: nobody is told).
// False when the list cannot be made; a list without images when the strip
// cannot be loaded or added (a strip that did not load cannot be added
// either).
bool load_tree_images(CImageList& list, const TreeImagesFailed& failed = nullptr);

// Writes the device-dependent bitmap as a bitmap file at the path, at the
// bitmap's own depth (24 bits per pixel when that is 8 or fewer, since the
// file has no colour table). Answers the failure of write_bitmap_file, or
// none.
std::optional<std::string> write_bmp(HBITMAP bitmap, const std::string& path);

// What a caller does with a picture that could not be written: the failure's
// text and the file's path.
using PictureFailed = std::function<void(const std::string& text, const std::string& path)>;
// The window's way: the text of the first failure in a stop box, once per
// writing of the pictures (a folder that cannot be written fails for every
// picture: one box says it).
PictureFailed box_picture_failure_once();

// Writes temp_dir\img_00.bmp from bitmap IDB_TITLE (nothing when it does not
// load), then for each image i from 3 on of the image list (none when the list
// is null) temp_dir\img_NN.bmp, NN = i - 2 with two digits at least. The
// icons are drawn into bitmaps compatible with the window's device context;
// with no window (the batch run), with the screen's. Each picture that
// cannot be written goes to failed, and the next one is tried.
void write_icons(const std::string& temp_dir, HIMAGELIST images, HWND model_window,
                 const PictureFailed& failed = box_picture_failure_once());
