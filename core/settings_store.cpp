// The settings store: all settings in one registry key,
// HKEY_LOCAL_MACHINE\SOFTWARE\Quorbanex\Varno.
//
//   "fActive"    REG_BINARY 1 byte   1 capture on, 0 off
//   "fSepar"     REG_BINARY 1 byte   1 separators on, 0 off
//   "fHtml"      REG_BINARY 1 byte   inverted: 1 Text, 0 HTML
//   "iFileWrite" REG_BINARY 1 byte   0 append on the fly, 1 append on command, 2 replace
//   "OutputFile" REG_SZ              path + NUL
//   "Separator"  REG_MULTI_SZ        text separator, each "\n" stored as NUL, then NUL NUL
//   "HtmlSepar"  REG_MULTI_SZ        HTML separator, likewise
//
// e.g. "\r\n--- varno ---\r\n" is stored as "\r" NUL "--- varno ---\r" NUL NUL NUL.
#include <cstring>
#include <vector>

#include "capture_core.h"

namespace varno {

namespace {

const char kSoftware[] = "SOFTWARE";
const char kProductKey[] = "Quorbanex\\Varno";
const char kKeyClass[] = "MyClass";

// The store's buffers: a path of at most 255 characters, a separator of at
// most 1026. Longer stored values (outside changes only) are shortened.
const size_t kPathBuffer = 256;
const size_t kSeparatorBuffer = 1028;

// A value's bytes, or nothing when it is missing, empty or unreadable.
std::optional<std::vector<unsigned char>> QueryBytes(Registry& registry, RegKey key, const char* name) {
    uint32_t type = 0;
    uint32_t size = 0;
    if (registry.QueryValue(key, name, &type, nullptr, &size) != kRegOk || size == 0) return std::nullopt;
    std::vector<unsigned char> data(size);
    if (registry.QueryValue(key, name, &type, data.data(), &size) != kRegOk || size == 0) return std::nullopt;
    data.resize(size);
    return data;
}

// The first byte of a value, or valueWhenMissing.
int ReadByte(Registry& registry, RegKey key, const char* name, int valueWhenMissing) {
    auto data = QueryBytes(registry, key, name);
    return data ? (*data)[0] : valueWhenMissing;
}

void WriteByte(Registry& registry, RegKey key, const char* name, unsigned char value) {
    registry.SetValue(key, name, kRegBinary, &value, 1);
}

}  // namespace

void CCaptureCore::SetFirstRunDefaults() {
    m_fActive = 1;
    m_fSepar = 0;
    m_fHtml = 0;
    m_iFileWrite = AppendOnCommand;
}

int CCaptureCore::ReadFlag(RegKey key, const char* name) {
    return ReadByte(registry_, key, name, 0) != 0 ? 1 : 0;
}

std::string CCaptureCore::ReadString(RegKey key, const char* name, bool multi) {
    auto data = QueryBytes(registry_, key, name);
    if (!data) return std::string();
    if (!multi) {
        std::string text(data->begin(), data->end());
        text = text.substr(0, text.find('\0'));
        if (text.size() > kPathBuffer - 1) text.resize(kPathBuffer - 1);
        return text;
    }
    if (data->size() > kSeparatorBuffer) data->resize(kSeparatorBuffer);
    // Join the strings of the list, each followed by "\n", up to the first
    // empty string; then drop the final "\n" unless a "\r" stands before it.
    std::string text;
    size_t at = 0;
    while (at < data->size() && (*data)[at] != '\0') {
        size_t end = at;
        while (end < data->size() && (*data)[end] != '\0') ++end;
        text.append(reinterpret_cast<const char*>(data->data()) + at, end - at);
        text += '\n';
        at = end + 1;
    }
    if (!text.empty() && (text.size() < 2 || text[text.size() - 2] != '\r')) text.pop_back();
    if (text.size() > kSeparatorBuffer - 2) text.resize(kSeparatorBuffer - 2);
    return text;
}

void CCaptureCore::WriteMultiString(RegKey key, const char* name, const std::string& text) {
    std::string list = text.substr(0, kSeparatorBuffer - 2) + '\n';
    for (char& c : list)
        if (c == '\n') c = '\0';
    list += '\0';
    registry_.SetValue(key, name, kRegMultiSz, reinterpret_cast<const unsigned char*>(list.data()),
                       static_cast<uint32_t>(list.size()));
}

void CCaptureCore::UpdateSendToFileItem() {
    if (m_iFileWrite == AppendOnTheFly)
        window_.SetSendToFileItem("Auto-append to file", true);
    else if (m_iFileWrite == AppendOnCommand)
        window_.SetSendToFileItem("Buffer to &File (append)", false);
    else
        window_.SetSendToFileItem("Buffer to &File (replace)", false);
}

void CCaptureCore::LoadSettings() {
    RegKey root = 0;
    if (registry_.OpenKey(kRegLocalMachine, nullptr, &root) != kRegOk) {
        ShowMessage("Can't open root key in Registry!");
        SetFirstRunDefaults();
        return;
    }
    RegKey software = 0;
    if (registry_.OpenKey(root, kSoftware, &software) != kRegOk) {
        registry_.CloseKey(root);
        SetFirstRunDefaults();
        return;
    }
    RegKey key = 0;
    if (registry_.OpenKeyForRead(software, kProductKey, &key) != kRegOk) {
        // First run: the defaults, stored at once.
        registry_.CloseKey(software);
        registry_.CloseKey(root);
        SetFirstRunDefaults();
        m_strOutputFile.clear();
        SaveSettings();
        return;
    }

    // A value missing from the key reads as its first-run default.
    m_fActive = ReadByte(registry_, key, "fActive", 1) != 0 ? 1 : 0;
    m_fSepar = ReadFlag(key, "fSepar");
    m_fHtml = ReadByte(registry_, key, "fHtml", 1) == 0 ? 1 : 0;
    m_iFileWrite = ReadByte(registry_, key, "iFileWrite", AppendOnCommand);
    UpdateSendToFileItem();

    m_strOutputFile = ReadString(key, "OutputFile", false);
    if (QueryBytes(registry_, key, "Separator")) m_strTextSep = ReadString(key, "Separator", true);
    if (QueryBytes(registry_, key, "HtmlSepar")) m_strHtmlSep = ReadString(key, "HtmlSepar", true);

    // With separators off the separator set at construction stays current.
    std::string separator = m_strSeparator;
    if (m_fSepar) separator = m_fHtml ? m_strHtmlSep : m_strTextSep;
    if (separator.empty()) separator = "\r\n";
    ChooseSeparator(separator);

    registry_.CloseKey(key);
    registry_.CloseKey(software);
    registry_.CloseKey(root);
}

void CCaptureCore::SaveSettings() {
    RegKey root = 0;
    if (registry_.OpenKey(kRegLocalMachine, nullptr, &root) != kRegOk) return;
    RegKey software = 0;
    if (registry_.OpenKey(root, kSoftware, &software) != kRegOk) {
        registry_.CloseKey(root);
        ShowMessage("Cannot open main key");
        return;
    }
    RegKey key = 0;
    if (registry_.CreateKey(software, kProductKey, kKeyClass, &key) != kRegOk) {
        registry_.CloseKey(software);
        registry_.CloseKey(root);
        ShowMessage("Unable to create sub key");
        return;
    }

    WriteByte(registry_, key, "fActive", m_fActive ? 1 : 0);
    WriteByte(registry_, key, "fSepar", m_fSepar ? 1 : 0);
    WriteByte(registry_, key, "fHtml", m_fHtml ? 0 : 1);
    WriteByte(registry_, key, "iFileWrite",
              m_iFileWrite == AppendOnCommand || m_iFileWrite == ReplaceOnCommand
                  ? static_cast<unsigned char>(m_iFileWrite)
                  : static_cast<unsigned char>(AppendOnTheFly));

    std::string path = m_strOutputFile.substr(0, kPathBuffer - 1);
    registry_.SetValue(key, "OutputFile", kRegSz, reinterpret_cast<const unsigned char*>(path.c_str()),
                       static_cast<uint32_t>(path.size() + 1));
    WriteMultiString(key, "Separator", m_strTextSep);
    WriteMultiString(key, "HtmlSepar", m_strHtmlSep);
    UpdateSendToFileItem();

    registry_.CloseKey(key);
    registry_.CloseKey(software);
    registry_.CloseKey(root);
}

void CCaptureCore::ApplySheetSettings(const SheetSettings& sheet) {
    const size_t kMaxText = 1024;
    m_fActive = sheet.active;
    m_fHtml = sheet.format != 0 ? 1 : 0;
    m_iFileWrite = sheet.writeMethod;
    UpdateCaption();
    m_strOutputFile = sheet.path.substr(0, kMaxText);
    m_fSepar = sheet.separators;
    if (m_fSepar) {
        m_strTextSep = sheet.textSeparator.substr(0, kMaxText);
        m_strHtmlSep = sheet.htmlSeparator.substr(0, kMaxText);
        // Unlike loading, an empty separator stays empty here.
        ChooseSeparator(m_fHtml ? m_strHtmlSep : m_strTextSep);
    } else {
        ChooseSeparator("\r\n");
    }
    SaveSettings();
}

}  // namespace varno
