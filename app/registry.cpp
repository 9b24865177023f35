#include "app/registry.h"

#include "app/registry_backend.h"

#include <cstring>
#include <limits>

using namespace regbackend;

namespace {

// The enumerations take names of up to 259 characters and their zero; a
// longer name ends the listing at its index.
constexpr uint32_t NAME_BUFFER_SIZE = 260;

// Only the exact text "HKCU" means the current user's hive.
Hive hive_of(const char* root)
{
    if (root && std::strcmp(root, "HKCU") == 0)
        return Hive::current_user;
    return Hive::local_machine;
}

// A key opened for one call, closed when the call returns.
class OpenKey {
public:
    OpenKey() = default;
    ~OpenKey()
    {
        if (handle_)
            close_key(handle_);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;

    bool open_for_reading(const char* root, const char* path)
    {
        return open_key(hive_of(root), path ? path : "", &handle_) == RESULT_OK;
    }
    bool open_for_writing(const char* root, const char* path)
    {
        return create_key(hive_of(root), path ? path : "", &handle_) == RESULT_OK;
    }
    KeyHandle get() const { return handle_; }

private:
    KeyHandle handle_ = nullptr;
};

// The data of a value whose size was just asked; the registry may store fewer
// bytes than it announced (text types through the ANSI calls).
std::optional<std::string> read_data(KeyHandle key, const char* name, uint32_t size)
{
    std::string data(size, '\0');
    uint32_t stored = size;
    if (read_value(key, name, data.empty() ? nullptr : &data[0], &stored) != RESULT_OK)
        return std::nullopt;
    if (stored < size)
        data.resize(stored);
    return data;
}

int enum_names(const char* root, const char* path, std::vector<std::string>& names, bool values)
{
    OpenKey key;
    if (!key.open_for_reading(root, path))
        return 1;
    std::string buffer(NAME_BUFFER_SIZE, '\0');
    for (uint32_t index = 0;; ++index) {
        long result = values ? enum_value(key.get(), index, &buffer[0], NAME_BUFFER_SIZE)
                             : enum_key(key.get(), index, &buffer[0], NAME_BUFFER_SIZE);
        // The end of the list, a name too long for the buffer or any other
        // error: the names gathered so far are the answer.
        if (result != RESULT_OK)
            break;
        names.emplace_back(buffer.c_str());
    }
    return 0;
}

}  // namespace

std::optional<std::string> read_rval(const char* root, const char* path, const char* name,
                                     uint32_t& type)
{
    // Whenever no data are handed out the type is 0, so a caller never sees
    // the type of a value it could not read.
    type = 0;
    OpenKey key;
    if (!key.open_for_reading(root, path))
        return std::nullopt;
    uint32_t found = 0, size = 0;
    if (query_value(key.get(), name, &found, &size) != RESULT_OK)
        return std::nullopt;
    // One byte: the empty text (or any one-byte value) counts as no value.
    if (size == 1)
        return std::nullopt;
    std::optional<std::string> data = read_data(key.get(), name, size);
    if (data)
        type = found;
    return data;
}

int32_t read_rdword(const char* root, const char* path, const char* name)
{
    OpenKey key;
    if (!key.open_for_reading(root, path))
        return -1;
    uint32_t type = 0, size = 0;
    if (query_value(key.get(), name, &type, &size) != RESULT_OK || type != REGTYPE_DWORD ||
        size != 4)
        return -1;
    unsigned char bytes[4];
    uint32_t stored = sizeof bytes;
    if (read_value(key.get(), name, bytes, &stored) != RESULT_OK || stored != 4)
        return -1;
    int32_t value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

int write_rdword(const char* root, const char* path, const char* name, uint32_t value)
{
    OpenKey key;
    if (!key.open_for_writing(root, path))
        return 1;
    unsigned char bytes[4];
    std::memcpy(bytes, &value, sizeof bytes);
    return set_value(key.get(), name, REGTYPE_DWORD, bytes, sizeof bytes) == RESULT_OK ? 0 : 1;
}

std::optional<std::string> read_rstring(const char* root, const char* path, const char* name)
{
    OpenKey key;
    if (!key.open_for_reading(root, path))
        return std::nullopt;
    uint32_t type = 0, size = 0;
    if (query_value(key.get(), name, &type, &size) != RESULT_OK ||
        (type != REGTYPE_SZ && type != REGTYPE_EXPAND_SZ))
        return std::nullopt;
    // The empty text counts as absent; so does a text value of no bytes at
    // all, which has not even the terminating zero.
    if (size <= 1)
        return std::nullopt;
    std::optional<std::string> data = read_data(key.get(), name, size);
    if (!data)
        return std::nullopt;
    size_t end = data->find('\0');
    if (end != std::string::npos)
        data->resize(end);
    return data;
}

int write_rstring(const char* root, const char* path, const char* name, const std::string& text)
{
    // The value is the zero-terminated text: its characters up to the first
    // zero, and that zero.
    size_t length = std::strlen(text.c_str());
    if (length >= std::numeric_limits<uint32_t>::max())
        return 1;
    OpenKey key;
    if (!key.open_for_writing(root, path))
        return 1;
    return set_value(key.get(), name, REGTYPE_SZ, text.c_str(), static_cast<uint32_t>(length + 1)) ==
                   RESULT_OK
               ? 0
               : 1;
}

int enum_rkeys(const char* root, const char* path, std::vector<std::string>& names)
{
    return enum_names(root, path, names, false);
}

int enum_rvalues(const char* root, const char* path, std::vector<std::string>& names)
{
    return enum_names(root, path, names, true);
}
