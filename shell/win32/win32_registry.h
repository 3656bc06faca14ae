// The settings store's six registry operations over the real registry.
#pragma once

#include "registry.h"

namespace varno {

class Win32Registry : public Registry {
public:
    long OpenKey(RegKey parent, const char* subKey, RegKey* result) override;
    long OpenKeyForRead(RegKey parent, const char* subKey, RegKey* result) override;
    long CreateKey(RegKey parent, const char* subKey, const char* keyClass, RegKey* result) override;
    long QueryValue(RegKey key, const char* name, uint32_t* type, unsigned char* data,
                    uint32_t* size) override;
    long SetValue(RegKey key, const char* name, uint32_t type, const unsigned char* data,
                  uint32_t size) override;
    long CloseKey(RegKey key) override;
};

}  // namespace varno
