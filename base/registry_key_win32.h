// One open registry key, closed when its holder goes. Used by the advapi32
// backend of the registry functions and by the tests' registry fixture.
#pragma once

#include "base/windows_win32.h"

class RegistryKey {
public:
    RegistryKey() = default;
    ~RegistryKey()
    {
        if (key_)
            RegCloseKey(key_);
    }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    // Where a call that opens a key puts it; the holder must be empty.
    HKEY* out() { return &key_; }
    HKEY get() const { return key_; }
    // Hands the key over to a caller who closes it.
    HKEY release()
    {
        HKEY key = key_;
        key_ = nullptr;
        return key;
    }

private:
    HKEY key_ = nullptr;
};
