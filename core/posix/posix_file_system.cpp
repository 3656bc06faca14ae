// POSIX files: open, seek, read, write and close with errno mapped onto the
// causes the user is told about.
#include "posix_file_system.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace varno {

FileErrorCause CauseFromErrno(int error) {
    switch (error) {
    case ENOENT: return FileErrorCause::FileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
    case EINVAL: return FileErrorCause::BadPath;
    case EMFILE:
    case ENFILE: return FileErrorCause::TooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS: return FileErrorCause::AccessDenied;
    case EBADF: return FileErrorCause::InvalidFile;
    case ESPIPE: return FileErrorCause::BadSeek;
    case EIO: return FileErrorCause::HardIO;
    case EWOULDBLOCK: return FileErrorCause::SharingViolation;
    case ENOLCK: return FileErrorCause::LockViolation;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return FileErrorCause::DiskFull;
    default: return FileErrorCause::Generic;
    }
}

namespace {

class PosixFile : public File {
public:
    PosixFile(int fd, std::string name) : fd_(fd), name_(std::move(name)) {}
    ~PosixFile() override {
        if (fd_ >= 0) ::close(fd_);
    }

    int32_t SeekToEnd() override {
        off_t end = ::lseek(fd_, 0, SEEK_END);
        if (end < 0) Fail(errno);
        return end > INT32_MAX ? INT32_MAX : static_cast<int32_t>(end);
    }

    void Write(const void* data, size_t count) override {
        const char* bytes = static_cast<const char*>(data);
        while (count > 0) {
            ssize_t written = ::write(fd_, bytes, count);
            if (written < 0 && errno == EINTR) continue;
            if (written < 0) Fail(errno);
            // A short write means the disk is full.
            if (written == 0) throw FileException(FileErrorCause::DiskFull, name_);
            bytes += written;
            count -= static_cast<size_t>(written);
        }
    }

    size_t Read(void* data, size_t count) override {
        char* bytes = static_cast<char*>(data);
        size_t total = 0;
        // Fill the block unless the file ends, so a short read means the end.
        while (total < count) {
            ssize_t got = ::read(fd_, bytes + total, count - total);
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) Fail(errno);
            if (got == 0) break;
            total += static_cast<size_t>(got);
        }
        return total;
    }

    void Close() override {
        int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) Fail(errno);
    }

private:
    [[noreturn]] void Fail(int error) { throw FileException(CauseFromErrno(error), name_); }

    int fd_;
    std::string name_;
};

}  // namespace

bool PosixFileSystem::Exists(const std::string& name) {
    struct stat info;
    return !name.empty() && ::stat(name.c_str(), &info) == 0;
}

std::unique_ptr<File> PosixFileSystem::Open(const std::string& name, FileMode mode, FileErrorCause* error) {
    int flags = O_CLOEXEC;
    switch (mode) {
    case FileMode::WriteExisting: flags |= O_WRONLY; break;
    case FileMode::CreateWrite: flags |= O_WRONLY | O_CREAT; break;
    case FileMode::Read: flags |= O_RDONLY; break;
    }
    int fd = ::open(name.c_str(), flags, 0666);
    if (fd < 0) {
        int code = errno;
        // A missing folder on the way to a new file is a bad path.
        *error = (code == ENOENT && mode == FileMode::CreateWrite) ? FileErrorCause::BadPath
                                                                    : CauseFromErrno(code);
        return nullptr;
    }
    struct stat info;
    if (::fstat(fd, &info) != 0) {
        int code = errno;
        ::close(fd);
        *error = CauseFromErrno(code);
        return nullptr;
    }
    if (S_ISDIR(info.st_mode)) {
        ::close(fd);
        *error = FileErrorCause::AccessDenied;
        return nullptr;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        int code = errno;
        ::close(fd);
        *error = code == EWOULDBLOCK ? FileErrorCause::SharingViolation : CauseFromErrno(code);
        return nullptr;
    }
    // Truncate only once the file is ours, so a refused open leaves it intact.
    if (mode == FileMode::CreateWrite && info.st_size != 0 && ::ftruncate(fd, 0) != 0) {
        int code = errno;
        ::close(fd);
        *error = CauseFromErrno(code);
        return nullptr;
    }
    return std::make_unique<PosixFile>(fd, name);
}

}  // namespace varno
