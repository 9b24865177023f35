// Test registry contents in the in-memory store.
#include "tests/support/registry_fixture.h"

#include "app/registry_store.h"

#include <atomic>

namespace {
regstore::Hive store_hive(TestHive hive)
{
    return hive == TestHive::user ? regstore::Hive::current_user : regstore::Hive::local_machine;
}
}  // namespace

bool fixture_put_value(TestHive hive, const std::wstring& path, const wchar_t* name, uint32_t type,
                       const std::string& data)
{
    regstore::put_value(store_hive(hive), path, name, type, data);
    return true;
}

bool fixture_create_key(TestHive hive, const std::wstring& path)
{
    regstore::create_key(store_hive(hive), path);
    return true;
}

void fixture_delete_tree(TestHive hive, const std::wstring& path)
{
    regstore::delete_tree(store_hive(hive), path);
}

std::string fixture_unique_name()
{
    // The store lives in this process only.
    static std::atomic<int> counter{0};
    return "k" + std::to_string(++counter);
}
