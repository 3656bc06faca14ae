// Files dropped on the main window are merged into the buffer.
#include <string>
#include <vector>

#include "capture_frame.h"

namespace {

// Releases the drop handle exactly once: when asked, or when the handler
// leaves early (an error escaping it included).
class DropHandle {
public:
    explicit DropHandle(HDROP drop) : m_hDrop(drop) {}
    ~DropHandle() { Release(); }
    DropHandle(const DropHandle&) = delete;
    DropHandle& operator=(const DropHandle&) = delete;

    HDROP Get() const { return m_hDrop; }
    void Release() {
        if (m_hDrop != nullptr) DragFinish(m_hDrop);
        m_hDrop = nullptr;
    }

private:
    HDROP m_hDrop;
};

}  // namespace

void CCaptureFrame::OnDropFiles(HDROP drop) {
    DropHandle handle(drop);
    if (!m_fActive) {
        // Capture off: the core says so and merges nothing; no name is read.
        MergeDroppedFiles({});
        return;
    }

    // Every name is read before the first file is opened, in the shell's order.
    UINT count = DragQueryFileA(handle.Get(), 0xFFFFFFFF, nullptr, 0);
    std::vector<std::string> names;
    for (UINT i = 0; i < count; ++i) {
        char name[260] = "";  // DragQueryFileA cuts a longer name
        DragQueryFileA(handle.Get(), i, name, sizeof name);
        names.push_back(name);
    }
    handle.Release();

    MergeDroppedFiles(names);
}
