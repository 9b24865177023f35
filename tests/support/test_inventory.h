// A fresh inventory for one test, with its own temporary folder as TEMP, so
// the log and the report go there. On the host the program file's path is
// set inside that folder too, so the query file and the export lie there as
// well; on Windows they lie beside the test program. The registry is the
// in-memory store on the host and the real one on Windows.
#pragma once

#include "inventory/inventory.h"
#include "tests/support/test_folder.h"

#include <memory>
#include <string>

// The folder as TEMP (and, on the host, as the program file's folder) for the
// life of this object; TEMP is set back afterwards.
class TestTemp {
public:
    // program_name: the program file's name inside the folder.
    explicit TestTemp(const std::string& program_name);
    ~TestTemp();
    TestTemp(const TestTemp&) = delete;
    TestTemp& operator=(const TestTemp&) = delete;

    const std::string& dir() const { return folder_.dir(); }  // the folder, native form
    // Native path of a file in the folder (the program's own path form).
    std::string path(const std::string& file) const { return folder_.path(file); }
    // The log as written so far (CR LF turned into LF).
    std::string log() const;

private:
    TestFolder folder_;
    std::string saved_temp_;
    bool had_temp_ = false;
};

// The inventory, installed as the program's (inventory()) while it lives.
class TestInventory : public TestTemp {
public:
    explicit TestInventory(const std::string& program_name = "polrix.exe");
    ~TestInventory();

    Inventory& inventory() { return *inventory_; }
    // Ends the inventory (as the process end does) and keeps the folder with
    // its log.
    void end_inventory();

private:
    std::unique_ptr<Inventory> inventory_;
};
