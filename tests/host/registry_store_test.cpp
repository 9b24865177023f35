// The in-memory registry's model of 64-bit Windows' two views: a key opened
// in the 32-bit view below HKLM\SOFTWARE is the one below WOW6432Node, which
// is what the registry functions avoid by opening every key natively.
#include "base/registry_backend.h"
#include "base/registry_store.h"

#include <gtest/gtest.h>

namespace {

using namespace regbackend;

// The text of value "v" of the key, opened in the view given; none when the
// key cannot be opened.
std::optional<std::string> value_in(Hive hive, View view, const char* path)
{
    Lookup lookup;
    lookup.text = path;
    KeyHandle key = nullptr;
    if (open_key(hive, view, lookup, &key) != RESULT_OK)
        return std::nullopt;
    Lookup name;
    name.text = "v";
    char data[16] = {};
    uint32_t size = sizeof data;
    long result = read_value(key, name, data, &size);
    close_key(key);
    return result == RESULT_OK ? std::optional<std::string>(std::string(data, size)) : std::nullopt;
}

class RegistryStoreViews : public ::testing::Test {
protected:
    void SetUp() override
    {
        regstore::clear();
        regstore::put_value(Hive::local_machine, View::native, L"SOFTWARE\\App", L"v", 1, "64");
        regstore::put_value(Hive::local_machine, View::wow32, L"SOFTWARE\\App", L"v", 1, "32");
        regstore::put_value(Hive::current_user, View::wow32, L"Software\\App", L"v", 1, "user");
    }
    void TearDown() override { regstore::clear(); }
};

TEST_F(RegistryStoreViews, The32BitViewOfMachineSoftwareIsItsWow6432NodeKey)
{
    EXPECT_EQ(value_in(Hive::local_machine, View::native, "SOFTWARE\\App"), std::optional<std::string>("64"));
    EXPECT_EQ(value_in(Hive::local_machine, View::wow32, "SOFTWARE\\App"), std::optional<std::string>("32"));
    EXPECT_EQ(value_in(Hive::local_machine, View::native, "Software\\WOW6432Node\\App"),
              std::optional<std::string>("32"));
    // A path that names WOW6432Node is not redirected a second time.
    EXPECT_EQ(value_in(Hive::local_machine, View::wow32, "SOFTWARE\\WOW6432Node\\App"),
              std::optional<std::string>("32"));
}

TEST_F(RegistryStoreViews, TheCurrentUsersKeysAreTheSameInBothViews)
{
    EXPECT_EQ(value_in(Hive::current_user, View::native, "Software\\App"), std::optional<std::string>("user"));
    EXPECT_EQ(value_in(Hive::current_user, View::wow32, "Software\\App"), std::optional<std::string>("user"));
}

}  // namespace
