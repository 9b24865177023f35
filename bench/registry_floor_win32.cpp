// The floor of a registry list's read: the registry calls alone, without
// any of the program's work around them, on the keys of a registry list.
//   registry_floor ROOT KEY VALUE...
// ROOT is HKCU or HKLM. The subkeys of KEY are listed first (not timed);
// then, timed:
//   floor_ms      for each subkey, for each VALUE: the subkey opened, the
//                 value read into a buffer, the subkey closed
//   one_open_ms   for each subkey: the subkey opened once, every VALUE read,
//                 the subkey closed
// Every key is opened in the machine's native view, as the program opens
// its keys. One line of figures on stdout; exit code 0 when every subkey
// could be opened, 1 when not.

#include "base/windows_win32.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double ms_since(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

constexpr REGSAM ACCESS = KEY_READ | KEY_WOW64_64KEY;

std::wstring wide(const char* text)
{
    int n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring out(n > 0 ? n - 1 : 0, L'\0');
    if (n > 1)
        MultiByteToWideChar(CP_ACP, 0, text, -1, &out[0], n);
    return out;
}

// One value into a buffer that holds what the fixture's values hold;
// true when the value is there.
bool read_one(HKEY key, const std::wstring& name)
{
    BYTE data[1024];
    DWORD type = 0, size = sizeof data;
    return RegQueryValueExW(key, name.c_str(), nullptr, &type, data, &size) == ERROR_SUCCESS;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: registry_floor HKCU|HKLM KEY VALUE...\n");
        return 2;
    }
    const HKEY root = std::strcmp(argv[1], "HKCU") == 0 ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    const std::wstring parent = wide(argv[2]);
    std::vector<std::wstring> values;
    for (int i = 3; i < argc; ++i)
        values.push_back(wide(argv[i]));

    // The subkeys' paths.
    std::vector<std::wstring> paths;
    HKEY listed = nullptr;
    if (RegOpenKeyExW(root, parent.c_str(), 0, ACCESS, &listed) != ERROR_SUCCESS) {
        std::fprintf(stderr, "registry_floor: cannot open %s\n", argv[2]);
        return 1;
    }
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD length = 256;
        if (RegEnumKeyExW(listed, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        paths.push_back(parent + L"\\" + std::wstring(name, length));
    }
    RegCloseKey(listed);

    int failed = 0, found = 0;
    const Clock::time_point start = Clock::now();
    for (const std::wstring& path : paths) {
        for (const std::wstring& value : values) {
            HKEY key = nullptr;
            if (RegOpenKeyExW(root, path.c_str(), 0, ACCESS, &key) != ERROR_SUCCESS) {
                ++failed;
                continue;
            }
            found += read_one(key, value);
            RegCloseKey(key);
        }
    }
    const double floor_ms = ms_since(start);

    int found_once = 0;
    const Clock::time_point once = Clock::now();
    for (const std::wstring& path : paths) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(root, path.c_str(), 0, ACCESS, &key) != ERROR_SUCCESS) {
            ++failed;
            continue;
        }
        for (const std::wstring& value : values)
            found_once += read_one(key, value);
        RegCloseKey(key);
    }
    const double one_open_ms = ms_since(once);

    std::printf("floor_ms=%.1f one_open_ms=%.1f keys=%zu values_found=%d/%d\n", floor_ms, one_open_ms,
                paths.size(), found, found_once);
    std::fflush(stdout);
    return failed == 0 && !paths.empty() ? 0 : 1;
}
