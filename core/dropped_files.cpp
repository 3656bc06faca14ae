// Merging dropped files into the buffer: each file whole as one entry, in the
// order the shell lists them, or not at all.
#include <algorithm>

#include "capture_core.h"

namespace varno {

namespace {

// Reads the whole file in 1024-byte blocks. The buffer is one NUL-terminated
// text, so NUL bytes are dropped wherever they stand and every other byte is
// kept (a UTF-16 file then merges as its readable bytes).
std::string ReadWithoutNuls(File& file) {
    const size_t kBlock = 1024;
    char block[kBlock];
    std::string content;
    for (;;) {
        size_t count = file.Read(block, kBlock);
        if (count == 0) break;
        std::copy_if(block, block + count, std::back_inserter(content), [](char c) { return c != '\0'; });
    }
    return content;
}

}  // namespace

void CCaptureCore::MergeDroppedFiles(const std::vector<std::string>& names) {
    if (!m_fActive) {
        ShowMessage("Varno is turned OFF\nYou can activate it throught Settings");
        return;
    }
    for (const std::string& name : names) {
        FileErrorCause cause = FileErrorCause::Generic;
        std::unique_ptr<File> file = files_.Open(name, FileMode::Read, &cause);
        if (!file) {
            // The name and the description go in as literal text.
            ShowMessage("%s", ("The file " + name + " could not be opened because of this error:\n" +
                               DescribeFileError(cause, name))
                                  .c_str());
            return;
        }
        std::string content = ReadWithoutNuls(*file);
        file->Close();
        if (!AppendEntry(content)) {
            ReportCapacityExceeded();
            return;
        }
        UpdateCaption();
    }
}

}  // namespace varno
