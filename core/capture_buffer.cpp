// The capture buffer: one NUL-terminated block of exactly m_nUsed + 1 bytes,
// absent while empty, grown by exactly one entry at a time. Also the caption
// texts and the program's one way of showing a message.
#include <cstdlib>
#include <cstring>

#include "capture_core.h"
#include "message_format.h"

namespace varno {

namespace {
const char kDefaultTextSeparator[] = "\r\n--- varno ---\r\n";
const char kDefaultHtmlSeparator[] = "\r\n<hr>\r\n";
}  // namespace

CCaptureCore::CCaptureCore(WindowPort& window, FileSystem& files, Registry& registry,
                           std::optional<std::string> htmlHeader)
    : window_(window), files_(files), registry_(registry) {
    m_nUsed = 0;
    m_nLimit = kBufferCapacity + 1;
    m_strTextSep = kDefaultTextSeparator;
    m_strHtmlSep = kDefaultHtmlSeparator;
    ChooseSeparator(m_strTextSep);
    m_strTitle = "Varno 2.0";
    // Capture stays off until the settings are loaded, so a clipboard notice
    // that arrives while the window is being created captures nothing.
    SetFirstRunDefaults();
    m_fActive = 0;
    if (htmlHeader) {
        m_strHtmlHeader = *htmlHeader;
    } else {
        ShowMessage("Cannot load string IDS_HTML_START");
    }
    m_pBuffer = nullptr;
}

CCaptureCore::~CCaptureCore() { ReleaseBuffer(); }

void CCaptureCore::ChooseSeparator(const std::string& separator) {
    m_strSeparator = separator;
    m_nSepLen = static_cast<int32_t>(m_strSeparator.size());
}

bool CCaptureCore::AppendEntry(const std::string& text) {
    // Sizes are compared in 64 bits so a huge text cannot wrap past the limit.
    int64_t newLength = int64_t{m_nUsed} + static_cast<int64_t>(text.size()) + m_nSepLen;
    m_nNewLength = newLength > kBufferCapacity ? m_nLimit : static_cast<int32_t>(newLength);
    if (newLength >= m_nLimit) return false;

    // On failure realloc leaves the old block intact, so the buffer still
    // describes its old content.
    void* block = m_pBuffer == nullptr ? std::malloc(static_cast<size_t>(newLength) + 1)
                                       : std::realloc(m_pBuffer, static_cast<size_t>(newLength) + 1);
    if (block == nullptr) return false;
    m_pBuffer = static_cast<char*>(block);

    char* end = m_pBuffer + m_nUsed;
    std::memcpy(end, text.data(), text.size());
    std::memcpy(end + text.size(), m_strSeparator.data(), m_strSeparator.size());
    m_pBuffer[newLength] = '\0';
    m_nUsed = static_cast<int32_t>(newLength);
    return true;
}

void CCaptureCore::ReleaseBuffer() {
    std::free(m_pBuffer);
    m_pBuffer = nullptr;
    m_nUsed = 0;
}

void CCaptureCore::ClearBuffer() {
    ReleaseBuffer();
    UpdateCaption();
}

std::string CCaptureCore::BufferText() const {
    return m_pBuffer == nullptr ? std::string() : std::string(m_pBuffer, static_cast<size_t>(m_nUsed));
}

void CCaptureCore::UpdateCaption() {
    // The caption field holds 32 bytes with its NUL.
    if (m_fActive)
        window_.SetCaption(FormatText("%ld bytes", m_nUsed).substr(0, 31));
    else
        window_.SetCaption("Varno OFF");
}

int32_t CCaptureCore::FreeSpace() const { return m_nLimit - m_nUsed - 1; }

void CCaptureCore::ReportCapacityExceeded() {
    ShowMessage("%li bytes maximum buffer capacity exceeded\n"
                "Please Inactivate, Clear or copy to Clipboard and Clear.",
                m_nLimit - 1);
}

void CCaptureCore::ShowMessage(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string text = FormatTextV(format, args);
    va_end(args);
    window_.ShowMessageBox(text, m_strTitle);
}

}  // namespace varno
