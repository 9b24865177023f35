// The in-memory registry and the backend primitives over it, answering with
// the result codes that advapi32 gives in the same situations.
#include "base/registry_store.h"

#include "base/ascii_case.h"
#include "base/platform.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

namespace {

using regbackend::Hive;

// Names are kept in UTF-8, so that every name the registry can hold has its
// own form here, while ASCII names are kept as they are.
struct Value {
    std::string name;  // empty: the default value
    uint32_t type = 0;
    std::string data;
};

struct Key {
    std::string name;
    std::vector<std::unique_ptr<Key>> subkeys;  // sorted by name, letter case ignored
    std::vector<Value> values;                  // in order of creation
};

struct Store {
    std::mutex mutex;
    Key hives[2];
};

// Never destroyed, so that code running at process exit still finds it.
Store& store()
{
    static Store* instance = new Store;
    return *instance;
}

Key& hive_root(Store& s, Hive hive) { return s.hives[hive == Hive::current_user ? 0 : 1]; }

std::string utf8_of(const std::wstring& wide)
{
    std::string out;
    for (wchar_t w : wide) {
        auto c = static_cast<uint32_t>(w);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::wstring wide_of(const std::string& utf8)
{
    std::wstring out;
    for (size_t i = 0; i < utf8.size();) {
        auto lead = static_cast<unsigned char>(utf8[i]);
        size_t extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
        uint32_t c = extra ? lead & (0x3F >> extra) : lead;
        for (size_t k = 1; k <= extra && i + k < utf8.size(); ++k)
            c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        out += static_cast<wchar_t>(c);
        i += extra + 1;
    }
    return out;
}

// The text that the ANSI calls give for a wide name. The store's ANSI code
// page is that of the host's text conversion (platform::to_ansi), with the
// best-fit forms that Windows gives: fullwidth ASCII (U+FF01..U+FF5E)
// becomes its ASCII look-alike, so "\uFF1Cb\uFF1E" reads "<b>" like the name
// "<b>". Characters beyond U+FFFF are two UTF-16 units, each a "?".
std::string ansi_of(const std::wstring& wide)
{
    std::string out;
    for (wchar_t w : wide) {
        auto c = static_cast<uint32_t>(w);
        if (c >= 0xFF01 && c <= 0xFF5E)
            out += static_cast<char>(c - 0xFEE0);
        else if (c > 0xFFFF)
            out += "??";
        else
            out += platform::to_ansi(std::wstring(1, w));
    }
    return out;
}

// Length of a name in UTF-16 units, as the registry counts it.
size_t utf16_length(const std::wstring& wide)
{
    size_t length = 0;
    for (wchar_t w : wide)
        length += static_cast<uint32_t>(w) > 0xFFFF ? 2 : 1;
    return length;
}

// Splits a key path into its parts, each in UTF-8. Like the registry, a path
// may not begin with a backslash; empty parts elsewhere (a doubled or a
// trailing backslash) are passed over.
bool split_path(const std::wstring& path, std::vector<std::string>& parts)
{
    parts.clear();
    if (!path.empty() && path[0] == L'\\')
        return false;
    std::wstring part;
    for (size_t i = 0;; ++i) {
        if (i == path.size() || path[i] == L'\\') {
            if (!part.empty())
                parts.push_back(utf8_of(part));
            part.clear();
            if (i == path.size())
                break;
        } else {
            part += path[i];
        }
    }
    return true;
}

// The 32-bit view of 64-bit Windows: below HKLM\SOFTWARE it shows the keys of
// HKLM\SOFTWARE\WOW6432Node (a path that names WOW6432Node itself is left
// as it is). The native view and the current user's hive are not redirected.
void redirect(Hive hive, regbackend::View view, std::vector<std::string>& parts)
{
    if (view != regbackend::View::wow32 || hive != Hive::local_machine || parts.empty() ||
        !equals_ignoring_case(parts[0], "SOFTWARE"))
        return;
    if (parts.size() > 1 && equals_ignoring_case(parts[1], "WOW6432Node"))
        return;
    parts.insert(parts.begin() + 1, "WOW6432Node");
}

// The wide form of a name to look up: the one given, or what the ANSI text
// stands for.
std::wstring wide_lookup(regbackend::Lookup lookup)
{
    if (lookup.wide)
        return *lookup.wide;
    return lookup.text ? platform::from_ansi(lookup.text) : std::wstring();
}

Key* find_subkey(Key& key, const std::string& name)
{
    for (auto& sub : key.subkeys)
        if (equals_ignoring_case(sub->name, name))
            return sub.get();
    return nullptr;
}

Key* find_key(Key& root, const std::vector<std::string>& parts)
{
    Key* key = &root;
    for (const std::string& part : parts) {
        key = find_subkey(*key, part);
        if (!key)
            return nullptr;
    }
    return key;
}

Key& make_key(Key& root, const std::vector<std::string>& parts)
{
    Key* key = &root;
    for (const std::string& part : parts) {
        Key* sub = find_subkey(*key, part);
        if (!sub) {
            // Subkeys are listed by name, as the registry itself lists them.
            auto at = std::find_if(key->subkeys.begin(), key->subkeys.end(), [&](const std::unique_ptr<Key>& k) {
                return less_ignoring_case(part, k->name);
            });
            sub = key->subkeys.insert(at, std::make_unique<Key>())->get();
            sub->name = part;
        }
        key = sub;
    }
    return *key;
}

Value* find_value(Key& key, const std::string& wanted)
{
    for (Value& v : key.values)
        if (equals_ignoring_case(v.name, wanted))
            return &v;
    return nullptr;
}

void set_in(Key& key, const std::string& name, uint32_t type, std::string data)
{
    Value* value = find_value(key, name);
    if (!value) {
        key.values.emplace_back();
        value = &key.values.back();
        value->name = name;
    }
    value->type = type;
    value->data = std::move(data);
}

// An open key names its key by path, so that a key deleted while it is open
// is found missing rather than reached through a dangling pointer.
struct OpenKey {
    Hive hive;
    std::vector<std::string> parts;
};

constexpr long RESULT_KEY_DELETED = 1018;  // ERROR_KEY_DELETED

Key* resolve(Store& s, regbackend::KeyHandle handle)
{
    auto* open = static_cast<OpenKey*>(handle);
    return find_key(hive_root(s, open->hive), open->parts);
}

// The named value of an open key, with the store locked; none with the
// registry's answer in result when the key is gone or the value missing.
Value* open_value(Store& s, regbackend::KeyHandle handle, regbackend::Lookup name, long& result)
{
    Key* key = resolve(s, handle);
    if (!key) {
        result = RESULT_KEY_DELETED;
        return nullptr;
    }
    Value* value = find_value(*key, utf8_of(wide_lookup(name)));
    if (!value)
        result = regbackend::RESULT_NOT_FOUND;
    return value;
}

long copy_name(const std::string& stored, uint32_t longest, RegName& name)
{
    std::wstring wide = wide_of(stored);
    if (utf16_length(wide) > longest)
        return regbackend::RESULT_MORE_DATA;
    name.text = ansi_of(wide);
    name.wide = std::move(wide);
    return regbackend::RESULT_OK;
}

}  // namespace

namespace regbackend {

long open_key(Hive hive, View view, Lookup path, KeyHandle* key)
{
    *key = nullptr;
    std::vector<std::string> parts;
    if (!split_path(wide_lookup(path), parts))
        return RESULT_BAD_PATHNAME;
    redirect(hive, view, parts);
    Store& s = store();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (!find_key(hive_root(s, hive), parts))
        return RESULT_NOT_FOUND;
    *key = new OpenKey{hive, std::move(parts)};
    return RESULT_OK;
}

long create_key(Hive hive, View view, const char* path, KeyHandle* key)
{
    *key = nullptr;
    std::vector<std::string> parts;
    if (!split_path(platform::from_ansi(path), parts))
        return RESULT_BAD_PATHNAME;
    redirect(hive, view, parts);
    Store& s = store();
    std::lock_guard<std::mutex> lock(s.mutex);
    make_key(hive_root(s, hive), parts);
    *key = new OpenKey{hive, std::move(parts)};
    return RESULT_OK;
}

long query_value(KeyHandle handle, Lookup name, uint32_t* type, uint32_t* size)
{
    Store& s = store();
    std::lock_guard<std::mutex> lock(s.mutex);
    long result = RESULT_OK;
    Value* value = open_value(s, handle, name, result);
    if (!value)
        return result;
    *type = value->type;
    *size = static_cast<uint32_t>(value->data.size());
    return RESULT_OK;
}

long read_value(KeyHandle handle, Lookup name, void* data, uint32_t* size)
{
    Store& s = store();
    std::lock_guard<std::mutex> lock(s.mutex);
    long result = RESULT_OK;
    Value* value = open_value(s, handle, name, result);
    if (!value)
        return result;
    uint32_t room = *size;
    *size = static_cast<uint32_t>(value->data.size());
    if (!data)
        return RESULT_OK;  // the size only, as the registry answers
    if (room < value->data.size())
        return RESULT_MORE_DATA;
    if (!value->data.empty())
        std::memcpy(data, value->data.data(), value->data.size());
    return RESULT_OK;
}

long set_value(KeyHandle handle, const char* name, uint32_t type, const void* data, uint32_t size)
{
    Store& s = store();
    std::lock_guard<std::mutex> lock(s.mutex);
    Key* key = resolve(s, handle);
    if (!key)
        return RESULT_KEY_DELETED;
    std::string bytes;
    if (data && size)
        bytes.assign(static_cast<const char*>(data), size);
    set_in(*key, utf8_of(platform::from_ansi(name ? name : "")), type, std::move(bytes));
    return RESULT_OK;
}

long enum_key(KeyHandle handle, uint32_t index, uint32_t longest, RegName& name)
{
    Store& s = store();
    std::lock_guard<std::mutex> lock(s.mutex);
    Key* key = resolve(s, handle);
    if (!key)
        return RESULT_KEY_DELETED;
    if (index >= key->subkeys.size())
        return RESULT_NO_MORE_ITEMS;
    return copy_name(key->subkeys[index]->name, longest, name);
}

long enum_value(KeyHandle handle, uint32_t index, uint32_t longest, RegName& name)
{
    Store& s = store();
    std::lock_guard<std::mutex> lock(s.mutex);
    Key* key = resolve(s, handle);
    if (!key)
        return RESULT_KEY_DELETED;
    if (index >= key->values.size())
        return RESULT_NO_MORE_ITEMS;
    return copy_name(key->values[index].name, longest, name);
}

void close_key(KeyHandle handle) { delete static_cast<OpenKey*>(handle); }

}  // namespace regbackend

namespace regstore {

void put_value(Hive hive, View view, const std::wstring& path, const wchar_t* name, uint32_t type,
               const std::string& data)
{
    std::vector<std::string> parts;
    if (!split_path(path, parts))
        return;
    redirect(hive, view, parts);
    Store& s = store();
    std::lock_guard<std::mutex> lock(s.mutex);
    set_in(make_key(hive_root(s, hive), parts), utf8_of(name ? name : L""), type, data);
}

void create_key(Hive hive, View view, const std::wstring& path)
{
    std::vector<std::string> parts;
    if (!split_path(path, parts))
        return;
    redirect(hive, view, parts);
    Store& s = store();
    std::lock_guard<std::mutex> lock(s.mutex);
    make_key(hive_root(s, hive), parts);
}

void delete_tree(Hive hive, View view, const std::wstring& path)
{
    std::vector<std::string> parts;
    if (!split_path(path, parts))
        return;
    redirect(hive, view, parts);
    Store& s = store();
    std::lock_guard<std::mutex> lock(s.mutex);
    Key& root = hive_root(s, hive);
    if (parts.empty()) {
        root.subkeys.clear();
        root.values.clear();
        return;
    }
    std::string last = parts.back();
    parts.pop_back();
    Key* parent = find_key(root, parts);
    if (!parent)
        return;
    for (auto it = parent->subkeys.begin(); it != parent->subkeys.end(); ++it)
        if (equals_ignoring_case((*it)->name, last)) {
            parent->subkeys.erase(it);
            return;
        }
}

void clear()
{
    Store& s = store();
    std::lock_guard<std::mutex> lock(s.mutex);
    for (Key& root : s.hives) {
        root.subkeys.clear();
        root.values.clear();
    }
}

}  // namespace regstore
