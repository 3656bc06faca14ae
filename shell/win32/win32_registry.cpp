// Registry calls passed straight to Win32; a RegKey is an HKEY.
#include "win32_registry.h"

#include <windows.h>

namespace varno {

namespace {
HKEY ToHkey(RegKey key) { return reinterpret_cast<HKEY>(key); }
RegKey FromHkey(HKEY key) { return reinterpret_cast<RegKey>(key); }
}  // namespace

long Win32Registry::OpenKey(RegKey parent, const char* subKey, RegKey* result) {
    HKEY opened = nullptr;
    HKEY base = parent == kRegLocalMachine ? HKEY_LOCAL_MACHINE : ToHkey(parent);
    long status = RegOpenKeyA(base, subKey, &opened);
    if (status == ERROR_SUCCESS) *result = FromHkey(opened);
    return status;
}

long Win32Registry::OpenKeyForRead(RegKey parent, const char* subKey, RegKey* result) {
    HKEY opened = nullptr;
    long status = RegOpenKeyExA(ToHkey(parent), subKey, 0, KEY_READ, &opened);
    if (status == ERROR_SUCCESS) *result = FromHkey(opened);
    return status;
}

long Win32Registry::CreateKey(RegKey parent, const char* subKey, const char* keyClass, RegKey* result) {
    HKEY opened = nullptr;
    long status = RegCreateKeyExA(ToHkey(parent), subKey, 0, const_cast<char*>(keyClass),
                                  REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &opened, nullptr);
    if (status == ERROR_SUCCESS) *result = FromHkey(opened);
    return status;
}

long Win32Registry::QueryValue(RegKey key, const char* name, uint32_t* type, unsigned char* data,
                               uint32_t* size) {
    DWORD valueType = 0;
    DWORD valueSize = *size;
    long status = RegQueryValueExA(ToHkey(key), name, nullptr, &valueType, data, &valueSize);
    if (type) *type = valueType;
    *size = valueSize;
    return status;
}

long Win32Registry::SetValue(RegKey key, const char* name, uint32_t type, const unsigned char* data,
                             uint32_t size) {
    return RegSetValueExA(ToHkey(key), name, 0, type, data, size);
}

long Win32Registry::CloseKey(RegKey key) { return RegCloseKey(ToHkey(key)); }

}  // namespace varno
