// Test registry contents in the real registry, written with advapi32 itself.
#include "tests/support/registry_fixture.h"

#include "base/registry_key_win32.h"
#include "base/windows_win32.h"

#include <atomic>
#include <cstring>

namespace {

HKEY root_key(TestHive hive) { return hive == TestHive::user ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }

REGSAM view_flag(TestView view) { return view == TestView::native ? KEY_WOW64_64KEY : KEY_WOW64_32KEY; }

bool create(TestHive hive, TestView view, const std::wstring& path, RegistryKey& key)
{
    return RegCreateKeyExW(root_key(hive), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                           KEY_ALL_ACCESS | view_flag(view), nullptr, key.out(), nullptr) == ERROR_SUCCESS;
}

// The data as the wide calls store them: text types in UTF-16.
std::string stored_form(uint32_t type, const std::string& data)
{
    if (type != REG_SZ && type != REG_EXPAND_SZ && type != REG_MULTI_SZ)
        return data;
    std::wstring wide = platform::from_ansi(data);
    std::string bytes(wide.size() * sizeof(wchar_t), '\0');
    if (!wide.empty())
        std::memcpy(&bytes[0], wide.data(), bytes.size());
    return bytes;
}

}  // namespace

bool fixture_put_value(TestHive hive, TestView view, const std::wstring& path, const wchar_t* name, uint32_t type,
                       const std::string& data)
{
    RegistryKey key;
    if (!create(hive, view, path, key))
        return false;
    std::string bytes = stored_form(type, data);
    return RegSetValueExW(key.get(), name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                          static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
}

bool fixture_create_key(TestHive hive, TestView view, const std::wstring& path)
{
    RegistryKey key;
    return create(hive, view, path, key);
}

void fixture_delete_tree(TestHive hive, TestView view, const std::wstring& path)
{
    // An empty path would name the whole hive.
    if (path.empty())
        return;
    // Opened in its view, the key's contents go; then the key itself.
    RegistryKey key;
    if (RegOpenKeyExW(root_key(hive), path.c_str(), 0, KEY_ALL_ACCESS | view_flag(view), key.out()) !=
        ERROR_SUCCESS)
        return;
    RegDeleteTreeW(key.get(), nullptr);
    RegDeleteKeyExW(root_key(hive), path.c_str(), view_flag(view), 0);
}

std::string fixture_unique_name()
{
    // Test programs may run side by side in one registry: the process ID
    // keeps their keys apart, the counter the keys of one program.
    static std::atomic<int> counter{0};
    return "p" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++counter);
}
