// A registry kept in memory, for builds and tests without Windows. Keys are
// paths below the local machine root, compared without regard to case.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "registry.h"

namespace varno {

class MemoryRegistry : public Registry {
public:
    struct Value {
        uint32_t type = 0;
        std::vector<unsigned char> data;
    };
    struct Key {
        std::string keyClass;
        std::map<std::string, Value> values;  // by lower-cased name
    };

    long OpenKey(RegKey parent, const char* subKey, RegKey* result) override;
    long OpenKeyForRead(RegKey parent, const char* subKey, RegKey* result) override;
    long CreateKey(RegKey parent, const char* subKey, const char* keyClass, RegKey* result) override;
    long QueryValue(RegKey key, const char* name, uint32_t* type, unsigned char* data,
                    uint32_t* size) override;
    long SetValue(RegKey key, const char* name, uint32_t type, const unsigned char* data,
                  uint32_t size) override;
    long CloseKey(RegKey key) override;

    // For tests: direct access by path ("SOFTWARE\\Quorbanex\\Varno").
    Key* Find(const std::string& path);
    void Put(const std::string& path, const std::string& name, uint32_t type, const std::string& bytes);
    void Remove(const std::string& path);
    // Failure injection: opening the root, opening this path, or creating it fails.
    bool failRoot = false;
    std::string failOpen;
    std::string failCreate;
    // Keys opened and not yet closed; the root counts too.
    int OpenHandles() const { return static_cast<int>(handles_.size()); }

private:
    long Open(RegKey parent, const char* subKey, bool create, const char* keyClass, RegKey* result);
    std::map<std::string, Key> keys_;            // by lower-cased path; "" is the root
    std::map<RegKey, std::string> handles_;      // open key -> its path
    RegKey next_ = 1;
};

}  // namespace varno
