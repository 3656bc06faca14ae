// The Win32 file layer under the real Windows API (run under Wine).
#include <gtest/gtest.h>

#include <windows.h>

#include "test_support.h"
#include "win32_file_system.h"

namespace varno::test {
namespace {

class Win32FileSystemTest : public ::testing::Test, public CoreFixture {
protected:
    TempDir dir;
};

TEST_F(Win32FileSystemTest, ASecondOpenIsASharingViolation) {
    core.m_strOutputFile = dir.Path("held.txt");
    WriteFile(core.m_strOutputFile, "held");
    FileErrorCause cause = FileErrorCause::Generic;
    auto holder = files->Open(core.m_strOutputFile, FileMode::Read, &cause);
    ASSERT_NE(holder, nullptr);

    for (int32_t method : {AppendOnCommand, ReplaceOnCommand}) {
        window.messages.clear();
        core.m_iFileWrite = method;
        core.WriteToOutputFile("x", 1);
        ASSERT_EQ(window.messages.size(), 1u);
        EXPECT_EQ(window.messages[0].text, "The file could not be opened because of this error:\n"
                                           "A sharing violation occurred while accessing " +
                                               core.m_strOutputFile + ".");
    }
    // A file we hold cannot be read by anyone else either.
    HANDLE other = CreateFileA(core.m_strOutputFile.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(other, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    holder.reset();
    EXPECT_EQ(ReadFile(core.m_strOutputFile), "held");
}

TEST_F(Win32FileSystemTest, ReadingAMissingFileIsFileNotFound) {
    FileErrorCause cause = FileErrorCause::Generic;
    EXPECT_EQ(files->Open(dir.Path("missing.txt"), FileMode::Read, &cause), nullptr);
    EXPECT_EQ(cause, FileErrorCause::FileNotFound);
}

TEST(Win32ErrorTest, CausesForCommonErrors) {
    struct Case { unsigned long error; FileErrorCause cause; };
    for (Case c : {Case{ERROR_FILE_NOT_FOUND, FileErrorCause::FileNotFound},
                   Case{ERROR_PATH_NOT_FOUND, FileErrorCause::BadPath},
                   Case{ERROR_INVALID_NAME, FileErrorCause::BadPath},
                   Case{ERROR_TOO_MANY_OPEN_FILES, FileErrorCause::TooManyOpenFiles},
                   Case{ERROR_ACCESS_DENIED, FileErrorCause::AccessDenied},
                   Case{ERROR_SHARING_VIOLATION, FileErrorCause::SharingViolation},
                   Case{ERROR_LOCK_VIOLATION, FileErrorCause::LockViolation},
                   Case{ERROR_DISK_FULL, FileErrorCause::DiskFull},
                   Case{ERROR_HANDLE_DISK_FULL, FileErrorCause::DiskFull},
                   Case{ERROR_HANDLE_EOF, FileErrorCause::EndOfFile},
                   Case{ERROR_NOT_ENOUGH_MEMORY, FileErrorCause::Generic}})
        EXPECT_EQ(CauseFromWin32Error(c.error), c.cause) << c.error;
}

}  // namespace
}  // namespace varno::test
