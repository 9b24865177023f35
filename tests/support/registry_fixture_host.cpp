// Test registry contents in the in-memory store.
#include "tests/support/registry_fixture.h"

#include "base/registry_store.h"

#include <atomic>

namespace {
regstore::Hive store_hive(TestHive hive)
{
    return hive == TestHive::user ? regstore::Hive::current_user : regstore::Hive::local_machine;
}
regstore::View store_view(TestView view)
{
    return view == TestView::native ? regstore::View::native : regstore::View::wow32;
}
}  // namespace

bool fixture_put_value(TestHive hive, TestView view, const std::wstring& path, const wchar_t* name, uint32_t type,
                       const std::string& data)
{
    regstore::put_value(store_hive(hive), store_view(view), path, name, type, data);
    return true;
}

bool fixture_create_key(TestHive hive, TestView view, const std::wstring& path)
{
    regstore::create_key(store_hive(hive), store_view(view), path);
    return true;
}

void fixture_delete_tree(TestHive hive, TestView view, const std::wstring& path)
{
    regstore::delete_tree(store_hive(hive), store_view(view), path);
}

std::string fixture_unique_name()
{
    // The store lives in this process only.
    static std::atomic<int> counter{0};
    return "k" + std::to_string(++counter);
}
