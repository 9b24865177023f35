// The portable pipeline on the host: one WMI list of N objects with 20
// properties each, served by the scripted WMI service, read, formatted,
// written to the HTML report and to the tab-separated export.
//   pipeline_host N
// Prints one line: objects, seconds per step and in all, peak memory (KiB).
#include "inventory/inventory.h"
#include "tests/support/fake_wmi.h"
#include "tests/support/test_inventory.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

// Peak resident memory of this process so far, in KiB.
long peak_kib()
{
    std::ifstream status("/proc/self/status");
    std::string key;
    long value = 0;
    while (status >> key) {
        if (key == "VmHWM:") {
            status >> value;
            return value;
        }
        status.ignore(1 << 20, '\n');
    }
    return -1;
}

// Twenty properties of the kinds a real class has: texts, numbers, flags,
// sizes given as texts, dates and a string array.
FakeObjectData make_object(size_t k)
{
    FakeObjectData o;
    auto add = [&](const char* name, WmiValue v) {
        o.push_back({std::wstring(name, name + std::string(name).size()), std::move(v)});
    };
    std::string n = std::to_string(k);
    add("DeviceID", fake::str("DEVICE" + n));
    add("Caption", fake::str("Bench object number " + n));
    add("Description", fake::str("A generated object for the pipeline benchmark"));
    add("Manufacturer", fake::str("Bench Maker"));
    add("Size", fake::str(std::to_string(500107862016ULL + k)));
    add("FreeSpace", fake::str(std::to_string(250053931008ULL + k)));
    add("Index", fake::i4(static_cast<int32_t>(k)));
    add("Status", fake::str("OK"));
    add("Availability", fake::i2(3));
    add("Enabled", fake::boolean(k % 2 == 0));
    add("LoadPercentage", fake::ui1(static_cast<uint8_t>(k % 100)));
    add("Speed", fake::r8(2400.5));
    add("InstallDate", fake::str("20090315083000.000000+060"));
    add("LastBoot", fake::str("20261209083000.000000+060"));
    add("Serial", fake::str("SN-" + n + "-XYZ"));
    add("Version", fake::str("1.2.3." + n));
    add("Names", fake::str_array({L"first", L"second"}));
    add("Codes", fake::int_array(VT_I4_, {1, 2, 3}));
    add("Empty", fake::null());
    add("Owner", fake::str("Bench & <Co>"));
    return o;
}

double seconds_since(std::chrono::steady_clock::time_point t)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t).count();
}

}  // namespace

int main(int argc, char** argv)
{
    size_t n = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 10000;
    FakeWmi wmi;
    wmi.add_generated("root\\CIMV2", "Win32_Bench", n, make_object);
    TestInventory t;
    Inventory& a = t.inventory();
    write_file_bytes(a.cfg_path,
                     "<config>\r\n  <list>\r\n     <typ>WMI</typ>\r\n     <path>root\\CIMV2</path>\r\n"
                     "     <name>Win32_Bench</name>\r\n     <item>\r\n        <name>*</name>\r\n"
                     "        <filt>GB</filt>\r\n     </item>\r\n  </list>\r\n</config>\r\n");
    auto start = std::chrono::steady_clock::now();
    a.read_config();
    auto t0 = std::chrono::steady_clock::now();
    a.read_lists();
    double read = seconds_since(t0);
    auto t1 = std::chrono::steady_clock::now();
    a.write_report();
    double report = seconds_since(t1);
    auto t2 = std::chrono::steady_clock::now();
    a.write_export();
    double exported = seconds_since(t2);
    double total = seconds_since(start);
    int rows = a.first_list ? a.first_list->row_count : -1;
    int items = a.first_list ? a.first_list->item_count : -1;
    std::printf("objects=%zu rows=%d items=%d read=%.3f report=%.3f export=%.3f total=%.3f peak_kib=%ld\n", n,
                rows, items, read, report, exported, total, peak_kib());
    return rows == static_cast<int>(n) ? 0 : 1;
}
