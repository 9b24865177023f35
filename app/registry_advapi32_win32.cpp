// The registry primitives over advapi32. The result codes are Windows' own.
#include "app/registry_backend.h"

#include <windows.h>

namespace regbackend {

namespace {

HKEY root_key(Hive hive)
{
    return hive == Hive::current_user ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

HKEY as_hkey(KeyHandle key) { return static_cast<HKEY>(key); }

}  // namespace

long open_key(Hive hive, const char* path, KeyHandle* key)
{
    HKEY opened = nullptr;
    LONG result = RegOpenKeyExA(root_key(hive), path, 0, KEY_READ, &opened);
    *key = result == ERROR_SUCCESS ? opened : nullptr;
    return result;
}

long create_key(Hive hive, const char* path, KeyHandle* key)
{
    HKEY opened = nullptr;
    LONG result = RegCreateKeyA(root_key(hive), path, &opened);
    *key = result == ERROR_SUCCESS ? opened : nullptr;
    return result;
}

long query_value(KeyHandle key, const char* name, uint32_t* type, uint32_t* size)
{
    DWORD found = 0, bytes = 0;
    LONG result = RegQueryValueExA(as_hkey(key), name, nullptr, &found, nullptr, &bytes);
    *type = found;
    *size = bytes;
    return result;
}

long read_value(KeyHandle key, const char* name, void* data, uint32_t* size)
{
    DWORD bytes = *size;
    LONG result = RegQueryValueExA(as_hkey(key), name, nullptr, nullptr,
                                   static_cast<BYTE*>(data), &bytes);
    *size = bytes;
    return result;
}

long set_value(KeyHandle key, const char* name, uint32_t type, const void* data, uint32_t size)
{
    return RegSetValueExA(as_hkey(key), name, 0, type, static_cast<const BYTE*>(data), size);
}

long enum_key(KeyHandle key, uint32_t index, char* name, uint32_t buffer_size)
{
    return RegEnumKeyA(as_hkey(key), index, name, buffer_size);
}

long enum_value(KeyHandle key, uint32_t index, char* name, uint32_t buffer_size)
{
    // Name only: no type, no data.
    DWORD length = buffer_size;
    return RegEnumValueA(as_hkey(key), index, name, &length, nullptr, nullptr, nullptr, nullptr);
}

void close_key(KeyHandle key) { RegCloseKey(as_hkey(key)); }

}  // namespace regbackend
