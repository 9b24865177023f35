#include "app/application.h"

#include "app/log.h"
#include "app/platform.h"
#include "app/window_side.h"
#include "res/resource.h"

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
    write_log("mapp::mapp () OK ...\n");
}

mapp::~mapp()
{
    // A worker may still be reading a list of the chain: let it finish first.
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
