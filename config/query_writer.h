// The two query file writers: the default query file that the first window
// start writes where none exists, and the queries saved with the user's
// choice of items. Both write the format the query file reader reads, with
// CR LF line ends.
#pragma once

#include "config/query_list.h"

#include <string>
#include <vector>

// The sixteen known classes (class_names, in their order), each with all
// its properties, then the installed software from the registry. An existing
// file, even an empty one, is left as it is. False when nothing was written
// (a file exists, or it cannot be created).
bool write_default_queries(const std::string& path, const std::vector<std::string>& class_names);

// The chain as a query file: for each list its type and command lines, path,
// name, display name, filter and variable (as the file wrote it), then its
// items: the checked ones with their names, display names and filters once
// the user made a selection in the check-box mode, otherwise the items the
// query file gave it. A text a list or item does not have gets no line.
// False when the file cannot be created.
bool save_queries(const std::string& path, QueryList* first);
