// The program's only road to the registry: a few functions, each one open,
// one piece of work and one close. The root name "HKCU" (exactly) selects the
// current user's hive, every other root name the local machine's. A null
// value name means the key's default value.
//
// Each read hands back its own copy of the data, so an earlier result stays
// valid after later calls and any thread may call them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum : uint32_t {
    REGTYPE_SZ = 1,
    REGTYPE_EXPAND_SZ = 2,
    REGTYPE_BINARY = 3,
    REGTYPE_DWORD = 4,
    REGTYPE_DWORD_BIG_ENDIAN = 5,
    REGTYPE_LINK = 6,
    REGTYPE_MULTI_SZ = 7,
    REGTYPE_QWORD = 11,
};

// Raw data of a value of any type, and its type. None when the key or value
// is missing, or when the value holds one byte only (type is then 0).
std::optional<std::string> read_rval(const char* root, const char* key, const char* name, uint32_t& type);

// A REG_DWORD of exactly 4 bytes, or -1 (all bits set) for anything else.
int32_t read_rdword(const char* root, const char* key, const char* name);

// Creates the key when needed. 0 on success, 1 on failure.
int write_rdword(const char* root, const char* key, const char* name, uint32_t value);

// The text of a REG_SZ or REG_EXPAND_SZ (unexpanded), up to its first zero
// byte; none when missing, of another type, or empty.
std::optional<std::string> read_rstring(const char* root, const char* key, const char* name);

// Writes a REG_SZ (the text and its terminating zero); creates the key when
// needed. 0 on success, 1 on failure.
int write_rstring(const char* root, const char* key, const char* name, const std::string& text);

// A subkey or value name as an enumeration found it: its text in the ANSI
// code page, which is what lists show, and the wide form the registry holds.
// Where the text does not turn back into the wide form (a character the code
// page has no form for, or one whose best-fit form is another character),
// the reads below look the name up by its wide form, so that they reach this
// name and never another one that looks the same in ANSI.
struct RegName {
    std::string text;
    std::wstring wide;
    bool operator==(const RegName& o) const { return text == o.text && wide == o.wide; }
};

// A caller's ANSI text as a name: its wide form is what the text stands for.
RegName reg_name(const std::string& text);
// The path of a subkey: the key's path, a backslash and the subkey's name;
// below the hive itself (an empty key path) the subkey's name alone.
RegName subkey_path(const RegName& key, const RegName& subkey);

// read_rval by a key path and a value name that may come from enumerations.
std::optional<std::string> read_rval(const char* root, const RegName& key, const RegName& name, uint32_t& type);

// The data and type of a value, as read_rval hands them out.
struct RegValue {
    std::optional<std::string> data;
    uint32_t type = 0;
};

// read_rval for several values of one key, with the key opened once: one
// answer per name, in the order of the names. Every answer is none when the
// key cannot be opened.
void read_rvals(const char* root, const RegName& key, const std::vector<RegName>& names,
                std::vector<RegValue>& values);

// Appends the names of the key's subkeys (values) in the registry's order,
// names of any length; only the end of the list or an error of the registry
// ends the listing. 0 when the key was opened, 1 when not (the array is then
// untouched).
int enum_rkeys(const char* root, const char* key, std::vector<RegName>& names);
int enum_rvalues(const char* root, const char* key, std::vector<RegName>& names);
