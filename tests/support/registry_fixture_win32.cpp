// Test registry contents in the real registry, written with advapi32 itself.
#include "tests/support/registry_fixture.h"

#include <windows.h>

#include <atomic>

namespace {

HKEY root_key(TestHive hive) { return hive == TestHive::user ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }

// Owns one open key.
class Key {
public:
    ~Key()
    {
        if (key_)
            RegCloseKey(key_);
    }
    HKEY* out() { return &key_; }
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

bool create(TestHive hive, const std::string& path, Key& key)
{
    return RegCreateKeyExA(root_key(hive), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                           KEY_ALL_ACCESS, nullptr, key.out(), nullptr) == ERROR_SUCCESS;
}

}  // namespace

bool fixture_put_value(TestHive hive, const std::string& path, const char* name, uint32_t type,
                       const std::string& data)
{
    Key key;
    if (!create(hive, path, key))
        return false;
    return RegSetValueExA(key.get(), name, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                          static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
}

bool fixture_create_key(TestHive hive, const std::string& path)
{
    Key key;
    return create(hive, path, key);
}

void fixture_delete_tree(TestHive hive, const std::string& path)
{
    // An empty path would name the whole hive.
    if (!path.empty())
        RegDeleteTreeA(root_key(hive), path.c_str());
}

std::string fixture_unique_name()
{
    // Test programs may run side by side in one registry: the process ID
    // keeps their keys apart, the counter the keys of one program.
    static std::atomic<int> counter{0};
    return "p" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++counter);
}
