// The in-memory registry: the same answers as the Win32 calls give for the
// uses the settings store makes of them.
#include "memory_registry.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace varno {

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string Join(const std::string& parent, const std::string& sub) {
    if (parent.empty()) return sub;
    if (sub.empty()) return parent;
    return parent + "\\" + sub;
}

}  // namespace

long MemoryRegistry::Open(RegKey parent, const char* subKey, bool create, const char* keyClass,
                          RegKey* result) {
    std::string base;
    if (parent != kRegLocalMachine) {
        auto it = handles_.find(parent);
        if (it == handles_.end()) return kRegInvalidHandle;
        base = it->second;
    }
    std::string path = Lower(Join(base, subKey ? subKey : ""));
    if (failRoot && path.empty()) return kRegAccessDenied;
    if (!failOpen.empty() && path == Lower(failOpen)) return kRegAccessDenied;
    if (create && !failCreate.empty() && path == Lower(failCreate)) return kRegAccessDenied;
    keys_[""];  // the root always exists
    if (keys_.count(path) == 0) {
        if (!create) return kRegFileNotFound;
        // Create every missing level of the path.
        size_t at = 0;
        while (at != std::string::npos) {
            at = path.find('\\', at + 1);
            std::string level = path.substr(0, at);
            if (keys_.count(level) == 0) keys_[level].keyClass = keyClass ? keyClass : "";
        }
    }
    RegKey handle = next_++;
    handles_[handle] = path;
    *result = handle;
    return kRegOk;
}

long MemoryRegistry::OpenKey(RegKey parent, const char* subKey, RegKey* result) {
    return Open(parent, subKey, false, nullptr, result);
}

long MemoryRegistry::OpenKeyForRead(RegKey parent, const char* subKey, RegKey* result) {
    return Open(parent, subKey, false, nullptr, result);
}

long MemoryRegistry::CreateKey(RegKey parent, const char* subKey, const char* keyClass, RegKey* result) {
    return Open(parent, subKey, true, keyClass, result);
}

long MemoryRegistry::QueryValue(RegKey key, const char* name, uint32_t* type, unsigned char* data,
                                uint32_t* size) {
    auto handle = handles_.find(key);
    if (handle == handles_.end()) return kRegInvalidHandle;
    Key& stored = keys_[handle->second];
    auto it = stored.values.find(Lower(name ? name : ""));
    if (it == stored.values.end()) return kRegFileNotFound;
    const Value& value = it->second;
    if (type) *type = value.type;
    uint32_t needed = static_cast<uint32_t>(value.data.size());
    if (data == nullptr) {
        *size = needed;
        return kRegOk;
    }
    if (*size < needed) {
        *size = needed;
        return kRegMoreData;
    }
    std::memcpy(data, value.data.data(), needed);
    *size = needed;
    return kRegOk;
}

long MemoryRegistry::SetValue(RegKey key, const char* name, uint32_t type, const unsigned char* data,
                              uint32_t size) {
    auto handle = handles_.find(key);
    if (handle == handles_.end()) return kRegInvalidHandle;
    Value& value = keys_[handle->second].values[Lower(name ? name : "")];
    value.type = type;
    value.data.assign(data, data + size);
    return kRegOk;
}

long MemoryRegistry::CloseKey(RegKey key) {
    return handles_.erase(key) == 1 ? kRegOk : kRegInvalidHandle;
}

MemoryRegistry::Key* MemoryRegistry::Find(const std::string& path) {
    auto it = keys_.find(Lower(path));
    return it == keys_.end() ? nullptr : &it->second;
}

void MemoryRegistry::Put(const std::string& path, const std::string& name, uint32_t type,
                         const std::string& bytes) {
    std::string lower = Lower(path);
    size_t at = 0;
    while (at != std::string::npos) {
        at = lower.find('\\', at + 1);
        keys_[lower.substr(0, at)];
    }
    Value& value = keys_[lower].values[Lower(name)];
    value.type = type;
    value.data.assign(bytes.begin(), bytes.end());
}

void MemoryRegistry::Remove(const std::string& path) { keys_.erase(Lower(path)); }

}  // namespace varno
