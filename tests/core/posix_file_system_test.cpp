// The POSIX file layer: errors as the user is told about them.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include "posix/posix_file_system.h"
#include "test_support.h"

namespace varno::test {
namespace {

class PosixFileSystemTest : public ::testing::Test, public CoreFixture {
protected:
    TempDir dir;
};

TEST_F(PosixFileSystemTest, AFullDiskRaisesDiskFullAndClosesTheFile) {
    if (!FileExists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
    core.m_strOutputFile = dir.Path("full");
    ASSERT_EQ(::symlink("/dev/full", core.m_strOutputFile.c_str()), 0);
    core.m_iFileWrite = AppendOnCommand;
    ASSERT_TRUE(core.AppendEntry("lost"));
    try {
        core.WriteToOutputFile(core.BufferText(), core.m_nUsed);
        FAIL() << "the write should have failed";
    } catch (const FileException& error) {
        EXPECT_EQ(error.cause(), FileErrorCause::DiskFull);
        EXPECT_EQ(std::string(error.what()), "Disk full while accessing " + core.m_strOutputFile + ".");
    }
    // The file was closed on the way: it can be opened exclusively again.
    FileErrorCause cause = FileErrorCause::Generic;
    EXPECT_NE(files->Open(core.m_strOutputFile, FileMode::WriteExisting, &cause), nullptr);
    // What was captured before stays captured.
    EXPECT_EQ(core.BufferText(), "lost" + core.m_strSeparator);
}

TEST_F(PosixFileSystemTest, AFileHeldByAnotherUserIsASharingViolation) {
    core.m_strOutputFile = dir.Path("held.txt");
    WriteFile(core.m_strOutputFile, "held");
    FileErrorCause cause = FileErrorCause::Generic;
    auto holder = files->Open(core.m_strOutputFile, FileMode::Read, &cause);
    ASSERT_NE(holder, nullptr);

    core.m_iFileWrite = ReplaceOnCommand;
    core.WriteToOutputFile("", 0);
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].text, "The file could not be opened because of this error:\n"
                                       "A sharing violation occurred while accessing " +
                                           core.m_strOutputFile + ".");
    // A refused create leaves the file untouched.
    holder.reset();
    EXPECT_EQ(ReadFile(core.m_strOutputFile), "held");
}

TEST_F(PosixFileSystemTest, NoRightToWriteIsAccessDenied) {
    if (::geteuid() == 0) GTEST_SKIP() << "root may write anywhere";
    core.m_strOutputFile = dir.Path("ro.txt");
    WriteFile(core.m_strOutputFile, "ro");
    ::chmod(core.m_strOutputFile.c_str(), 0444);
    core.WriteToOutputFile("x", 1);
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_NE(window.messages[0].text.find("Access to "), std::string::npos);
}

TEST(PosixErrnoTest, CausesForCommonErrors) {
    struct Case { int error; FileErrorCause cause; };
    for (Case c : {Case{ENOENT, FileErrorCause::FileNotFound}, Case{EACCES, FileErrorCause::AccessDenied},
                   Case{EISDIR, FileErrorCause::AccessDenied}, Case{ENOTDIR, FileErrorCause::BadPath},
                   Case{EMFILE, FileErrorCause::TooManyOpenFiles}, Case{ENOSPC, FileErrorCause::DiskFull},
                   Case{EIO, FileErrorCause::HardIO}, Case{EWOULDBLOCK, FileErrorCause::SharingViolation},
                   Case{EXDEV, FileErrorCause::Generic}})
        EXPECT_EQ(CauseFromErrno(c.error), c.cause) << c.error;
}

}  // namespace
}  // namespace varno::test
