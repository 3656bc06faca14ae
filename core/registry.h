// The six registry operations the settings store uses, shaped like their Win32
// namesakes so the Windows build passes them straight through and a build
// without Windows can put an in-memory store in their place.
#pragma once

#include <cstdint>

namespace varno {

using RegKey = std::uintptr_t;  // an open key; opaque to the store

// The local machine root, as RegOpenKeyA(HKEY_LOCAL_MACHINE, ...) takes it.
constexpr RegKey kRegLocalMachine = 0x80000002u;

// Value types, with their Win32 numbers.
constexpr uint32_t kRegSz = 1;
constexpr uint32_t kRegBinary = 3;
constexpr uint32_t kRegMultiSz = 7;

// Results, with their Win32 numbers.
constexpr long kRegOk = 0;
constexpr long kRegFileNotFound = 2;
constexpr long kRegAccessDenied = 5;
constexpr long kRegInvalidHandle = 6;
constexpr long kRegMoreData = 234;

class Registry {
public:
    virtual ~Registry() = default;
    // RegOpenKeyA: a null or empty subKey opens the parent itself.
    virtual long OpenKey(RegKey parent, const char* subKey, RegKey* result) = 0;
    // RegOpenKeyExA with KEY_READ: fails when the key does not exist.
    virtual long OpenKeyForRead(RegKey parent, const char* subKey, RegKey* result) = 0;
    // RegCreateKeyExA, non-volatile, all access: opens the key, creating every
    // missing level of the path with the given class.
    virtual long CreateKey(RegKey parent, const char* subKey, const char* keyClass,
                           RegKey* result) = 0;
    // RegQueryValueExA: with data null, reports the size in *size; otherwise
    // copies the value when it fits in *size bytes, else kRegMoreData.
    virtual long QueryValue(RegKey key, const char* name, uint32_t* type, unsigned char* data,
                            uint32_t* size) = 0;
    // RegSetValueExA.
    virtual long SetValue(RegKey key, const char* name, uint32_t type, const unsigned char* data,
                          uint32_t size) = 0;
    // RegCloseKey.
    virtual long CloseKey(RegKey key) = 0;
};

}  // namespace varno
