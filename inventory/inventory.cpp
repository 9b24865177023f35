#include "inventory/inventory.h"

#include "base/log.h"
#include "base/platform.h"
#include "base/window_side.h"
#include "config/query_reader.h"
#include "output/html_report.h"
#include "output/tsv_export.h"

#include <cstdlib>

const char* const KNOWN_CLASS_NAMES[16] = {
    "Win32_SystemEnclosure",
    "Win32_Bios",
    "Win32_Processor",
    "Win32_PhysicalMemory",
    "Win32_OnBoardDevice",
    "Win32_DiskDrive",
    "Win32_LogicalDisk",
    "Win32_CDROMDrive",
    "Win32_SoundDevice",
    "Win32_NetworkAdapterConfiguration",
    "Win32_DisplayConfiguration",
    "Win32_DesktopMonitor",
    "Win32_PrinterConfiguration",
    "Win32_USBController",
    "Win32_OperatingSystem",
    "Win32_Product",
};

namespace {
Inventory* g_inventory = nullptr;
ReportPicturesWriter g_pictures_writer = nullptr;
}  // namespace

Inventory& inventory()
{
    if (!g_inventory)
        std::abort();  // a window without the program's inventory
    return *g_inventory;
}

void set_inventory(Inventory* installed) { g_inventory = installed; }

void set_report_pictures_writer(ReportPicturesWriter writer) { g_pictures_writer = writer; }

Inventory::Inventory() : gui(cfg_path, txt_path)
{
    for (const char* name : KNOWN_CLASS_NAMES)
        class_names.emplace_back(name);
    wmi.set_limit(std::chrono::seconds(gui.wt));
}

Inventory::~Inventory() { end(); }

void Inventory::end()
{
    wmi.wait_for_worker();
    if (first_list)
        free_lists(first_list);
}

void Inventory::read_config()
{
    std::string error;
    if (!read_query_file(cfg_path, first_list, error))
        fail_and_exit(error, 100);
    number_lists(first_list.get(), class_names);
    write_log("mapp::OnRCFG () OK ...\n");
}

bool Inventory::open_config(const std::string& path, void (*forget)())
{
    std::unique_ptr<QueryList> fresh;
    std::string error;
    if (!read_query_file(path, fresh, error)) {
        // The same box as at the start, but the program goes on.
        window_side().stop_box(error);
        if (fresh)
            free_lists(fresh);
        return false;
    }
    // No dangling pointers: the chain goes only once no read is left to hand
    // over into it (a read that stalls is given up after the limit), and
    // nothing points into it afterwards.
    wmi.wait_for_read();
    wmi.cur_list = nullptr;
    if (forget)
        forget();
    if (first_list)
        free_lists(first_list);
    first_list = std::move(fresh);
    cfg_path = path;
    number_lists(first_list.get(), class_names);
    write_log("mapp::OnRCFG () OK ...\n");
    return true;
}

void Inventory::read_lists()
{
    wmi.read_lists(first_list.get());
    write_log("mapp::OnRWMI () OK ...\n");
}

void Inventory::write_report()
{
    // A read that has ended is in its list before the report walks the chain.
    wmi.collect();
    Text computer;
    if (std::optional<std::string> name = platform::environment_variable("COMPUTERNAME"))
        computer = *name;
    ::write_report(gui.htm_path, first_list.get(), computer);
    // Written also when the report could not be created.
    write_log("mapp::OnSWMI () OK ...\n");
}

void Inventory::write_export()
{
    if (!::write_export(txt_path, first_list.get()))
        fail_and_exit("Could not open file: " + txt_path, 200);
    write_log("mapp::OnLWMI () OK ...\n");
}

void Inventory::write_report_pictures()
{
    if (g_pictures_writer)
        g_pictures_writer(gui.temp_dir);
}

void Inventory::run_batch()
{
    read_config();
    read_lists();
    write_report();
    write_report_pictures();
    write_export();
}
