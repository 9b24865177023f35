// The program's own resources by their IDs: strings, menus, icons. Each
// call copes with a resource that is not there.
#pragma once

#include "base/windows_win32.h"

#include <string>

// The string with the ID into text; false (and text empty) when there is none.
bool load_string(UINT id, std::string& text);
// The string's first line: a command's status prompt (a second line, after
// "\n", is its tool tip).
std::string command_prompt(UINT id);
std::string command_tip(UINT id);
