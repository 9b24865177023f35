// The report's pictures beside the report: the title picture img_00.bmp and
// the class icons img_01.bmp to img_16.bmp in the folder, drawn from the
// program's resources. The window writes them from its tree's image list;
// the batch run writes the same files through this function, so that the
// report it leaves behind shows no broken images. A picture that cannot be
// written is logged ("Unable to Create Bitmap File: <path>"), never boxed:
// nobody may be there to close a box. The application installs it as the
// inventory's writer of the report's pictures.
#pragma once

#include <string>

void write_report_pictures(const std::string& folder);
