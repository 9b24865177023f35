// The in-memory registry of the host build: two hives of keys, each key with
// its subkeys and values, a value being a type number and raw bytes. Key
// path parts and value names compare without regard to ASCII letter case; the
// empty (or null) value name is the key's default value. Subkeys are listed
// by name, as the registry lists them; values in the order of their creation.
//
// Names are wide, as in the registry. The backend's ANSI texts go through a
// model of an ANSI code page with best-fit forms, so that two names can look
// the same in ANSI (fullwidth "\uFF1Cb\uFF1E" and "<b>" both read "<b>") and a
// name can have no ANSI form at all ("?"), as on Windows.
//
// The store is the registry of 64-bit Windows: a key opened in the 32-bit
// view below HKLM\SOFTWARE is the one below HKLM\SOFTWARE\WOW6432Node.
//
// The seven registry functions reach it through the backend primitives; the
// functions below let tests fill and empty it. The store is process-wide and
// every call may come from any thread.
#pragma once

#include "base/registry_backend.h"

#include <cstdint>
#include <string>

namespace regstore {

using regbackend::Hive;
using regbackend::View;

// Creates or replaces a value, creating the key and the keys along its path.
// The data are stored as they are, as the ANSI calls would give them back.
void put_value(Hive hive, View view, const std::wstring& path, const wchar_t* name, uint32_t type,
               const std::string& data);
// Creates the key and the keys along its path (nothing when it exists).
void create_key(Hive hive, View view, const std::wstring& path);
// Removes the key with its subkeys and values (nothing when it is missing).
// The hive itself (an empty path) is emptied instead.
void delete_tree(Hive hive, View view, const std::wstring& path);
// Empties both hives.
void clear();

}  // namespace regstore
