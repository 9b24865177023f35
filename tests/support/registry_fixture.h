// Registry contents for tests, written and removed past the functions under
// test: on the host straight into the in-memory store, on Windows through
// advapi32's wide calls into the real registry. Paths and names are wide, so
// a test can make any name the registry holds; the ANSI forms stand for what
// the ANSI code page turns them into.
#pragma once

#include "base/platform.h"

#include <cstdint>
#include <string>

enum class TestHive { user, machine };

// The view a fixture writes in: the machine's native one, or the view that
// 64-bit Windows shows 32-bit programs, where HKLM\Software is redirected to
// HKLM\Software\WOW6432Node.
enum class TestView { native, wow32 };

// The root name that the registry functions take for the hive.
inline const char* root_name(TestHive hive) { return hive == TestHive::user ? "HKCU" : "HKLM"; }

// Creates or replaces a value of any type, creating the key path. A null name
// is the key's default value. The data are the bytes that the ANSI calls
// give back: text types are ANSI text. True on success.
bool fixture_put_value(TestHive hive, TestView view, const std::wstring& path, const wchar_t* name, uint32_t type,
                       const std::string& data);
// Creates an (empty) key and the keys along its path. True on success.
bool fixture_create_key(TestHive hive, TestView view, const std::wstring& path);
// Removes a key with everything below it; nothing when it is missing.
void fixture_delete_tree(TestHive hive, TestView view, const std::wstring& path);

// A name that no other scratch key of any running test program has.
std::string fixture_unique_name();

// A key of its own for one test, "Software\PolrixTest\<unique name>", the same
// path in both hives and both views. Nothing is created until the test puts
// something there; the destructor removes it from all of them.
class ScratchKey {
public:
    ScratchKey() : name_(fixture_unique_name()), path_("Software\\PolrixTest\\" + name_) { remove(); }
    ~ScratchKey() { remove(); }
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;

    // The scratch key's path below the hive, or that of a key below it.
    const std::string& path() const { return path_; }
    std::string path(const std::string& sub) const { return sub.empty() ? path_ : path_ + "\\" + sub; }
    // The path by which the native view reaches a key that the 32-bit view
    // has at path(sub).
    std::string wow6432node_path(const std::string& sub) const
    {
        std::string path = "Software\\WOW6432Node\\PolrixTest\\" + name_;
        return sub.empty() ? path : path + "\\" + sub;
    }
    std::wstring wide_path(const std::wstring& sub) const
    {
        std::wstring path = platform::from_ansi(path_);
        return sub.empty() ? path : path + L"\\" + sub;
    }

    bool put(TestHive hive, const std::string& sub, const char* name, uint32_t type, const std::string& data,
             TestView view = TestView::native)
    {
        std::wstring wide_name = name ? platform::from_ansi(name) : std::wstring();
        return put(hive, platform::from_ansi(sub), name ? wide_name.c_str() : nullptr, type, data, view);
    }
    bool put(TestHive hive, const std::wstring& sub, const wchar_t* name, uint32_t type, const std::string& data,
             TestView view = TestView::native)
    {
        return fixture_put_value(hive, view, wide_path(sub), name, type, data);
    }
    bool create(TestHive hive, const std::string& sub, TestView view = TestView::native)
    {
        return create(hive, platform::from_ansi(sub), view);
    }
    bool create(TestHive hive, const std::wstring& sub, TestView view = TestView::native)
    {
        return fixture_create_key(hive, view, wide_path(sub));
    }

private:
    void remove()
    {
        for (TestHive hive : {TestHive::user, TestHive::machine})
            for (TestView view : {TestView::native, TestView::wow32})
                fixture_delete_tree(hive, view, wide_path(L""));
    }

    std::string name_;
    std::string path_;
};
