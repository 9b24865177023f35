// The registry primitives over advapi32. The result codes are Windows' own.
// Names are looked up with the ANSI calls, except those that come with a wide
// form: they go through the wide calls, and their text data are turned into
// the ANSI code page here, as the ANSI calls would do it.
#include "base/registry_backend.h"

#include "base/platform.h"
#include "base/registry_key_win32.h"
#include "base/windows_win32.h"

#include <cstring>

namespace regbackend {

namespace {

HKEY root_key(Hive hive) { return hive == Hive::current_user ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }

REGSAM view_flag(View view) { return view == View::native ? KEY_WOW64_64KEY : KEY_WOW64_32KEY; }

HKEY as_hkey(KeyHandle key) { return static_cast<HKEY>(key); }

bool is_text(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

// A value read by its wide name, its data as the ANSI calls give them.
LONG read_by_wide_name(HKEY key, const std::wstring& name, DWORD& type, std::string& data)
{
    DWORD size = 0;
    LONG result = RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size);
    if (result != ERROR_SUCCESS)
        return result;
    std::string raw(size, '\0');
    result = RegQueryValueExW(key, name.c_str(), nullptr, &type,
                              raw.empty() ? nullptr : reinterpret_cast<BYTE*>(&raw[0]), &size);
    if (result != ERROR_SUCCESS)
        return result;
    raw.resize(size);
    if (!is_text(type)) {
        data = raw;
        return result;
    }
    std::wstring wide(raw.size() / sizeof(wchar_t), L'\0');
    if (!wide.empty())
        std::memcpy(&wide[0], raw.data(), wide.size() * sizeof(wchar_t));
    data = platform::to_ansi(wide);
    return result;
}

long enum_name(KeyHandle key, uint32_t index, uint32_t longest, RegName& name, bool values)
{
    std::wstring buffer(longest + 1, L'\0');
    DWORD length = longest + 1;
    // Name only: no class, no type, no data.
    LONG result = values
                      ? RegEnumValueW(as_hkey(key), index, &buffer[0], &length, nullptr, nullptr, nullptr, nullptr)
                      : RegEnumKeyExW(as_hkey(key), index, &buffer[0], &length, nullptr, nullptr, nullptr,
                                      nullptr);
    if (result != ERROR_SUCCESS)
        return result;
    name.wide.assign(buffer.data(), length);
    name.text = platform::to_ansi(name.wide);
    return result;
}

}  // namespace

long open_key(Hive hive, View view, Lookup path, KeyHandle* key)
{
    RegistryKey opened;
    REGSAM access = KEY_READ | view_flag(view);
    LONG result = path.wide ? RegOpenKeyExW(root_key(hive), path.wide->c_str(), 0, access, opened.out())
                            : RegOpenKeyExA(root_key(hive), path.text, 0, access, opened.out());
    *key = result == ERROR_SUCCESS ? opened.release() : nullptr;
    return result;
}

long create_key(Hive hive, View view, const char* path, KeyHandle* key)
{
    // As RegCreateKeyA, with the view: all the access that the caller has.
    RegistryKey opened;
    LONG result = RegCreateKeyExA(root_key(hive), path, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                  MAXIMUM_ALLOWED | view_flag(view), nullptr, opened.out(), nullptr);
    *key = result == ERROR_SUCCESS ? opened.release() : nullptr;
    return result;
}

long query_value(KeyHandle key, Lookup name, uint32_t* type, uint32_t* size)
{
    DWORD found = 0, bytes = 0;
    LONG result;
    if (name.wide) {
        std::string data;
        result = read_by_wide_name(as_hkey(key), *name.wide, found, data);
        bytes = static_cast<DWORD>(data.size());
    } else {
        result = RegQueryValueExA(as_hkey(key), name.text, nullptr, &found, nullptr, &bytes);
    }
    *type = found;
    *size = bytes;
    return result;
}

long read_value(KeyHandle key, Lookup name, void* data, uint32_t* size)
{
    if (!name.wide) {
        DWORD bytes = *size;
        LONG result = RegQueryValueExA(as_hkey(key), name.text, nullptr, nullptr, static_cast<BYTE*>(data),
                                       &bytes);
        *size = bytes;
        return result;
    }
    DWORD type = 0;
    std::string found;
    LONG result = read_by_wide_name(as_hkey(key), *name.wide, type, found);
    if (result != ERROR_SUCCESS)
        return result;
    uint32_t room = *size;
    *size = static_cast<uint32_t>(found.size());
    if (!data)
        return ERROR_SUCCESS;
    if (room < found.size())
        return ERROR_MORE_DATA;
    std::memcpy(data, found.data(), found.size());
    return ERROR_SUCCESS;
}

long set_value(KeyHandle key, const char* name, uint32_t type, const void* data, uint32_t size)
{
    return RegSetValueExA(as_hkey(key), name, 0, type, static_cast<const BYTE*>(data), size);
}

long enum_key(KeyHandle key, uint32_t index, uint32_t longest, RegName& name)
{
    return enum_name(key, index, longest, name, false);
}

long enum_value(KeyHandle key, uint32_t index, uint32_t longest, RegName& name)
{
    return enum_name(key, index, longest, name, true);
}

void close_key(KeyHandle key) { RegCloseKey(as_hkey(key)); }

}  // namespace regbackend
