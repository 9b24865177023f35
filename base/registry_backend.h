// The primitives that the seven registry functions are written over. Two
// implementations exist: advapi32 on Windows and the in-memory store on the
// host. Both answer with the result codes of the Windows registry calls, so
// the functions above them behave the same over either.
#pragma once

#include "base/registry.h"

#include <cstdint>
#include <string>

namespace regbackend {

enum class Hive { current_user, local_machine };

// The view of the registry that a key is opened in. On 64-bit Windows a
// 32-bit program is shown by default a view in which HKLM\SOFTWARE is
// redirected to HKLM\SOFTWARE\WOW6432Node (KEY_WOW64_32KEY); the native view
// (KEY_WOW64_64KEY) is the machine's own, the same for every program.
// 32-bit Windows has one view only and ignores the choice.
enum class View { native, wow32 };

// An open key: an HKEY on Windows, a record of the store on the host.
using KeyHandle = void*;

// Result codes, the numbers of the Windows error codes.
enum : long {
    RESULT_OK = 0,
    RESULT_NOT_FOUND = 2,        // ERROR_FILE_NOT_FOUND
    RESULT_BAD_PATHNAME = 161,   // ERROR_BAD_PATHNAME
    RESULT_MORE_DATA = 234,      // ERROR_MORE_DATA
    RESULT_NO_MORE_ITEMS = 259,  // ERROR_NO_MORE_ITEMS
};

// A key path or value name to look up: by its ANSI text, or by its wide form
// when one is given (a name an enumeration found whose text stands for
// another name or for none). A value name with neither is the key's default
// value, and so is the empty one.
struct Lookup {
    const char* text = nullptr;
    const std::wstring* wide = nullptr;
};

// Opens an existing key for reading.
long open_key(Hive hive, View view, Lookup path, KeyHandle* key);
// Opens a key for writing, creating it and every missing key along the path.
long create_key(Hive hive, View view, const char* path, KeyHandle* key);
// Type and size in bytes of a value, without its data. Data are always those
// that the ANSI calls give: text types in the ANSI code page.
long query_value(KeyHandle key, Lookup name, uint32_t* type, uint32_t* size);
// The value's data into a buffer of *size bytes; *size becomes the number of
// bytes stored. A buffer that is too small gives RESULT_MORE_DATA.
long read_value(KeyHandle key, Lookup name, void* data, uint32_t* size);
// Creates or replaces a value.
long set_value(KeyHandle key, const char* name, uint32_t type, const void* data, uint32_t size);
// The subkey / value at an index: its name in the wide form the registry
// holds and as the text that the registry's ANSI calls give for it. A name of
// more than `longest` wide characters gives RESULT_MORE_DATA, an index past
// the end RESULT_NO_MORE_ITEMS.
long enum_key(KeyHandle key, uint32_t index, uint32_t longest, RegName& name);
long enum_value(KeyHandle key, uint32_t index, uint32_t longest, RegName& name);
void close_key(KeyHandle key);

}  // namespace regbackend
