// The sentences that describe file errors to the user.
#include "file_system.h"

namespace varno {

namespace {

const char* SentenceFor(FileErrorCause cause) {
    switch (cause) {
    case FileErrorCause::FileNotFound: return "%1 was not found.";
    case FileErrorCause::BadPath: return "%1 contains an invalid path.";
    case FileErrorCause::TooManyOpenFiles:
        return "%1 could not be opened because there are too many open files.";
    case FileErrorCause::AccessDenied: return "Access to %1 was denied.";
    case FileErrorCause::InvalidFile: return "An invalid file handle was associated with %1.";
    case FileErrorCause::RemoveCurrentDir:
        return "%1 could not be removed because it is the current directory.";
    case FileErrorCause::DirectoryFull:
        return "%1 could not be created because the directory is full.";
    case FileErrorCause::BadSeek: return "Seek failed on %1";
    case FileErrorCause::HardIO: return "A hardware I/O error was reported while accessing %1.";
    case FileErrorCause::SharingViolation: return "A sharing violation occurred while accessing %1.";
    case FileErrorCause::LockViolation: return "A locking violation occurred while accessing %1.";
    case FileErrorCause::DiskFull: return "Disk full while accessing %1.";
    case FileErrorCause::EndOfFile: return "An attempt was made to access %1 past its end.";
    case FileErrorCause::Generic: break;
    }
    return "An unknown error occurred while accessing %1.";
}

}  // namespace

std::string DescribeFileError(FileErrorCause cause, const std::string& name) {
    // The description buffer holds 255 characters with its NUL.
    const size_t kMaxDescription = 254;
    std::string sentence = SentenceFor(cause);
    std::string result;
    size_t at = sentence.find("%1");
    result = sentence.substr(0, at) + name + sentence.substr(at + 2);
    if (result.size() > kMaxDescription) result.resize(kMaxDescription);
    return result;
}

}  // namespace varno
