#include "app/application.h"

#include "base/log.h"
#include "base/platform.h"
#include "base/window_side.h"
#include "config/query_reader.h"
#include "output/html_report.h"
#include "ui/report_pictures.h"
#include "output/tsv_export.h"
#include "res/resource.h"

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
WindowStart g_window_start = nullptr;
}

void set_window_start(WindowStart start) { g_window_start = start; }

mapp& app() { return *static_cast<mapp*>(AfxGetApp()); }

mapp::mapp() : gui(cfg_path, txt_path)
{
    for (const char* name : KNOWN_CLASS_NAMES)
        class_names.emplace_back(name);
    wmi.set_limit(std::chrono::seconds(gui.wt));
    write_log("mapp::mapp () OK ...\n");
}

mapp::~mapp()
{
    // No dangling pointers, and every run ends: a running read is waited
    // for as long as its service answers within the limit, then given up.
    // Its worker never touches the chain, so the chain can go either way.
    wmi.wait_for_worker();
    if (first_list)
        free_lists(first_list);
    write_log("mapp::~mapp () OK ...\n");
}

bool mapp::InitInstance()
{
    if (!platform::create_instance_mutex("polrix")) {
        write_log("  An Instance of polrix.exe is allready running ...\n");
        return false;
    }
    if (!command_line.empty()) {
        OnRCFG();
        OnRWMI();
        OnSWMI();
        // The report's pictures, as the window writes them, so that the
        // report shows every picture.
        write_report_pictures(gui.temp_dir);
        OnLWMI();
        return true;
    }
    if (g_window_start)
        g_window_start(*this);
    return true;
}

int mapp::OnIdle(long count)
{
    int more = CWinApp::OnIdle(count);
    QueryList* shown = result_list.current_list;
    if (!shown)
        return more;
    if (shown->id != shown_id)
        window_side().post_command(ID_RELOAD_PAGE);
    shown_id = shown->id;
    return more;
}

void mapp::OnRCFG()
{
    std::string error;
    if (!read_query_file(cfg_path, first_list, error))
        fail_and_exit(error, 100);
    number_lists(first_list.get(), class_names);
    write_log("mapp::OnRCFG () OK ...\n");
}

void mapp::OnRWMI()
{
    wmi.read_lists(first_list.get());
    write_log("mapp::OnRWMI () OK ...\n");
}

void mapp::OnSWMI()
{
    // A read that has ended is in its list before the report walks the chain.
    wmi.collect();
    Text computer;
    if (const char* name = std::getenv("COMPUTERNAME"))
        computer = name;
    write_report(gui.htm_path, first_list.get(), computer);
    // Written also when the report could not be created.
    write_log("mapp::OnSWMI () OK ...\n");
}

void mapp::OnLWMI()
{
    if (!write_export(txt_path, first_list.get()))
        fail_and_exit("Could not open file: " + txt_path, 200);
    write_log("mapp::OnLWMI () OK ...\n");
}
