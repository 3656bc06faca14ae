// Win32 files for the output writer and the drop merge.
#include "win32_file_system.h"

#include <windows.h>

#include <climits>

namespace varno {

FileErrorCause CauseFromWin32Error(unsigned long error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND: return FileErrorCause::FileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_BAD_NETPATH:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_DIRECTORY: return FileErrorCause::BadPath;
    case ERROR_TOO_MANY_OPEN_FILES: return FileErrorCause::TooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_NETWORK_ACCESS_DENIED: return FileErrorCause::AccessDenied;
    case ERROR_INVALID_HANDLE: return FileErrorCause::InvalidFile;
    case ERROR_CURRENT_DIRECTORY: return FileErrorCause::RemoveCurrentDir;
    case ERROR_CANNOT_MAKE: return FileErrorCause::DirectoryFull;
    case ERROR_SEEK:
    case ERROR_NEGATIVE_SEEK: return FileErrorCause::BadSeek;
    case ERROR_WRITE_FAULT:
    case ERROR_READ_FAULT:
    case ERROR_CRC:
    case ERROR_GEN_FAILURE:
    case ERROR_IO_DEVICE: return FileErrorCause::HardIO;
    case ERROR_SHARING_VIOLATION: return FileErrorCause::SharingViolation;
    case ERROR_LOCK_VIOLATION: return FileErrorCause::LockViolation;
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_DISK_FULL: return FileErrorCause::DiskFull;
    case ERROR_HANDLE_EOF: return FileErrorCause::EndOfFile;
    default: return FileErrorCause::Generic;
    }
}

namespace {

class Win32File : public File {
public:
    Win32File(HANDLE handle, std::string name) : handle_(handle), name_(std::move(name)) {}
    ~Win32File() override {
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    }

    int32_t SeekToEnd() override {
        LARGE_INTEGER zero{};
        LARGE_INTEGER end{};
        if (!SetFilePointerEx(handle_, zero, &end, FILE_END)) Fail();
        return end.QuadPart > INT32_MAX ? INT32_MAX : static_cast<int32_t>(end.QuadPart);
    }

    void Write(const void* data, size_t count) override {
        const char* bytes = static_cast<const char*>(data);
        while (count > 0) {
            DWORD chunk = count > 0x40000000 ? 0x40000000 : static_cast<DWORD>(count);
            DWORD written = 0;
            if (!WriteFile(handle_, bytes, chunk, &written, nullptr)) Fail();
            // A short write means the disk is full.
            if (written != chunk) throw FileException(FileErrorCause::DiskFull, name_);
            bytes += written;
            count -= written;
        }
    }

    size_t Read(void* data, size_t count) override {
        DWORD got = 0;
        if (!ReadFile(handle_, data, static_cast<DWORD>(count), &got, nullptr)) Fail();
        return got;
    }

    void Close() override {
        HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        if (!CloseHandle(handle)) Fail();
    }

private:
    [[noreturn]] void Fail() { throw FileException(CauseFromWin32Error(GetLastError()), name_); }

    HANDLE handle_;
    std::string name_;
};

}  // namespace

bool Win32FileSystem::Exists(const std::string& name) {
    return !name.empty() && GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::unique_ptr<File> Win32FileSystem::Open(const std::string& name, FileMode mode, FileErrorCause* error) {
    DWORD access = mode == FileMode::Read ? GENERIC_READ : GENERIC_WRITE;
    DWORD disposition = mode == FileMode::CreateWrite ? CREATE_ALWAYS : OPEN_EXISTING;
    // Share mode 0: no other program may open the file while we hold it.
    HANDLE handle = CreateFileA(name.c_str(), access, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        *error = CauseFromWin32Error(GetLastError());
        return nullptr;
    }
    return std::make_unique<Win32File>(handle, name);
}

}  // namespace varno
