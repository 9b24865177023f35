// The settings object: the log file, the Windows version, the fixed paths
// and the window settings in the registry. It is built first of everything
// and changed afterwards only by the frame (placement).
#pragma once

#include "base/text_file.h"

#include <memory>
#include <string>

// Where the settings live, under the current user's hive.
constexpr const char* SETTINGS_ROOT = "HKCU";
constexpr const char* SETTINGS_KEY = "Software\\Vendaril\\Polrix";

// The wait limit `wt`: seconds, 60 when missing, at most a day.
constexpr int DEFAULT_WAIT_SECONDS = 60;
constexpr int MAX_WAIT_SECONDS = 86400;

// The named mutex that marks the running copy of the program.
constexpr const char* INSTANCE_MUTEX = "polrix";

class CGUI {
public:
    // Opens the log and installs it as the program's log (log.h), computes
    // the paths (also the application's query file and export paths, handed
    // in) and reads the settings, writing their defaults where they are
    // missing.
    CGUI(std::string& cfg_path, std::string& txt_path);
    ~CGUI();
    CGUI(const CGUI&) = delete;
    CGUI& operator=(const CGUI&) = delete;

    // One line to the log, when it is open.
    void write_line(const std::string& line);
    // One line at the end of the log file, also when this object did not
    // open it (a refused second copy adds its line to the running copy's
    // log this way, without emptying it).
    void append_line(const std::string& line);

    // Where the stored placement is missing (a width or a height of 0 or
    // less), the window's default for a screen of the size: its middle two
    // thirds in that direction, written back to the registry. A placement
    // that is there is neither changed nor written.
    void fill_missing_placement(int screen_width, int screen_height);

    std::unique_ptr<TextFile> log;  // none when the log file could not be opened
    int win_major = 0;
    std::string font_face;  // the pane captions' font face ("mf")
    std::string temp_dir;
    std::string htm_path;
    int xo = -1;
    int yo = -1;
    int xs = -1;
    int ys = -1;
    int ft = -1;
    int fs = -1;
    int wt = -1;           // the reader's limit for one answer of the WMI service, seconds
    std::string log_path;  // where the log was opened (or tried)
};

// The path with its last three characters replaced (the extension rule).
std::string replace_last_three(const std::string& path, const char* with);

// The query file the window reads for the program file's path: the path cut
// at its last dot, with ".xml" appended; "polrix.xml" (in the current
// folder) for a path without a dot.
std::string query_file_for(const std::string& program_path);
