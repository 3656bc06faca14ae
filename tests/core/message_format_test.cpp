// The message formatter against what wvsprintf makes of the same formats.
#include <gtest/gtest.h>

#include <climits>

#include "message_format.h"

namespace varno {
namespace {

struct NumberCase {
    const char* format;
    int32_t value;
    const char* expected;
};

class NumberFormatTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(NumberFormatTest, MatchesWvsprintf) {
    const NumberCase& c = GetParam();
    EXPECT_EQ(FormatText(c.format, c.value), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Numbers, NumberFormatTest,
    ::testing::Values(NumberCase{"%ld bytes", 0, "0 bytes"},
                      NumberCase{"(%ld bytes)", 1999990, "(1999990 bytes)"},
                      NumberCase{"%li bytes", 2000000, "2000000 bytes"},
                      NumberCase{"%ld", -42, "-42"},
                      NumberCase{"%d", INT32_MIN, "-2147483648"},
                      NumberCase{"%i|", INT32_MAX, "2147483647|"},
                      NumberCase{"%5d", 42, "   42"},
                      NumberCase{"%-5d|", 42, "42   |"},
                      NumberCase{"%05d", -42, "-0042"},
                      NumberCase{"%.4d", 7, "0007"},
                      NumberCase{"%u", -1, "4294967295"},
                      NumberCase{"%x", 255, "ff"},
                      NumberCase{"%#X", 255, "0XFF"},
                      NumberCase{"%08lx", 0xbeef, "0000beef"},
                      NumberCase{"100%% %d", 5, "100% 5"}));

TEST(MessageFormatTest, Strings) {
    EXPECT_EQ(FormatText("a %s b", "text"), "a text b");
    EXPECT_EQ(FormatText("[%6s]", "ab"), "[    ab]");
    EXPECT_EQ(FormatText("[%-4s]", "ab"), "[ab  ]");
    EXPECT_EQ(FormatText("[%.2s]", "abcdef"), "[ab]");
    EXPECT_EQ(FormatText("%s", static_cast<const char*>(nullptr)), "(null)");
    EXPECT_EQ(FormatText("%c%c", 'o', 'k'), "ok");
}

TEST(MessageFormatTest, InsertedTextIsNotReadAsAFormat) {
    EXPECT_EQ(FormatText("%s", "C:\\100%s\\%d.txt"), "C:\\100%s\\%d.txt");
}

TEST(MessageFormatTest, PlainTextAndOddFormats) {
    EXPECT_EQ(FormatText("Missing output file name.\nEnter file name in Settings."),
              "Missing output file name.\nEnter file name in Settings.");
    EXPECT_EQ(FormatText("%q"), "q");       // unknown type: the character itself
    EXPECT_EQ(FormatText("trailing %"), "trailing ");
}

TEST(MessageFormatTest, ResultIsCutToTheLimit) {
    std::string longText(2000, 'x');
    EXPECT_EQ(FormatText("%s", longText.c_str()).size(), 511u);
    EXPECT_EQ(FormatText(longText.c_str()).size(), 511u);
}

}  // namespace
}  // namespace varno
