// The log file: one formatted write per line, flushed at once, and only
// while a log file is open. Any thread may write; each line reaches the file
// whole. The settings object opens the file and installs it here, so every
// part of the program logs without knowing the application object.
#pragma once

class TextFile;

// Writes one line to the installed log file; nothing when none is installed.
void write_log(const char* format, ...);

// The file the log lines go to, or none. The file stays its owner's.
void set_log_file(TextFile* file);
TextFile* log_file();
