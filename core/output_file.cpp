// The output file writer: every call opens the file, writes and closes it.
#include "capture_core.h"

namespace varno {

void CCaptureCore::WriteToOutputFile(std::string text, int32_t length) {
    if (m_strOutputFile.empty()) {
        ShowMessage("Missing output file name.\nEnter file name in Settings.");
        return;
    }

    FileMode mode = files_.Exists(m_strOutputFile) && m_iFileWrite != ReplaceOnCommand
                        ? FileMode::WriteExisting
                        : FileMode::CreateWrite;
    FileErrorCause cause = FileErrorCause::Generic;
    std::unique_ptr<File> file = files_.Open(m_strOutputFile, mode, &cause);
    if (!file) {
        // The description goes in as literal text: a "%" in a file name stays a "%".
        ShowMessage("%s", ("The file could not be opened because of this error:\n" +
                           DescribeFileError(cause, m_strOutputFile))
                              .c_str());
        return;
    }

    // Errors raised below pass up to the window layer; the file object closes
    // the file on the way.
    switch (m_iFileWrite) {
    case AppendOnTheFly:
    case AppendOnCommand: {
        // The guard looks at the size before the write, so one write may take
        // the file past the limit.
        int32_t fileLength = file->SeekToEnd();
        if (fileLength <= m_nLimit && length > 0) {
            size_t count = static_cast<size_t>(length) < text.size() ? static_cast<size_t>(length) : text.size();
            file->Write(text.data(), count);
        }
        break;
    }
    case ReplaceOnCommand:
        if (m_fHtml) file->Write(m_strHtmlHeader.data(), m_strHtmlHeader.size());
        if (m_pBuffer != nullptr) file->Write(m_pBuffer, static_cast<size_t>(m_nUsed));
        break;
    default:
        // Methods 3 to 255 come only from outside changes of the registry:
        // the file is opened and closed, and nothing is written.
        break;
    }
    file->Close();
}

}  // namespace varno
