// The system report: a small HTML document with a title and, for every query
// list that holds data, a heading with an anchor ('003' for ID 3, which the
// overview page jumps to) and a table of the list's checked items.
#pragma once

#include "config/query_list.h"

#include <string>

// Writes the report of the chain to path, the title naming the computer when
// its name is given. A file that cannot be created is no error: the report
// is simply missing.
void write_report(const std::string& path, QueryList* first, const Text& computer_name);
