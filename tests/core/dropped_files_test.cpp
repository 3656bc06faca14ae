// Merging dropped files: block boundaries, NUL bytes, order and the stop rules.
#include <gtest/gtest.h>

#include "test_support.h"

namespace varno::test {
namespace {

class DroppedFilesTest : public ::testing::Test, public CoreFixture {
protected:
    void SetUp() override { core.m_fActive = 1; }
    std::string Make(const std::string& name, const std::string& bytes) {
        std::string path = dir.Path(name);
        WriteFile(path, bytes);
        return path;
    }
    static std::string Pattern(size_t size) {
        std::string bytes;
        for (size_t i = 0; i < size; ++i) bytes += static_cast<char>('a' + i % 26);
        return bytes;
    }
    TempDir dir;
};

TEST_F(DroppedFilesTest, FilesAreMergedWholeAtEveryBlockBoundary) {
    for (size_t size : {0u, 1u, 1023u, 1024u, 1025u, 2048u, 5000u}) {
        core.ClearBuffer();
        std::string bytes = Pattern(size);
        core.MergeDroppedFiles({Make("f.txt", bytes)});
        EXPECT_EQ(core.BufferText(), bytes + core.m_strSeparator) << size;
        EXPECT_EQ(window.Caption(), std::to_string(size + 17) + " bytes");
    }
    EXPECT_TRUE(window.messages.empty());
}

TEST_F(DroppedFilesTest, NulBytesAreDroppedWhereverTheyStand) {
    std::string bytes = Pattern(3000);
    for (size_t at : {0u, 5u, 1023u, 1024u, 1500u, 2047u, 2999u}) bytes[at] = '\0';
    std::string expected;
    for (char c : bytes)
        if (c != '\0') expected += c;
    core.MergeDroppedFiles({Make("zeros.bin", bytes)});
    EXPECT_EQ(core.BufferText(), expected + core.m_strSeparator);

    // A UTF-16 text merges as its readable bytes.
    core.ClearBuffer();
    core.MergeDroppedFiles({Make("utf16.txt", std::string("\xff\xfeh\0i\0", 6))});
    EXPECT_EQ(core.BufferText(), "\xff\xfehi" + core.m_strSeparator);
}

TEST_F(DroppedFilesTest, SeveralFilesInOrderEachWithItsSeparator) {
    core.m_strSeparator = "|";
    core.m_nSepLen = 1;
    core.MergeDroppedFiles({Make("1", "one"), Make("2", "two"), Make("3", "")});
    EXPECT_EQ(core.BufferText(), "one|two||");
    EXPECT_EQ(window.captions, (std::vector<std::string>{"4 bytes", "8 bytes", "9 bytes"}));
}

TEST_F(DroppedFilesTest, AFileThatCannotBeOpenedStopsTheMerge) {
    std::string missing = dir.Path("missing.txt");
    core.MergeDroppedFiles({Make("1", "one"), missing, Make("3", "three")});
    EXPECT_EQ(core.BufferText(), "one" + core.m_strSeparator);
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].text, "The file " + missing + " could not be opened because of this error:\n" +
                                           missing + " was not found.");
}

TEST_F(DroppedFilesTest, ADirectoryCannotBeMerged) {
    core.MergeDroppedFiles({dir.path()});
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].text, "The file " + dir.path() + " could not be opened because of this error:\n"
                                       "Access to " + dir.path() + " was denied.");
    EXPECT_EQ(core.m_pBuffer, nullptr);
}

TEST_F(DroppedFilesTest, CapacityRunningOutStopsAtTheFileThatDoesNotFit) {
    std::string big(700000, 'b');
    std::vector<std::string> names;
    for (int i = 0; i < 5; ++i) names.push_back(Make("big" + std::to_string(i), big));
    core.MergeDroppedFiles(names);
    EXPECT_EQ(core.m_nUsed, 2 * (700000 + 17));
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].text.substr(0, 46), "2000000 bytes maximum buffer capacity exceeded");
}

TEST_F(DroppedFilesTest, CaptureOffMergesNothing) {
    core.m_fActive = 0;
    core.MergeDroppedFiles({Make("1", "one")});
    EXPECT_EQ(core.m_pBuffer, nullptr);
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].text, "Varno is turned OFF\nYou can activate it throught Settings");
}

TEST_F(DroppedFilesTest, AddressesStayPlainAndTheFileIsNotWritten) {
    core.m_fHtml = 1;
    core.m_iFileWrite = AppendOnTheFly;
    core.m_strOutputFile = dir.Path("out.txt");
    core.MergeDroppedFiles({Make("1", "see http://x.example/ or a@b.example")});
    EXPECT_EQ(core.BufferText(), "see http://x.example/ or a@b.example" + core.m_strSeparator);
    EXPECT_FALSE(FileExists(core.m_strOutputFile));
}

}  // namespace
}  // namespace varno::test
