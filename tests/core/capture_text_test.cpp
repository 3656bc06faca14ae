// One copied text on its way into the buffer and the output file.
#include <gtest/gtest.h>

#include "make_links.h"
#include "test_support.h"

namespace varno::test {
namespace {

class CaptureTextTest : public ::testing::Test, public CoreFixture {
protected:
    void SetUp() override {
        core.m_fActive = 1;
        core.m_strOutputFile = dir.Path("out.html");
    }
    TempDir dir;
};

TEST_F(CaptureTextTest, TextFormatStoresTheTextUnchanged) {
    core.m_iFileWrite = AppendOnCommand;
    core.CaptureText("see http://a.example/ now");
    EXPECT_EQ(core.BufferText(), "see http://a.example/ now" + core.m_strSeparator);
    EXPECT_EQ(window.Caption(), "42 bytes");
    EXPECT_FALSE(FileExists(core.m_strOutputFile));
}

TEST_F(CaptureTextTest, HtmlOnTheFlyWritesTheSameBytesAsTheBuffer) {
    core.m_fHtml = 1;
    core.m_iFileWrite = AppendOnTheFly;
    core.m_strSeparator = "\r\n<hr>\r\n";
    core.m_nSepLen = 8;
    core.CaptureText("mail me@x.example or http://x.example.");
    core.CaptureText("second");
    const std::string first = MakeLinks("mail me@x.example or http://x.example.");
    EXPECT_NE(first.find("<A HREF=\"mailto:me@x.example\">"), std::string::npos);
    EXPECT_EQ(core.BufferText(), first + "\r\n<hr>\r\n" + "second\r\n<hr>\r\n");
    EXPECT_EQ(ReadFile(core.m_strOutputFile), core.BufferText());
    EXPECT_EQ(window.Caption(), std::to_string(core.m_nUsed) + " bytes");
}

TEST_F(CaptureTextTest, TheCapacityTestCountsTheConvertedText) {
    core.m_fHtml = 1;
    core.m_iFileWrite = AppendOnTheFly;
    std::string filler(2000000 - 17 - 30, 'f');
    ASSERT_TRUE(core.AppendEntry(filler));
    const std::string before = core.BufferText();
    core.CaptureText("http://x");  // 25 bytes with its separator would fit; as an anchor it takes 48
    EXPECT_EQ(core.BufferText(), before);
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].text,
              "2000000 bytes maximum buffer capacity exceeded\n"
              "Please Inactivate, Clear or copy to Clipboard and Clear.");
    EXPECT_FALSE(FileExists(core.m_strOutputFile));  // neither buffered nor written
}

TEST_F(CaptureTextTest, AMissingFileNameKeepsTheEntryInTheBuffer) {
    core.m_iFileWrite = AppendOnTheFly;
    core.m_strOutputFile.clear();
    core.CaptureText("kept");
    EXPECT_EQ(core.BufferText(), "kept" + core.m_strSeparator);
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].text, "Missing output file name.\nEnter file name in Settings.");
    EXPECT_EQ(window.Caption(), "21 bytes");
}

}  // namespace
}  // namespace varno::test
