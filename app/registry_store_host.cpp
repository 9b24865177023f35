// The in-memory registry and the backend primitives over it, answering with
// the result codes that advapi32 gives in the same situations.
#include "app/registry_store.h"

#include "app/ascii_case.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

namespace {

using regbackend::Hive;

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

// Splits a key path into its parts. Like the registry, a path may not begin
// with a backslash; empty parts elsewhere (a doubled or a trailing
// backslash) are passed over.
bool split_path(const char* path, std::vector<std::string>& parts)
{
    parts.clear();
    if (!path)
        return true;
    if (path[0] == '\\')
        return false;
    std::string part;
    for (const char* p = path;; ++p) {
        if (*p == '\\' || *p == '\0') {
            if (!part.empty())
                parts.push_back(part);
            part.clear();
            if (*p == '\0')
                break;
        } else {
            part += *p;
        }
    }
    return true;
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
            auto at = std::find_if(key->subkeys.begin(), key->subkeys.end(),
                                   [&](const std::unique_ptr<Key>& k) { return less_ignoring_case(part, k->name); });
            sub = key->subkeys.insert(at, std::make_unique<Key>())->get();
            sub->name = part;
        }
        key = sub;
    }
    return *key;
}

Value* find_value(Key& key, const char* name)
{
    std::string wanted = name ? name : "";
    for (Value& v : key.values)
        if (equals_ignoring_case(v.name, wanted))
            return &v;
    return nullptr;
}

void set_in(Key& key, const char* name, uint32_t type, std::string data)
{
    Value* value = find_value(key, name);
    if (!value) {
        key.values.emplace_back();
        value = &key.values.back();
        value->name = name ? name : "";
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
Value* open_value(Store& s, regbackend::KeyHandle handle, const char* name, long& result)
{
    Key* key = resolve(s, handle);
    if (!key) {
        result = RESULT_KEY_DELETED;
        return nullptr;
    }
    Value* value = find_value(*key, name);
    if (!value)
        result = regbackend::RESULT_NOT_FOUND;
    return value;
}

long copy_name(const std::string& name, char* buffer, uint32_t buffer_size)
{
    if (name.size() >= buffer_size)
        return regbackend::RESULT_MORE_DATA;
    std::memcpy(buffer, name.c_str(), name.size() + 1);
    return regbackend::RESULT_OK;
}

}  // namespace

namespace regbackend {

long open_key(Hive hive, const char* path, KeyHandle* key)
{
    *key = nullptr;
    std::vector<std::string> parts;
    if (!split_path(path, parts))
        return RESULT_BAD_PATHNAME;
    Store& s = store();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (!find_key(hive_root(s, hive), parts))
        return RESULT_NOT_FOUND;
    *key = new OpenKey{hive, std::move(parts)};
    return RESULT_OK;
}

long create_key(Hive hive, const char* path, KeyHandle* key)
{
    *key = nullptr;
    std::vector<std::string> parts;
    if (!split_path(path, parts))
        return RESULT_BAD_PATHNAME;
    Store& s = store();
    std::lock_guard<std::mutex> lock(s.mutex);
    make_key(hive_root(s, hive), parts);
    *key = new OpenKey{hive, std::move(parts)};
    return RESULT_OK;
}

long query_value(KeyHandle handle, const char* name, uint32_t* type, uint32_t* size)
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

long read_value(KeyHandle handle, const char* name, void* data, uint32_t* size)
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
    set_in(*key, name, type, std::move(bytes));
    return RESULT_OK;
}

long enum_key(KeyHandle handle, uint32_t index, char* name, uint32_t buffer_size)
{
    Store& s = store();
    std::lock_guard<std::mutex> lock(s.mutex);
    Key* key = resolve(s, handle);
    if (!key)
        return RESULT_KEY_DELETED;
    if (index >= key->subkeys.size())
        return RESULT_NO_MORE_ITEMS;
    return copy_name(key->subkeys[index]->name, name, buffer_size);
}

long enum_value(KeyHandle handle, uint32_t index, char* name, uint32_t buffer_size)
{
    Store& s = store();
    std::lock_guard<std::mutex> lock(s.mutex);
    Key* key = resolve(s, handle);
    if (!key)
        return RESULT_KEY_DELETED;
    if (index >= key->values.size())
        return RESULT_NO_MORE_ITEMS;
    return copy_name(key->values[index].name, name, buffer_size);
}

void close_key(KeyHandle handle) { delete static_cast<OpenKey*>(handle); }

}  // namespace regbackend

namespace regstore {

void put_value(Hive hive, const std::string& path, const char* name, uint32_t type,
               const std::string& data)
{
    std::vector<std::string> parts;
    if (!split_path(path.c_str(), parts))
        return;
    Store& s = store();
    std::lock_guard<std::mutex> lock(s.mutex);
    set_in(make_key(hive_root(s, hive), parts), name, type, data);
}

void create_key(Hive hive, const std::string& path)
{
    std::vector<std::string> parts;
    if (!split_path(path.c_str(), parts))
        return;
    Store& s = store();
    std::lock_guard<std::mutex> lock(s.mutex);
    make_key(hive_root(s, hive), parts);
}

void delete_tree(Hive hive, const std::string& path)
{
    std::vector<std::string> parts;
    if (!split_path(path.c_str(), parts))
        return;
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
