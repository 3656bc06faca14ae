// The settings store over the real registry (run under Wine, in a private prefix).
#include <gtest/gtest.h>

#include <windows.h>

#include "test_support.h"
#include "win32_registry.h"

namespace varno::test {
namespace {

const char kKey[] = "SOFTWARE\\Quorbanex\\Varno";

std::string QueryBytes(HKEY key, const char* name, DWORD* type) {
    DWORD size = 0;
    if (RegQueryValueExA(key, name, nullptr, type, nullptr, &size) != ERROR_SUCCESS) return "<missing>";
    std::string bytes(size, '\0');
    RegQueryValueExA(key, name, nullptr, type, reinterpret_cast<BYTE*>(&bytes[0]), &size);
    bytes.resize(size);
    return bytes;
}

class Win32RegistryTest : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Quorbanex"); }
    void TearDown() override { RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Quorbanex"); }
    RecordingWindow window;
    Win32Registry registry;
    std::unique_ptr<FileSystem> files = MakePlatformFileSystem();
};

TEST_F(Win32RegistryTest, FirstRunCreatesTheKeyWithItsValues) {
    CCaptureCore core(window, *files, registry, std::string());
    core.LoadSettings();
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    char keyClass[64] = {};
    DWORD classSize = sizeof keyClass;
    DWORD valueCount = 0;
    ASSERT_EQ(RegQueryInfoKeyA(key, keyClass, &classSize, nullptr, nullptr, nullptr, nullptr, &valueCount,
                               nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_STREQ(keyClass, "MyClass");
    EXPECT_EQ(valueCount, 7u);
    DWORD type = 0;
    EXPECT_EQ(QueryBytes(key, "fActive", &type), std::string(1, '\1'));
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(QueryBytes(key, "fHtml", &type), std::string(1, '\1'));
    EXPECT_EQ(QueryBytes(key, "iFileWrite", &type), std::string(1, '\1'));
    EXPECT_EQ(QueryBytes(key, "OutputFile", &type), std::string(1, '\0'));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(QueryBytes(key, "Separator", &type), std::string("\r\0--- varno ---\r\0\0\0", 19));
    EXPECT_EQ(type, static_cast<DWORD>(REG_MULTI_SZ));
    RegCloseKey(key);
}

TEST_F(Win32RegistryTest, SettingsSurviveARestart) {
    {
        CCaptureCore core(window, *files, registry, std::string());
        core.LoadSettings();
        SheetSettings sheet;
        sheet.active = 0;
        sheet.separators = 1;
        sheet.format = 1;
        sheet.writeMethod = AppendOnTheFly;
        sheet.path = "Z:\\tmp\\out \xe9.html";
        sheet.textSeparator = "t\r\n";
        sheet.htmlSeparator = "\r\n<p>\r\n";
        core.ApplySheetSettings(sheet);
    }
    CCaptureCore core(window, *files, registry, std::string());
    core.LoadSettings();
    EXPECT_EQ(core.m_fActive, 0);
    EXPECT_EQ(core.m_fHtml, 1);
    EXPECT_EQ(core.m_iFileWrite, AppendOnTheFly);
    EXPECT_EQ(core.m_strOutputFile, "Z:\\tmp\\out \xe9.html");
    EXPECT_EQ(core.m_strTextSep, "t\r\n");
    EXPECT_EQ(core.m_strSeparator, "\r\n<p>\r\n");
    EXPECT_EQ(window.sendToFileLabel, "Auto-append to file");
    EXPECT_TRUE(window.messages.empty());
}

TEST_F(Win32RegistryTest, OversizedValuesAreShortened) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    std::string flag(10, '\1');
    std::string path(300, 'p');
    RegSetValueExA(key, "fActive", 0, REG_BINARY, reinterpret_cast<const BYTE*>(flag.data()), 10);
    RegSetValueExA(key, "OutputFile", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()), 301);
    RegCloseKey(key);
    CCaptureCore core(window, *files, registry, std::string());
    core.LoadSettings();
    EXPECT_EQ(core.m_fActive, 1);
    EXPECT_EQ(core.m_strOutputFile, std::string(255, 'p'));
}

}  // namespace
}  // namespace varno::test
