// The state of the main window that does not depend on the window system: the
// capture buffer and its separators, the output file writer and the settings
// store. The Win32 main window derives from this class, so these are its own
// operations; tests build it without any window.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "file_system.h"
#include "registry.h"
#include "window_port.h"

namespace varno {

enum FileWriteMethod : int32_t {
    AppendOnTheFly = 0,
    AppendOnCommand = 1,
    ReplaceOnCommand = 2,
};

// What the settings sheet hands back when it closes with OK.
struct SheetSettings {
    int active = 0;
    int separators = 0;
    int format = 0;        // 0 Text, 1 HTML
    int writeMethod = -1;  // -1 when no radio button was selected
    std::string path;
    std::string textSeparator;
    std::string htmlSeparator;
};

class CCaptureCore {
public:
    // htmlHeader is the text of the IDS_HTML_START resource, or nothing when
    // it could not be loaded (then the user is told and the header is empty).
    CCaptureCore(WindowPort& window, FileSystem& files, Registry& registry,
                 std::optional<std::string> htmlHeader);
    virtual ~CCaptureCore();
    CCaptureCore(const CCaptureCore&) = delete;
    CCaptureCore& operator=(const CCaptureCore&) = delete;

    // The capture buffer.
    bool AppendEntry(const std::string& text);
    void ClearBuffer();
    void ReleaseBuffer();
    void UpdateCaption();
    int32_t FreeSpace() const;
    void ReportCapacityExceeded();
    void ShowMessage(const char* format, ...);
    // The buffer's text; empty while the buffer is absent.
    std::string BufferText() const;

    // The output file.
    void WriteToOutputFile(std::string text, int32_t length);

    // The capture path for one copied text, once the clipboard is closed:
    // links in HTML format, the entry, the file on the fly, the caption.
    void CaptureText(std::string text);

    // The settings store.
    void LoadSettings();
    void SaveSettings();
    int ReadFlag(RegKey key, const char* name);
    std::string ReadString(RegKey key, const char* name, bool multi);
    void WriteMultiString(RegKey key, const char* name, const std::string& text);
    void UpdateSendToFileItem();

    // Takes the values of the settings sheet after OK, chooses the current
    // separator again, refreshes the caption and saves.
    void ApplySheetSettings(const SheetSettings& sheet);

    // Merges dropped files, one entry each, in order. Stops at the first file
    // that cannot be opened or does not fit, with one message.
    void MergeDroppedFiles(const std::vector<std::string>& names);

    // Fields, in the main window's declaration order.
    int32_t m_nNewLength = 0;
    int32_t m_nUsed = 0;
    int32_t m_nLimit = 0;
    int32_t m_nSepLen = 0;
    int32_t m_fActive = 0;
    int32_t m_fSepar = 0;
    int32_t m_fHtml = 0;
    int32_t m_iFileWrite = AppendOnCommand;
    std::string m_strSeparator;
    std::string m_strHtmlSep;
    std::string m_strTextSep;
    std::string m_strTitle;
    std::string m_strOutputFile;
    std::string m_strHtmlHeader;
    char* m_pBuffer = nullptr;

protected:
    WindowPort& window_;
    FileSystem& files_;
    Registry& registry_;

private:
    void SetFirstRunDefaults();
    void ChooseSeparator(const std::string& separator);
};

// The buffer's capacity in bytes.
constexpr int32_t kBufferCapacity = 2000000;

}  // namespace varno
