// The log file: one formatted write per line, flushed at once, and only
// while the file is open. Any thread may write; each line reaches the file
// whole.
#pragma once

// Writes to the application's log (its settings object's file).
void write_log(const char* format, ...);
