#include "tests/support/test_inventory.h"

#include "base/platform.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#ifdef _WIN32
#include <windows.h>
#else
#include "base/platform_host.h"
#include <unistd.h>
#endif

namespace {

void set_env(const char* name, const std::string& value)
{
#ifdef _WIN32
    _putenv_s(name, value.c_str());
#else
    setenv(name, value.c_str(), 1);
#endif
}

void unset_env(const char* name)
{
#ifdef _WIN32
    _putenv_s(name, "");
#else
    unsetenv(name);
#endif
}

}  // namespace

TestTemp::TestTemp(const std::string& program_name)
{
    if (const char* t = std::getenv("TEMP")) {
        had_temp_ = true;
        saved_temp_ = t;
    }
    set_env("TEMP", dir());
#ifndef _WIN32
    platform::host::set_module_file_name(path(program_name));
#else
    (void)program_name;
#endif
}

TestTemp::~TestTemp()
{
    if (had_temp_)
        set_env("TEMP", saved_temp_);
    else
        unset_env("TEMP");
}

std::string TestTemp::log() const { return without_cr(read_file_bytes(path("polrix.log"))); }

TestInventory::TestInventory(const std::string& program_name)
    : TestTemp(program_name), inventory_(std::make_unique<Inventory>())
{
    set_inventory(inventory_.get());
}

TestInventory::~TestInventory() { end_inventory(); }

void TestInventory::end_inventory()
{
    if (!inventory_)
        return;
    set_inventory(nullptr);
    inventory_.reset();
}
