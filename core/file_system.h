// Files as the output writer and the drop merge use them: one operation per
// open, without sharing, closed on every path.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

namespace varno {

// Why a file operation failed; each cause has one sentence (DescribeFileError).
enum class FileErrorCause {
    Generic,
    FileNotFound,
    BadPath,
    TooManyOpenFiles,
    AccessDenied,
    InvalidFile,
    RemoveCurrentDir,
    DirectoryFull,
    BadSeek,
    HardIO,
    SharingViolation,
    LockViolation,
    DiskFull,
    EndOfFile,
};

// The sentence for a cause with the file's name in it, cut to 254 characters.
std::string DescribeFileError(FileErrorCause cause, const std::string& name);

// Raised by seek, read, write and close; what() is the sentence.
class FileException : public std::runtime_error {
public:
    FileException(FileErrorCause cause, const std::string& name)
        : std::runtime_error(DescribeFileError(cause, name)), cause_(cause) {}
    FileErrorCause cause() const { return cause_; }

private:
    FileErrorCause cause_;
};

// An open file. The destructor closes it if Close was not called, and then
// swallows errors, so a file is released while an exception passes.
class File {
public:
    virtual ~File() = default;
    // Moves to the end; returns the file's length, clamped to 32 bits.
    virtual int32_t SeekToEnd() = 0;
    // Writes all count bytes; writing fewer raises the disk-full error.
    virtual void Write(const void* data, size_t count) = 0;
    // Reads up to count bytes; returns 0 at the end of the file.
    virtual size_t Read(void* data, size_t count) = 0;
    virtual void Close() = 0;
};

enum class FileMode {
    WriteExisting,  // open a file that exists, for writing, keeping its contents
    CreateWrite,    // create the file or truncate it, and open it for writing
    Read,           // open a file that exists, for reading
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // True when a file or a directory of that name is found.
    virtual bool Exists(const std::string& name) = 0;
    // Opens without sharing; on failure returns null and sets *error.
    virtual std::unique_ptr<File> Open(const std::string& name, FileMode mode,
                                       FileErrorCause* error) = 0;
};

}  // namespace varno
