// The road of one copied text after the clipboard has given it up.
#include "capture_core.h"
#include "make_links.h"

namespace varno {

void CCaptureCore::CaptureText(std::string text) {
    if (m_fHtml) text = MakeLinks(std::move(text));
    if (!AppendEntry(text)) {
        ReportCapacityExceeded();
        return;
    }
    if (m_iFileWrite == AppendOnTheFly) {
        // Exactly the bytes just appended to the buffer.
        std::string entry = text + m_strSeparator;
        int32_t length = static_cast<int32_t>(entry.size());
        WriteToOutputFile(std::move(entry), length);
    }
    UpdateCaption();
}

}  // namespace varno
