// The settings store over the in-memory registry: byte encodings, first run,
// round trips, malformed values and the apply sequence of the settings sheet.
#include <gtest/gtest.h>

#include "test_support.h"

namespace varno::test {
namespace {

const char kKey[] = "SOFTWARE\\Quorbanex\\Varno";

std::string Bytes(const MemoryRegistry::Value& value) {
    return std::string(value.data.begin(), value.data.end());
}

class SettingsStoreTest : public ::testing::Test, public CoreFixture {
protected:
    void SetUp() override {
        RegKey software = 0;
        registry.CreateKey(kRegLocalMachine, "SOFTWARE", "", &software);
        registry.CloseKey(software);
    }
    const MemoryRegistry::Value& Stored(const char* name) {
        static MemoryRegistry::Value missing;
        auto* key = registry.Find(kKey);
        if (!key) return missing;
        auto it = key->values.find(Lower(name));
        return it == key->values.end() ? missing : it->second;
    }
    static std::string Lower(std::string text) {
        for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return text;
    }
    void Seed(const char* name, uint32_t type, const std::string& bytes) { registry.Put(kKey, name, type, bytes); }
    void SeedAll() {
        Seed("fActive", kRegBinary, std::string(1, '\1'));
        Seed("fSepar", kRegBinary, std::string(1, '\0'));
        Seed("fHtml", kRegBinary, std::string(1, '\1'));
        Seed("iFileWrite", kRegBinary, std::string(1, '\1'));
        Seed("OutputFile", kRegSz, std::string("out.txt\0", 8));
        Seed("Separator", kRegMultiSz, std::string("\r\0--- varno ---\r\0\0\0", 19));
        Seed("HtmlSepar", kRegMultiSz, std::string("\r\0<hr>\r\0\0\0", 10));
    }
};

TEST_F(SettingsStoreTest, FirstRunStoresTheDefaults) {
    core.LoadSettings();
    EXPECT_EQ(core.m_fActive, 1);
    EXPECT_EQ(core.m_fSepar, 0);
    EXPECT_EQ(core.m_fHtml, 0);
    EXPECT_EQ(core.m_iFileWrite, AppendOnCommand);
    EXPECT_EQ(core.m_strOutputFile, "");
    EXPECT_EQ(core.m_strSeparator, "\r\n--- varno ---\r\n");
    EXPECT_EQ(core.m_nSepLen, 17);

    auto* key = registry.Find(kKey);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->keyClass, "MyClass");
    EXPECT_EQ(registry.Find("SOFTWARE\\Quorbanex")->keyClass, "MyClass");
    struct Expected { const char* name; uint32_t type; std::string bytes; };
    for (const Expected& e : {Expected{"fActive", kRegBinary, std::string(1, '\1')},
                              Expected{"fSepar", kRegBinary, std::string(1, '\0')},
                              Expected{"fHtml", kRegBinary, std::string(1, '\1')},
                              Expected{"iFileWrite", kRegBinary, std::string(1, '\1')},
                              Expected{"OutputFile", kRegSz, std::string(1, '\0')},
                              Expected{"Separator", kRegMultiSz, std::string("\r\0--- varno ---\r\0\0\0", 19)},
                              Expected{"HtmlSepar", kRegMultiSz, std::string("\r\0<hr>\r\0\0\0", 10)}}) {
        EXPECT_EQ(Stored(e.name).type, e.type) << e.name;
        EXPECT_EQ(Bytes(Stored(e.name)), e.bytes) << e.name;
    }
    EXPECT_EQ(key->values.size(), 7u);
    EXPECT_EQ(window.sendToFileLabel, "Buffer to &File (append)");
    EXPECT_FALSE(window.sendToFileGrayed);
    EXPECT_EQ(registry.OpenHandles(), 0);
    EXPECT_TRUE(window.messages.empty());
}

TEST_F(SettingsStoreTest, SettingsSurviveARestart) {
    core.m_fActive = 0;
    core.m_fSepar = 1;
    core.m_fHtml = 1;
    core.m_iFileWrite = ReplaceOnCommand;
    core.m_strOutputFile = std::string(250, 'p');
    core.m_strTextSep = "a\r\nb";
    core.m_strHtmlSep = "<br>\r\n";
    core.SaveSettings();
    EXPECT_EQ(Stored("OutputFile").data.size(), 251u);
    EXPECT_EQ(Bytes(Stored("fHtml")), std::string(1, '\0'));  // HTML is stored as 0

    CoreFixture next;
    next.registry = registry;
    next.core.LoadSettings();
    EXPECT_EQ(next.core.m_fActive, 0);
    EXPECT_EQ(next.core.m_fSepar, 1);
    EXPECT_EQ(next.core.m_fHtml, 1);
    EXPECT_EQ(next.core.m_iFileWrite, ReplaceOnCommand);
    EXPECT_EQ(next.core.m_strOutputFile, std::string(250, 'p'));
    EXPECT_EQ(next.core.m_strTextSep, "a\r\nb");
    EXPECT_EQ(next.core.m_strHtmlSep, "<br>\r\n");
    EXPECT_EQ(next.core.m_strSeparator, "<br>\r\n");  // separators on, HTML
    EXPECT_EQ(next.core.m_nSepLen, 6);
    EXPECT_EQ(next.window.sendToFileLabel, "Buffer to &File (replace)");
}

struct FlagCase {
    const char* name;
    std::string stored;
    int32_t CCaptureCore::*field;
    int32_t expected;
};

class StoredFlagTest : public SettingsStoreTest, public ::testing::WithParamInterface<FlagCase> {};

TEST_P(StoredFlagTest, LoadsAs) {
    SeedAll();
    Seed(GetParam().name, kRegBinary, GetParam().stored);
    core.LoadSettings();
    EXPECT_EQ(core.*(GetParam().field), GetParam().expected);
    EXPECT_EQ(registry.OpenHandles(), 0);
}

INSTANTIATE_TEST_SUITE_P(Flags, StoredFlagTest,
    ::testing::Values(FlagCase{"fActive", std::string(1, '\5'), &CCaptureCore::m_fActive, 1},
                      FlagCase{"fActive", std::string(1, '\0'), &CCaptureCore::m_fActive, 0},
                      FlagCase{"fActive", std::string("\0\1\1\1\1\1\1\1", 8), &CCaptureCore::m_fActive, 0},
                      FlagCase{"fActive", "", &CCaptureCore::m_fActive, 1},
                      FlagCase{"fHtml", std::string(1, '\1'), &CCaptureCore::m_fHtml, 0},
                      FlagCase{"fHtml", std::string(1, '\0'), &CCaptureCore::m_fHtml, 1},
                      FlagCase{"fSepar", std::string(1, '\2'), &CCaptureCore::m_fSepar, 1},
                      FlagCase{"iFileWrite", std::string(1, '\0'), &CCaptureCore::m_iFileWrite, 0},
                      FlagCase{"iFileWrite", std::string(1, '\5'), &CCaptureCore::m_iFileWrite, 5},
                      FlagCase{"iFileWrite", std::string("\xff\0\0\0\0\0", 6), &CCaptureCore::m_iFileWrite, 255}));

struct MethodLabelCase {
    int32_t method;
    const char* label;
    bool grayed;
    const char* stored;
};

class MethodLabelTest : public SettingsStoreTest, public ::testing::WithParamInterface<MethodLabelCase> {};

TEST_P(MethodLabelTest, SavingRelabelsAndStoresTheMethod) {
    core.m_iFileWrite = AppendOnTheFly;
    core.SaveSettings();
    EXPECT_TRUE(window.sendToFileGrayed);
    core.m_iFileWrite = GetParam().method;
    core.SaveSettings();
    EXPECT_EQ(window.sendToFileLabel, GetParam().label);
    EXPECT_EQ(window.sendToFileGrayed, GetParam().grayed);
    EXPECT_EQ(Bytes(Stored("iFileWrite")), std::string(GetParam().stored, 1));
}

INSTANTIATE_TEST_SUITE_P(Methods, MethodLabelTest,
    ::testing::Values(MethodLabelCase{0, "Auto-append to file", true, "\0"},
                      MethodLabelCase{1, "Buffer to &File (append)", false, "\1"},
                      MethodLabelCase{2, "Buffer to &File (replace)", false, "\2"},
                      MethodLabelCase{5, "Buffer to &File (replace)", false, "\0"},
                      MethodLabelCase{-1, "Buffer to &File (replace)", false, "\0"}));

struct SeparatorCase {
    std::string text;
    std::string stored;
    std::string readBack;
};

class SeparatorEncodingTest : public SettingsStoreTest, public ::testing::WithParamInterface<SeparatorCase> {};

TEST_P(SeparatorEncodingTest, StoredAndReadBack) {
    const SeparatorCase& c = GetParam();
    core.m_strTextSep = c.text;
    core.SaveSettings();
    EXPECT_EQ(Stored("Separator").type, kRegMultiSz);
    EXPECT_EQ(Bytes(Stored("Separator")), c.stored);
    core.m_fSepar = 1;
    core.SaveSettings();
    CoreFixture next;
    next.registry = registry;
    next.core.LoadSettings();
    EXPECT_EQ(next.core.m_strTextSep, c.readBack);
}

const std::string kLongLines = [] {
    std::string text;
    while (text.size() < 1024) text += "0123456789abcd\r\n";
    return text.substr(text.size() - 1024);
}();

INSTANTIATE_TEST_SUITE_P(Texts, SeparatorEncodingTest,
    ::testing::Values(SeparatorCase{"", std::string(2, '\0'), ""},
                      SeparatorCase{"---", std::string("---\0\0", 5), "---"},
                      SeparatorCase{"\r\n<hr>\r\n", std::string("\r\0<hr>\r\0\0\0", 10), "\r\n<hr>\r\n"},
                      SeparatorCase{kLongLines, [] {
                                        std::string s = kLongLines;
                                        for (char& c : s) if (c == '\n') c = '\0';
                                        return s + std::string(2, '\0');
                                    }(), kLongLines},
                      // The lossy ones: a bare final "\n" is lost, a final "\r" gains one,
                      // and an empty line ends the list.
                      SeparatorCase{"ab\n", std::string("ab\0\0\0", 5), "ab"},
                      SeparatorCase{"ab\r", std::string("ab\r\0\0", 5), "ab\r\n"},
                      SeparatorCase{"a\n\nb", std::string("a\0\0b\0\0", 6), "a"},
                      SeparatorCase{"\nabc", std::string("\0abc\0\0", 6), ""}));

TEST_F(SettingsStoreTest, CurrentSeparatorIsChosenAtLoad) {
    SeedAll();
    Seed("Separator", kRegMultiSz, std::string("TXT\0\0", 5));
    Seed("HtmlSepar", kRegMultiSz, std::string("\0\0", 2));

    struct Case { char separ; char html; const char* expected; };
    for (Case c : {Case{0, 1, "\r\n--- varno ---\r\n"},  // off: the one from construction
                   Case{0, 0, "\r\n--- varno ---\r\n"},
                   Case{1, 1, "TXT"},                     // on, Text ("fHtml" is inverted)
                   Case{1, 0, "\r\n"}}) {                 // on, HTML, empty: CR LF
        Seed("fSepar", kRegBinary, std::string(1, c.separ));
        Seed("fHtml", kRegBinary, std::string(1, c.html));
        CoreFixture fresh;
        fresh.registry = registry;
        fresh.core.LoadSettings();
        EXPECT_EQ(fresh.core.m_strSeparator, c.expected);
        EXPECT_EQ(fresh.core.m_nSepLen, static_cast<int32_t>(std::string(c.expected).size()));
    }
}

TEST_F(SettingsStoreTest, MalformedValuesDoNotOverflow) {
    SeedAll();
    Seed("OutputFile", kRegBinary, std::string(400, 'q'));  // no NUL, too long, wrong type
    Seed("Separator", kRegSz, std::string(3000, 's'));
    Seed("fActive", kRegSz, "0");  // the type is not looked at: '0' is not zero
    core.LoadSettings();
    EXPECT_EQ(core.m_strOutputFile, std::string(255, 'q'));
    EXPECT_EQ(core.m_strTextSep.size(), 1026u);
    EXPECT_EQ(core.m_fActive, 1);
    EXPECT_EQ(registry.OpenHandles(), 0);
}

TEST_F(SettingsStoreTest, MissingValuesReadAsTheirDefaults) {
    registry.Put(kKey, "unrelated", kRegSz, "x");
    core.LoadSettings();
    EXPECT_EQ(core.m_fActive, 1);
    EXPECT_EQ(core.m_fSepar, 0);
    EXPECT_EQ(core.m_fHtml, 0);
    EXPECT_EQ(core.m_iFileWrite, AppendOnCommand);
    EXPECT_EQ(core.m_strOutputFile, "");
    EXPECT_EQ(core.m_strTextSep, "\r\n--- varno ---\r\n");
    EXPECT_EQ(core.m_strHtmlSep, "\r\n<hr>\r\n");
    EXPECT_TRUE(window.messages.empty());
}

TEST_F(SettingsStoreTest, RootOrSoftwareMissing) {
    registry.failRoot = true;
    core.LoadSettings();
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].text, "Can't open root key in Registry!");
    EXPECT_EQ(core.m_fActive, 1);  // defined values all the same
    EXPECT_EQ(core.m_iFileWrite, AppendOnCommand);

    window.messages.clear();
    core.SaveSettings();  // silently nothing
    EXPECT_TRUE(window.messages.empty());
    EXPECT_EQ(registry.Find(kKey), nullptr);

    registry.failRoot = false;
    registry.failOpen = "SOFTWARE";
    CoreFixture other;
    other.registry = registry;
    other.core.LoadSettings();
    EXPECT_TRUE(other.window.messages.empty());
    EXPECT_EQ(other.core.m_fActive, 1);
    other.core.SaveSettings();
    ASSERT_EQ(other.window.messages.size(), 1u);
    EXPECT_EQ(other.window.messages[0].text, "Cannot open main key");
    EXPECT_EQ(other.window.sendToFileLabel, "");  // not relabelled
    EXPECT_EQ(other.registry.OpenHandles(), 0);
}

TEST_F(SettingsStoreTest, ProductKeyCannotBeCreated) {
    registry.failCreate = kKey;
    core.LoadSettings();
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].text, "Unable to create sub key");
    EXPECT_EQ(core.m_fActive, 1);
    EXPECT_EQ(registry.OpenHandles(), 0);
}

// The settings sheet closed with OK.
class ApplySheetTest : public SettingsStoreTest {
protected:
    void SetUp() override {
        SettingsStoreTest::SetUp();
        core.LoadSettings();
        sheet.active = 1;
        sheet.separators = 1;
        sheet.format = 0;
        sheet.writeMethod = AppendOnCommand;
        sheet.path = "C:\\out.txt";
        sheet.textSeparator = "---";
        sheet.htmlSeparator = "<hr>";
    }
    SheetSettings sheet;
};

TEST_F(ApplySheetTest, SeparatorsOnChooseByFormat) {
    core.ApplySheetSettings(sheet);
    EXPECT_EQ(core.m_strSeparator, "---");
    EXPECT_EQ(core.m_nSepLen, 3);
    sheet.format = 1;
    core.ApplySheetSettings(sheet);
    EXPECT_EQ(core.m_fHtml, 1);
    EXPECT_EQ(core.m_strSeparator, "<hr>");
    EXPECT_EQ(Bytes(Stored("fHtml")), std::string(1, '\0'));
    EXPECT_EQ(Bytes(Stored("OutputFile")), std::string("C:\\out.txt\0", 11));
}

TEST_F(ApplySheetTest, SeparatorsOffMeanCrLfAndKeepTheFormerTexts) {
    sheet.separators = 0;
    sheet.textSeparator = "typed meanwhile";
    core.ApplySheetSettings(sheet);
    EXPECT_EQ(core.m_strSeparator, "\r\n");
    EXPECT_EQ(core.m_nSepLen, 2);
    EXPECT_EQ(core.m_strTextSep, "\r\n--- varno ---\r\n");
    EXPECT_EQ(Bytes(Stored("Separator")), std::string("\r\0--- varno ---\r\0\0\0", 19));
}

TEST_F(ApplySheetTest, AnEmptySeparatorStaysEmptyUntilTheNextStart) {
    sheet.textSeparator = "";
    core.ApplySheetSettings(sheet);
    EXPECT_EQ(core.m_strSeparator, "");
    EXPECT_EQ(core.m_nSepLen, 0);
    ASSERT_TRUE(core.AppendEntry("a"));
    ASSERT_TRUE(core.AppendEntry("b"));
    EXPECT_EQ(core.BufferText(), "ab");

    CoreFixture next;
    next.registry = registry;
    next.core.LoadSettings();
    EXPECT_EQ(next.core.m_strSeparator, "\r\n");
}

TEST_F(ApplySheetTest, CaptionAndMenuFollowTheSheet) {
    sheet.active = 0;
    sheet.writeMethod = AppendOnTheFly;
    core.ApplySheetSettings(sheet);
    EXPECT_EQ(window.Caption(), "Varno OFF");
    EXPECT_EQ(window.sendToFileLabel, "Auto-append to file");
    EXPECT_TRUE(window.sendToFileGrayed);

    sheet.active = 1;
    sheet.writeMethod = -1;  // no radio button selected
    core.ApplySheetSettings(sheet);
    EXPECT_EQ(window.Caption(), "0 bytes");
    EXPECT_EQ(core.m_iFileWrite, -1);
    EXPECT_EQ(Bytes(Stored("iFileWrite")), std::string(1, '\0'));
}

TEST_F(ApplySheetTest, LongTextsAreCut) {
    sheet.path = std::string(1100, 'p');
    sheet.textSeparator = std::string(1100, 't');
    core.ApplySheetSettings(sheet);
    EXPECT_EQ(core.m_strOutputFile.size(), 1024u);
    EXPECT_EQ(core.m_strTextSep.size(), 1024u);
    EXPECT_EQ(Stored("OutputFile").data.size(), 256u);  // the store keeps 255 and the NUL
    EXPECT_EQ(Stored("Separator").data.size(), 1026u);
}

}  // namespace
}  // namespace varno::test
