// Files on POSIX systems. There are no share modes; an exclusive advisory lock
// (flock) stands in for them, so two users of this layer exclude each other.
#pragma once

#include "file_system.h"

namespace varno {

class PosixFileSystem : public FileSystem {
public:
    bool Exists(const std::string& name) override;
    std::unique_ptr<File> Open(const std::string& name, FileMode mode, FileErrorCause* error) override;
};

// The cause for an errno value, as the output writer reports it.
FileErrorCause CauseFromErrno(int error);

}  // namespace varno
