// Registry contents for tests, written and removed past the functions under
// test: on the host straight into the in-memory store, on Windows through
// advapi32 into the real registry.
#pragma once

#include <cstdint>
#include <string>

enum class TestHive { user, machine };

// The root name that the registry functions take for the hive.
inline const char* root_name(TestHive hive) { return hive == TestHive::user ? "HKCU" : "HKLM"; }

// Creates or replaces a value of any type with the bytes given, creating the
// key path. A null name is the key's default value. True on success.
bool fixture_put_value(TestHive hive, const std::string& path, const char* name, uint32_t type,
                       const std::string& data);
// Creates an (empty) key and the keys along its path. True on success.
bool fixture_create_key(TestHive hive, const std::string& path);
// Removes a key with everything below it; nothing when it is missing.
void fixture_delete_tree(TestHive hive, const std::string& path);

// A name that no other scratch key of any running test program has.
std::string fixture_unique_name();

// A key of its own for one test, "Software\PolrixTest\<unique name>", the same
// path in both hives. Nothing is created until the test puts something there;
// the destructor removes it from both hives.
class ScratchKey {
public:
    ScratchKey() : path_(std::string("Software\\PolrixTest\\") + fixture_unique_name())
    {
        fixture_delete_tree(TestHive::user, path_);
        fixture_delete_tree(TestHive::machine, path_);
    }
    ~ScratchKey()
    {
        fixture_delete_tree(TestHive::user, path_);
        fixture_delete_tree(TestHive::machine, path_);
    }
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;

    // The scratch key's path below the hive, or that of a key below it.
    const std::string& path() const { return path_; }
    std::string path(const std::string& sub) const { return sub.empty() ? path_ : path_ + "\\" + sub; }

    bool put(TestHive hive, const std::string& sub, const char* name, uint32_t type,
             const std::string& data)
    {
        return fixture_put_value(hive, path(sub), name, type, data);
    }
    bool create(TestHive hive, const std::string& sub) { return fixture_create_key(hive, path(sub)); }

private:
    std::string path_;
};
