// The application object: one per process, owning everything that lives as
// long as the process. It decides between the batch run (any command line)
// and the window, and runs the four batch steps: each is a short call of the
// query file reader, the reader object, the report and the export, which
// know nothing of this object.
#pragma once

#include "framework/winapp.h"
#include "app/settings.h"
#include "config/query_list.h"
#include "reader/reader.h"
#include "ui/result_list.h"
#include "ui/tree_control.h"

#include <atomic>
#include <memory>
#include <string>
#include <vector>

class mtbr;

// The sixteen WMI classes that have an ID number and an icon of their own,
// in the order of their numbers (1 to 16); the default queries list them too.
extern const char* const KNOWN_CLASS_NAMES[16];

class mapp : public CWinApp {
public:
    mapp();
    ~mapp() override;

    bool InitInstance() override;
    int OnIdle(long count) override;
    // The about command: the about box, modal.
    void OnAppAbout();

    // The batch steps, each run after the previous one has returned.
    void OnRCFG();  // read the query file at cfg_path into the chain
    void OnRWMI();  // read every pending list
    void OnSWMI();  // write the HTML report
    void OnLWMI();  // write the tab-separated export

    // The paths come first: the settings object's constructor fills them.
    std::string cfg_path;  // the query file
    std::string txt_path;  // the tab-separated export
    // Set while every list is read at once; read by the worker, set by the
    // window thread. Before the reader, which keeps a reference to it.
    std::atomic<int> read_all{0};

    CGUI gui;
    CWMI wmi{read_all};
    std::unique_ptr<QueryList> first_list;
    mtbr* toolbar = nullptr;  // the frame's toolbar while it exists, not owned
    std::vector<std::string> class_names;
    mtrc tree;
    mbox result_list;
    int shown_id = 0;

protected:
    // ID_FILE_OPEN (the open dialog, then the document's open) and the
    // about command; only where there are windows.
    const CommandMap& GetCommandMap() const override;
};

// The application object (the one static object of the program, or the one a
// test made).
mapp& app();

// The window's start (ui/), installed by the Win32 layer: creates the
// document, the frame and its views and shows the window. False when the
// window could not be made.
using WindowStart = bool (*)(mapp&);
void set_window_start(WindowStart start);
