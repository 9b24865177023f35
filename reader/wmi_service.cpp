#include "reader/wmi_service.h"

WmiService& default_wmi_service();  // wmi_service_win32.cpp or wmi_service_host.cpp

namespace {
WmiService* g_installed = nullptr;
}

WmiService& wmi_service() { return g_installed ? *g_installed : default_wmi_service(); }

void set_wmi_service(WmiService* service) { g_installed = service; }
