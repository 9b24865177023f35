// A fresh application object for one Windows test: the inventory and the
// window state the windows reach, with the test's own folder as TEMP (see
// test_inventory.h). It starts no window by itself.
#pragma once

#include "app/application_win32.h"
#include "tests/support/test_inventory.h"

#include <memory>
#include <string>

class TestApp : public TestTemp {
public:
    explicit TestApp(const std::string& program_name = "polrix.exe")
        : TestTemp(program_name), app_(std::make_unique<mapp>())
    {
    }

    mapp& app() { return *app_; }
    Inventory& inventory() { return app_->inventory(); }
    WindowState& window() { return app_->window(); }
    // Ends the application object (as the process end does) and keeps the
    // folder with its log.
    void end_app() { app_.reset(); }

private:
    std::unique_ptr<mapp> app_;
};
