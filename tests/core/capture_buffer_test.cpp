// The capture buffer: entries, capacity, clearing, captions and messages.
#include <gtest/gtest.h>

#include <cstring>

#include "test_support.h"

namespace varno::test {
namespace {

class CaptureBufferTest : public ::testing::Test, public CoreFixture {};

TEST_F(CaptureBufferTest, ConstructionValues) {
    EXPECT_EQ(core.m_nUsed, 0);
    EXPECT_EQ(core.m_nLimit, 2000001);
    EXPECT_EQ(core.m_strTextSep, "\r\n--- varno ---\r\n");
    EXPECT_EQ(core.m_strHtmlSep, "\r\n<hr>\r\n");
    EXPECT_EQ(core.m_strSeparator, core.m_strTextSep);
    EXPECT_EQ(core.m_nSepLen, 17);
    EXPECT_EQ(core.m_strTitle, "Varno 2.0");
    EXPECT_EQ(core.m_pBuffer, nullptr);
    EXPECT_EQ(core.m_strHtmlHeader, "<HEADER>\n");
    // Capture is off until the settings are loaded.
    EXPECT_EQ(core.m_fActive, 0);
    EXPECT_TRUE(window.messages.empty());
    EXPECT_TRUE(window.captions.empty());
}

TEST(CaptureCoreHeader, MissingHeaderIsReportedAndLeftEmpty) {
    CoreFixture fixture(std::nullopt);
    EXPECT_EQ(fixture.core.m_strHtmlHeader, "");
    ASSERT_EQ(fixture.window.messages.size(), 1u);
    EXPECT_EQ(fixture.window.messages[0].text, "Cannot load string IDS_HTML_START");
    EXPECT_EQ(fixture.window.messages[0].caption, "Varno 2.0");
}

TEST_F(CaptureBufferTest, EntriesAccumulateWithTheCurrentSeparator) {
    ASSERT_TRUE(core.AppendEntry("one"));
    core.m_strSeparator = "|";
    core.m_nSepLen = 1;
    ASSERT_TRUE(core.AppendEntry("two"));
    ASSERT_TRUE(core.AppendEntry(""));  // an empty text adds the separator alone
    const std::string expected = "one\r\n--- varno ---\r\ntwo||";
    EXPECT_EQ(core.m_nUsed, static_cast<int32_t>(expected.size()));
    EXPECT_EQ(std::string(core.m_pBuffer), expected);
    EXPECT_EQ(core.m_pBuffer[core.m_nUsed], '\0');
    EXPECT_EQ(core.BufferText(), expected);
}

TEST_F(CaptureBufferTest, BytesAreKeptExactly) {
    std::string text;
    for (int c = 1; c < 256; ++c) text += static_cast<char>(c);
    ASSERT_TRUE(core.AppendEntry(text));
    EXPECT_EQ(core.BufferText(), text + core.m_strSeparator);
}

TEST_F(CaptureBufferTest, CapacityIsExactlyTwoMillionBytes) {
    const int32_t room = 2000000 - core.m_nSepLen;
    ASSERT_FALSE(core.AppendEntry(std::string(room + 1, 'x')));  // would make 2,000,001
    EXPECT_EQ(core.m_pBuffer, nullptr);
    EXPECT_EQ(core.m_nUsed, 0);
    EXPECT_EQ(core.FreeSpace(), 2000000);

    ASSERT_TRUE(core.AppendEntry(std::string(room - 10, 'x')));
    EXPECT_EQ(core.m_nUsed, 1999990);
    EXPECT_EQ(core.FreeSpace(), 10);
    core.m_strSeparator = "";
    core.m_nSepLen = 0;
    EXPECT_FALSE(core.AppendEntry(std::string(11, 'y')));
    EXPECT_EQ(core.m_nUsed, 1999990);
    ASSERT_TRUE(core.AppendEntry(std::string(10, 'z')));  // exactly full
    EXPECT_EQ(core.m_nUsed, 2000000);
    EXPECT_EQ(core.FreeSpace(), 0);
    EXPECT_EQ(std::strlen(core.m_pBuffer), 2000000u);
    EXPECT_FALSE(core.AppendEntry("a"));
    EXPECT_EQ(core.m_nUsed, 2000000);
}

TEST_F(CaptureBufferTest, ARefusedEntryLeavesTheBufferIntact) {
    ASSERT_TRUE(core.AppendEntry("kept"));
    const std::string before = core.BufferText();
    EXPECT_FALSE(core.AppendEntry(std::string(2000000, 'x')));
    EXPECT_EQ(core.BufferText(), before);
    // Capture goes on: a shorter entry still fits.
    EXPECT_TRUE(core.AppendEntry("next"));
}

TEST_F(CaptureBufferTest, ClearReleasesTheBlockAndUpdatesTheCaption) {
    core.ClearBuffer();  // clearing an absent buffer is fine
    EXPECT_EQ(window.Caption(), "Varno OFF");
    core.m_fActive = 1;
    ASSERT_TRUE(core.AppendEntry("abc"));
    core.ClearBuffer();
    EXPECT_EQ(core.m_pBuffer, nullptr);
    EXPECT_EQ(core.m_nUsed, 0);
    EXPECT_EQ(core.BufferText(), "");
    EXPECT_EQ(window.Caption(), "0 bytes");
    EXPECT_EQ(core.FreeSpace(), 2000000);
}

TEST_F(CaptureBufferTest, CaptionShowsTheCountOrOff) {
    core.m_fActive = 1;
    ASSERT_TRUE(core.AppendEntry("12345678"));
    core.UpdateCaption();
    EXPECT_EQ(window.Caption(), "25 bytes");
    core.m_fActive = 0;
    core.UpdateCaption();
    EXPECT_EQ(window.Caption(), "Varno OFF");
}

TEST_F(CaptureBufferTest, CapacityMessage) {
    core.ReportCapacityExceeded();
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].text,
              "2000000 bytes maximum buffer capacity exceeded\n"
              "Please Inactivate, Clear or copy to Clipboard and Clear.");
    EXPECT_EQ(window.messages[0].caption, "Varno 2.0");
}

TEST_F(CaptureBufferTest, MessagesAreCutTo511Bytes) {
    std::string longName(600, 'n');
    core.ShowMessage("%s!", longName.c_str());
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].text, std::string(511, 'n'));
}

}  // namespace
}  // namespace varno::test
