// Files on Windows: CreateFileA without sharing, Win32 error codes mapped onto
// the causes the user is told about.
#pragma once

#include "file_system.h"

namespace varno {

class Win32FileSystem : public FileSystem {
public:
    bool Exists(const std::string& name) override;
    std::unique_ptr<File> Open(const std::string& name, FileMode mode, FileErrorCause* error) override;
};

// The cause for a GetLastError value.
FileErrorCause CauseFromWin32Error(unsigned long error);

}  // namespace varno
