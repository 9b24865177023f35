// The inventory: everything the program reads and writes, without any window.
// It owns the settings, the reader, the chain of query lists and the table
// of known classes, and runs the four batch steps, each a short call of the
// query file reader, the reader object, the report and the export, which
// know nothing of this object. The batch run is those steps in a row; the
// window runs them one by one as the user asks.
#pragma once

#include "config/query_list.h"
#include "inventory/settings.h"
#include "reader/reader.h"

#include <atomic>
#include <memory>
#include <string>
#include <vector>

// The sixteen WMI classes that have an ID number and an icon of their own,
// in the order of their numbers (1 to 16); the default queries list them too.
extern const char* const KNOWN_CLASS_NAMES[16];

// Writes the report's pictures into the folder (the title picture and the
// class icons). They are drawn from the program's resources, which only the
// Windows program has: it installs the writer; without one none are written.
using ReportPicturesWriter = void (*)(const std::string& folder);

class Inventory {
public:
    // Settings first (they open the log), then the reader.
    Inventory();
    // Ends as end() does.
    ~Inventory();
    Inventory(const Inventory&) = delete;
    Inventory& operator=(const Inventory&) = delete;

    // The batch steps, each run after the previous one has returned. Their
    // log lines bear the names by which the program's commands have always
    // logged them ("mapp::OnRCFG () OK ..." and so on).
    void read_config();  // reads the query file at cfg_path into the chain
    // The window's Open: the file at path is read into a chain of its own
    // first. A file that cannot be opened or has a malformed line shows its
    // box and leaves everything as it was (false): opening a wrong file
    // from the window keeps the lists that were there. Otherwise the old
    // chain goes, once no read is left to hand over into it and the reader
    // forgets its list (the window forgets what it shows before: forget),
    // and the new one takes its place with its step's log line.
    bool open_config(const std::string& path, void (*forget)());
    void read_lists();    // reads every pending list
    void write_report();  // writes the HTML report
    void write_export();  // writes the tab-separated export
    // The report's pictures into the temporary folder, through the writer
    // installed (none: nothing is written).
    void write_report_pictures();
    // The batch run: the query file, every list, the report, its pictures
    // (so that the report shows every picture) and the export.
    void run_batch();

    // No dangling pointers, and every run ends: a running read is waited
    // for as long as its service answers within the limit, then given up,
    // and the chain is freed. Its worker never touches the chain, so the
    // chain can go either way. Nothing happens on a second call.
    void end();

    // The paths come first: the settings object's constructor fills them.
    std::string cfg_path;  // the query file
    std::string txt_path;  // the tab-separated export
    // Set while every list is read at once; read by the worker, set by the
    // window thread. Before the reader, which keeps a reference to it.
    std::atomic<int> read_all{0};

    CGUI gui;
    CWMI wmi{read_all};
    std::unique_ptr<QueryList> first_list;
    std::vector<std::string> class_names;
};

// The one inventory of the program, as the windows reach it: the one the
// program installed (the application object installs its own).
Inventory& inventory();
// Installs the inventory that inventory() answers (nullptr: none).
void set_inventory(Inventory* installed);

// The writer of the report's pictures that write_report_pictures uses.
void set_report_pictures_writer(ReportPicturesWriter writer);
