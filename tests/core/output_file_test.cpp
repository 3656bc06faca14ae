// The output file writer on real files in a temporary folder.
#include <gtest/gtest.h>

#include "test_support.h"

namespace varno::test {
namespace {

const char kHeader[] = "<HEADER>\n";

class OutputFileTest : public ::testing::Test, public CoreFixture {
protected:
    void SetUp() override {
        core.m_fActive = 1;
        core.m_strOutputFile = dir.Path("out.txt");
    }
    void Fill(const std::string& text) { ASSERT_TRUE(core.AppendEntry(text)); }
    void SendToFile() { core.WriteToOutputFile(core.BufferText(), core.m_nUsed); }
    std::string Output() const { return ReadFile(core.m_strOutputFile); }

    TempDir dir;
};

struct MethodCase {
    const char* name;
    int32_t method;
    int32_t html;
    bool existing;          // the file holds "old" before the call
    const char* expected;   // "B" stands for the buffer, "H" for the header
};

class OutputMethodTest : public OutputFileTest, public ::testing::WithParamInterface<MethodCase> {};

TEST_P(OutputMethodTest, FileHoldsWhatTheMethodWrites) {
    const MethodCase& c = GetParam();
    core.m_iFileWrite = c.method;
    core.m_fHtml = c.html;
    if (c.existing) WriteFile(core.m_strOutputFile, "old");
    Fill("entry");
    SendToFile();

    std::string expected;
    for (const char* p = c.expected; *p; ++p) {
        if (*p == 'B') expected += core.BufferText();
        else if (*p == 'H') expected += kHeader;
        else if (*p == 'o') expected += "old";
    }
    EXPECT_EQ(Output(), expected);
    EXPECT_TRUE(window.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Methods, OutputMethodTest,
    ::testing::Values(MethodCase{"AppendCreates", AppendOnCommand, 0, false, "B"},
                      MethodCase{"AppendAppends", AppendOnCommand, 0, true, "oB"},
                      MethodCase{"AppendHtmlHasNoHeader", AppendOnCommand, 1, false, "B"},
                      MethodCase{"OnTheFlyAppends", AppendOnTheFly, 1, true, "oB"},
                      MethodCase{"ReplaceText", ReplaceOnCommand, 0, true, "B"},
                      MethodCase{"ReplaceHtml", ReplaceOnCommand, 1, true, "HB"},
                      MethodCase{"MethodThreeWritesNothing", 3, 0, true, "o"},
                      MethodCase{"Method255CreatesEmpty", 255, 1, false, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(OutputFileTest, AppendOnTheFlyWritesEachEntryInOrder) {
    core.m_iFileWrite = AppendOnTheFly;
    std::string all;
    for (std::string text : {"first", "second", ""}) {
        Fill(text);
        std::string entry = text + core.m_strSeparator;
        core.WriteToOutputFile(entry, static_cast<int32_t>(entry.size()));
        all += entry;
    }
    EXPECT_EQ(Output(), all);
    EXPECT_EQ(Output(), core.BufferText());
}

TEST_F(OutputFileTest, AppendOnCommandTwiceWritesTheBufferTwice) {
    core.m_iFileWrite = AppendOnCommand;
    Fill("abc");
    SendToFile();
    SendToFile();
    EXPECT_EQ(Output(), core.BufferText() + core.BufferText());
}

TEST_F(OutputFileTest, EmptyBuffer) {
    core.m_iFileWrite = AppendOnCommand;
    SendToFile();
    EXPECT_TRUE(FileExists(core.m_strOutputFile));
    EXPECT_EQ(Output(), "");
    WriteFile(core.m_strOutputFile, "kept");
    SendToFile();
    EXPECT_EQ(Output(), "kept");

    core.m_iFileWrite = ReplaceOnCommand;
    SendToFile();
    EXPECT_EQ(Output(), "");
    core.m_fHtml = 1;
    SendToFile();
    EXPECT_EQ(Output(), kHeader);
}

TEST_F(OutputFileTest, SizeGuardStillTakesAFileOf2000001Bytes) {
    core.m_iFileWrite = AppendOnCommand;
    Fill("x");
    const std::string full(2000001, 'f');
    WriteFile(core.m_strOutputFile, full);
    SendToFile();
    EXPECT_EQ(Output(), full + core.BufferText());

    const std::string over(2000002, 'g');
    WriteFile(core.m_strOutputFile, over);
    SendToFile();
    EXPECT_EQ(Output().size(), over.size());
    EXPECT_TRUE(window.messages.empty());

    core.m_iFileWrite = ReplaceOnCommand;  // replace ignores the former size
    SendToFile();
    EXPECT_EQ(Output(), core.BufferText());
}

TEST_F(OutputFileTest, LengthLimitsWhatIsWritten) {
    core.m_iFileWrite = AppendOnTheFly;
    core.WriteToOutputFile("abcdef", 3);
    EXPECT_EQ(Output(), "abc");
}

TEST_F(OutputFileTest, MissingNameTouchesNothing) {
    core.m_strOutputFile.clear();
    Fill("abc");
    SendToFile();
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].text, "Missing output file name.\nEnter file name in Settings.");
    EXPECT_EQ(window.messages[0].caption, "Varno 2.0");
}

TEST_F(OutputFileTest, DirectoryAsPathIsAnOpenFailure) {
    for (int32_t method : {AppendOnCommand, ReplaceOnCommand}) {
        window.messages.clear();
        core.m_iFileWrite = method;
        core.m_strOutputFile = dir.path();
        SendToFile();
        ASSERT_EQ(window.messages.size(), 1u);
        EXPECT_EQ(window.messages[0].text,
                  "The file could not be opened because of this error:\nAccess to " + dir.path() +
                      " was denied.");
    }
}

TEST_F(OutputFileTest, MissingFolderIsABadPath) {
    core.m_strOutputFile = dir.Path("no-such-folder") + "/out.txt";
    SendToFile();
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].text, "The file could not be opened because of this error:\n" +
                                           core.m_strOutputFile + " contains an invalid path.");
}

TEST_F(OutputFileTest, PercentInTheNameIsShownAsItIs) {
    core.m_strOutputFile = dir.Path("100%s%d") + "/x.txt";
    SendToFile();
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_NE(window.messages[0].text.find("100%s%d"), std::string::npos);
}

TEST(FileErrorTest, DescriptionsNameTheFileAndAreCut) {
    EXPECT_EQ(DescribeFileError(FileErrorCause::SharingViolation, "C:\\a.txt"),
              "A sharing violation occurred while accessing C:\\a.txt.");
    EXPECT_EQ(DescribeFileError(FileErrorCause::BadSeek, "f"), "Seek failed on f");
    EXPECT_EQ(DescribeFileError(FileErrorCause::Generic, "f"), "An unknown error occurred while accessing f.");
    std::string description = DescribeFileError(FileErrorCause::DiskFull, std::string(300, 'n'));
    EXPECT_EQ(description.size(), 254u);
    EXPECT_EQ(description.substr(0, 26), "Disk full while accessing ");
}

}  // namespace
}  // namespace varno::test
