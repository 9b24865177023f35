// The order in which a table's rows sort by one of their cells: numbers (a
// size, a count, a version-free decimal) by their value, everything else by
// its text with ASCII letter case folded. A number sorts before any text, and
// the empty cell before everything.
#pragma once

#include <string>

// Negative when a sorts before b, 0 when they sort alike, positive after.
int compare_cells(const std::string& a, const std::string& b);
