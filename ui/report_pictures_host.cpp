#include "ui/report_pictures.h"

void write_report_pictures(const std::string&) {}
