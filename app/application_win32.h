// The application object: one per process, owning everything that lives as
// long as the process: the inventory and the window state. It decides
// between the batch run (any command line) and the window, keeps a second
// copy of the program from starting, and takes the window's commands of the
// whole program (the batch steps, the open dialog, the about box).
#pragma once

#include "framework/winapp_win32.h"
#include "inventory/inventory.h"
#include "ui/window_state_win32.h"

// The exit code of a batch run that another running copy refused: a script
// can tell that no export was written (beside 100 and 200 of the batch run).
constexpr int EXIT_OTHER_COPY = 150;

class mapp : public CWinApp {
public:
    // Installs its inventory as the program's (inventory()).
    mapp();
    ~mapp() override;

    bool InitInstance() override;
    // The idle pass: once the list on show has a new ID number, the page
    // is reloaded (posted to the frame).
    int OnIdle(long count) override;
    // The about command: the about box, modal.
    void OnAppAbout();

    // The batch steps of the inventory, each run after the previous one
    // has returned.
    void OnRCFG() { inventory_.read_config(); }
    void OnRWMI() { inventory_.read_lists(); }
    void OnSWMI() { inventory_.write_report(); }
    void OnLWMI() { inventory_.write_export(); }

    Inventory& inventory() { return inventory_; }

    // The process's exit code when InitInstance stops it: 0, or
    // EXIT_OTHER_COPY for a batch run refused because another copy runs.
    int exit_code = 0;
    WindowState& window() { return window_; }

protected:
    // ID_FILE_OPEN (the open dialog, then the document's open) and the
    // about command.
    const CommandMap& GetCommandMap() const override;

private:
    // In this order: the inventory opens the log and is the last to end.
    Inventory inventory_;
    WindowState window_;
};

// The application object (the one static object of the program, or the one a
// test made).
mapp& app();

// The window's start: creates the document, the frame and its views and
// shows the window. False when the window could not be made.
bool start_window(mapp& application);
