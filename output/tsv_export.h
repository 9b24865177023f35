// The tab-separated export of the batch run: a header line, then one line of
// five fields (Page, List, Group, Item, Value) per value found.
#pragma once

#include "config/query_list.h"

#include <string>

// Writes the export of the chain to path. False when the file cannot be
// created; nothing is written then.
bool write_export(const std::string& path, QueryList* first);
