// The primitives that the seven registry functions are written over. Two
// implementations exist: advapi32 on Windows and the in-memory store on the
// host. Both answer with the result codes of the Windows registry calls, so
// the functions above them behave the same over either.
#pragma once

#include <cstdint>

namespace regbackend {

enum class Hive { current_user, local_machine };

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

// Opens an existing key for reading.
long open_key(Hive hive, const char* path, KeyHandle* key);
// Opens a key for writing, creating it and every missing key along the path.
long create_key(Hive hive, const char* path, KeyHandle* key);
// Type and size in bytes of a value (a null or empty name is the default
// value), without its data.
long query_value(KeyHandle key, const char* name, uint32_t* type, uint32_t* size);
// The value's data into a buffer of *size bytes; *size becomes the number of
// bytes stored. A buffer that is too small gives RESULT_MORE_DATA.
long read_value(KeyHandle key, const char* name, void* data, uint32_t* size);
// Creates or replaces a value.
long set_value(KeyHandle key, const char* name, uint32_t type, const void* data, uint32_t size);
// Name of the subkey / value at an index, zero-terminated, into a buffer of
// buffer_size bytes. A name that does not fit with its zero gives
// RESULT_MORE_DATA; an index past the end RESULT_NO_MORE_ITEMS.
long enum_key(KeyHandle key, uint32_t index, char* name, uint32_t buffer_size);
long enum_value(KeyHandle key, uint32_t index, char* name, uint32_t buffer_size);
void close_key(KeyHandle key);

}  // namespace regbackend
