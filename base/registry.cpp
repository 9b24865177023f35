#include "base/registry.h"

#include "base/platform.h"
#include "base/registry_backend.h"

#include <algorithm>
#include <cstring>
#include <limits>

using namespace regbackend;

namespace {

// The enumerations first make room for names of 259 characters, and for
// twice as many whenever a name does not fit, asking for the same index
// again. The registry's names are counted strings of at most 32,767
// characters, so a name that does not fit 32,768 is an error of the registry.
constexpr uint32_t FIRST_NAME_LENGTH = 259;
constexpr uint32_t LONGEST_NAME = 32767;

// Every key is opened in the machine's native view, so that the 32-bit and
// the 64-bit program read the same keys: 64-bit software under SOFTWARE, and
// 32-bit software under its own path, SOFTWARE\WOW6432Node.
constexpr View VIEW = View::native;

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

    bool open_for_reading(const char* root, Lookup path)
    {
        if (!path.text && !path.wide)
            path.text = "";
        return open_key(hive_of(root), VIEW, path, &handle_) == RESULT_OK;
    }
    bool open_for_writing(const char* root, const char* path)
    {
        return create_key(hive_of(root), VIEW, path ? path : "", &handle_) == RESULT_OK;
    }
    KeyHandle get() const { return handle_; }

private:
    KeyHandle handle_ = nullptr;
};

// The data of a value whose size was just asked; the registry may store fewer
// bytes than it announced (text types through the ANSI calls).
std::optional<std::string> read_data(KeyHandle key, Lookup name, uint32_t size)
{
    std::string data(size, '\0');
    uint32_t stored = size;
    if (read_value(key, name, data.empty() ? nullptr : &data[0], &stored) != RESULT_OK)
        return std::nullopt;
    if (stored < size)
        data.resize(stored);
    return data;
}

// A caller's text is looked up as it is; a name an enumeration found, by its
// wide form where its text does not turn back into it.
Lookup lookup_of(const RegName& name)
{
    Lookup lookup;
    lookup.text = name.text.c_str();
    if (platform::from_ansi(name.text) != name.wide)
        lookup.wide = &name.wide;
    return lookup;
}

Lookup lookup_of(const char* text)
{
    Lookup lookup;
    lookup.text = text;
    return lookup;
}

int enum_names(const char* root, const char* path, std::vector<RegName>& names, bool values)
{
    OpenKey key;
    if (!key.open_for_reading(root, lookup_of(path)))
        return 1;
    uint32_t longest = FIRST_NAME_LENGTH;
    for (uint32_t index = 0;;) {
        RegName name;
        long result = values ? enum_value(key.get(), index, longest, name)
                             : enum_key(key.get(), index, longest, name);
        if (result == RESULT_MORE_DATA && longest < LONGEST_NAME) {
            longest = std::min(2 * longest + 1, LONGEST_NAME);
            continue;
        }
        // The end of the list or an error: the names gathered so far are
        // the answer.
        if (result != RESULT_OK)
            break;
        names.push_back(std::move(name));
        ++index;
    }
    return 0;
}

// A value of a key that is open: its data and type as read_rval hands them.
std::optional<std::string> read_open_value(KeyHandle key, Lookup name, uint32_t& type)
{
    // Whenever no data are handed out the type is 0, so a caller never sees
    // the type of a value it could not read.
    type = 0;
    uint32_t found = 0, size = 0;
    if (query_value(key, name, &found, &size) != RESULT_OK)
        return std::nullopt;
    // One byte: the empty text (or any one-byte value) counts as no value.
    if (size == 1)
        return std::nullopt;
    std::optional<std::string> data = read_data(key, name, size);
    if (data)
        type = found;
    return data;
}

std::optional<std::string> read_rval_at(const char* root, Lookup path, Lookup name, uint32_t& type)
{
    type = 0;
    OpenKey key;
    if (!key.open_for_reading(root, path))
        return std::nullopt;
    return read_open_value(key.get(), name, type);
}

}  // namespace

RegName reg_name(const std::string& text) { return RegName{text, platform::from_ansi(text)}; }

RegName subkey_path(const RegName& key, const RegName& subkey)
{
    if (key.text.empty() && key.wide.empty())
        return subkey;
    return RegName{key.text + "\\" + subkey.text, key.wide + L"\\" + subkey.wide};
}

std::optional<std::string> read_rval(const char* root, const char* path, const char* name, uint32_t& type)
{
    return read_rval_at(root, lookup_of(path), lookup_of(name), type);
}

std::optional<std::string> read_rval(const char* root, const RegName& key, const RegName& name, uint32_t& type)
{
    return read_rval_at(root, lookup_of(key), lookup_of(name), type);
}

void read_rvals(const char* root, const RegName& key, const std::vector<RegName>& names,
                std::vector<RegValue>& values)
{
    values.assign(names.size(), RegValue());
    if (names.empty())
        return;
    OpenKey open;
    if (!open.open_for_reading(root, lookup_of(key)))
        return;
    for (size_t k = 0; k < names.size(); ++k)
        values[k].data = read_open_value(open.get(), lookup_of(names[k]), values[k].type);
}

int32_t read_rdword(const char* root, const char* path, const char* name)
{
    OpenKey key;
    if (!key.open_for_reading(root, lookup_of(path)))
        return -1;
    uint32_t type = 0, size = 0;
    if (query_value(key.get(), lookup_of(name), &type, &size) != RESULT_OK || type != REGTYPE_DWORD || size != 4)
        return -1;
    unsigned char bytes[4];
    uint32_t stored = sizeof bytes;
    if (read_value(key.get(), lookup_of(name), bytes, &stored) != RESULT_OK || stored != 4)
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
    if (!key.open_for_reading(root, lookup_of(path)))
        return std::nullopt;
    uint32_t type = 0, size = 0;
    if (query_value(key.get(), lookup_of(name), &type, &size) != RESULT_OK ||
        (type != REGTYPE_SZ && type != REGTYPE_EXPAND_SZ))
        return std::nullopt;
    // The empty text counts as absent; so does a text value of no bytes at
    // all, which has not even the terminating zero.
    if (size <= 1)
        return std::nullopt;
    std::optional<std::string> data = read_data(key.get(), lookup_of(name), size);
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
    return set_value(key.get(), name, REGTYPE_SZ, text.c_str(), static_cast<uint32_t>(length + 1)) == RESULT_OK
               ? 0
               : 1;
}

int enum_rkeys(const char* root, const char* path, std::vector<RegName>& names)
{
    return enum_names(root, path, names, false);
}

int enum_rvalues(const char* root, const char* path, std::vector<RegName>& names)
{
    return enum_names(root, path, names, true);
}
