// Registry contents for tests, written and removed past the functions under
// test: on the host straight into the in-memory store, on Windows through
// advapi32's wide calls into the real registry. Paths and names are wide, so
// a test can make any name the registry holds; the ANSI forms stand for what
// the ANSI code page turns them into.
#pragma once

#include "app/platform.h"

#include <cstdint>
#include <string>

enum class TestHive { user, machine };

// The root name that the registry functions take for the hive.
inline const char* root_name(TestHive hive) { return hive == TestHive::user ? "HKCU" : "HKLM"; }

// Creates or replaces a value of any type, creating the key path. A null name
// is the key's default value. The data are the bytes that the ANSI calls
// give back: text types are ANSI text. True on success.
bool fixture_put_value(TestHive hive, const std::wstring& path, const wchar_t* name, uint32_t type,
                       const std::string& data);
// Creates an (empty) key and the keys along its path. True on success.
bool fixture_create_key(TestHive hive, const std::wstring& path);
// Removes a key with everything below it; nothing when it is missing.
void fixture_delete_tree(TestHive hive, const std::wstring& path);

// A name that no other scratch key of any running test program has.
std::string fixture_unique_name();

// A key of its own for one test, "Software\PolrixTest\<unique name>", the same
// path in both hives. Nothing is created until the test puts something there;
// the destructor removes it from both hives.
class ScratchKey {
public:
    ScratchKey() : path_(std::string("Software\\PolrixTest\\") + fixture_unique_name())
    {
        remove();
    }
    ~ScratchKey() { remove(); }
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;

    // The scratch key's path below the hive, or that of a key below it.
    const std::string& path() const { return path_; }
    std::string path(const std::string& sub) const { return sub.empty() ? path_ : path_ + "\\" + sub; }
    std::wstring wide_path(const std::wstring& sub) const
    {
        std::wstring path = platform::from_ansi(path_);
        return sub.empty() ? path : path + L"\\" + sub;
    }

    bool put(TestHive hive, const std::string& sub, const char* name, uint32_t type,
             const std::string& data)
    {
        std::wstring wide_name = name ? platform::from_ansi(name) : std::wstring();
        return put(hive, platform::from_ansi(sub), name ? wide_name.c_str() : nullptr, type, data);
    }
    bool put(TestHive hive, const std::wstring& sub, const wchar_t* name, uint32_t type,
             const std::string& data)
    {
        return fixture_put_value(hive, wide_path(sub), name, type, data);
    }
    bool create(TestHive hive, const std::string& sub) { return create(hive, platform::from_ansi(sub)); }
    bool create(TestHive hive, const std::wstring& sub) { return fixture_create_key(hive, wide_path(sub)); }

private:
    void remove()
    {
        fixture_delete_tree(TestHive::user, wide_path(L""));
        fixture_delete_tree(TestHive::machine, wide_path(L""));
    }

    std::string path_;
};
