// The main window as a clipboard viewer: the chain, the capture of every
// copied text (except copies marked private), Buffer to Clipboard and the
// Clipboard Viewer command.
#include "capture_frame.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

#include "message_format.h"

namespace {

// Password managers and other programs mark a copy that no clipboard monitor
// or history may keep with one of these registered formats. The clipboard
// must be open.
bool IsMarkedPrivate() {
    static const UINT excludeFromMonitors =
        RegisterClipboardFormatA("ExcludeClipboardContentFromMonitorProcessing");
    static const UINT viewerIgnore = RegisterClipboardFormatA("Clipboard Viewer Ignore");
    static const UINT historyAllowed = RegisterClipboardFormatA("CanIncludeInClipboardHistory");

    // All formats in one call, as this runs for every copy; a copy with more
    // formats than fit here is asked about each marker instead.
    UINT formats[64];
    UINT count = 0;
    const bool listed = GetUpdatedClipboardFormats(formats, 64, &count) != FALSE;
    auto carries = [&](UINT format) {
        if (format == 0) return false;
        if (!listed) return IsClipboardFormatAvailable(format) != FALSE;
        return std::find(formats, formats + count, format) != formats + count;
    };

    // These two mark a copy whatever they hold.
    if (carries(excludeFromMonitors) || carries(viewerIgnore)) return true;

    // This one holds a DWORD: zero keeps the copy out, any other value lets it in.
    if (!carries(historyAllowed)) return false;
    HANDLE data = GetClipboardData(historyAllowed);
    if (data == nullptr || GlobalSize(data) < sizeof(DWORD)) return false;
    const void* value = GlobalLock(data);
    if (value == nullptr) return false;
    DWORD allowed = 0;
    std::memcpy(&allowed, value, sizeof allowed);
    GlobalUnlock(data);
    return allowed == 0;
}

// The clipboard opened by the main window for one operation, closed on every
// path. While it is open the window's m_bHoldingClipboard is set.
class ClipboardHold {
public:
    ClipboardHold(HWND window, bool& holding) : holding_(holding) {
        open_ = OpenClipboard(window) != FALSE;
        holding_ = open_;
    }
    ~ClipboardHold() { Close(); }
    ClipboardHold(const ClipboardHold&) = delete;
    ClipboardHold& operator=(const ClipboardHold&) = delete;

    bool IsOpen() const { return open_; }

    // Cleared first: closing after a change sends the notice of it, at once
    // when this window heads the chain, and that notice must be handled.
    void Close() {
        if (!open_) return;
        open_ = false;
        holding_ = false;
        CloseClipboard();
    }

private:
    bool& holding_;
    bool open_ = false;
};

}  // namespace

void CCaptureFrame::OnChangeCbChain(HWND removed, HWND following) {
    Default(WM_CHANGECBCHAIN, reinterpret_cast<WPARAM>(removed),
            reinterpret_cast<LPARAM>(following));
    if (removed == m_hNextViewer)
        m_hNextViewer = following;
    else if (m_hNextViewer != nullptr)
        SendMessageA(m_hNextViewer, WM_CHANGECBCHAIN, reinterpret_cast<WPARAM>(removed),
                     reinterpret_cast<LPARAM>(following));
}

// One clipboard change is captured at most once. A change is known by the
// clipboard's sequence number: the system and Wine's X11 bridge may send
// several notices for one change, and the change already on the clipboard at
// start is not a new copy (m_dwHandledSequence starts with it).
void CCaptureFrame::OnDrawClipboard() {
    Default(WM_DRAWCLIPBOARD, 0, 0);
    // The notice goes down the chain first, whatever happens here.
    if (m_hNextViewer != nullptr) SendMessageA(m_hNextViewer, WM_DRAWCLIPBOARD, 0, 0);

    // A notice handled while this window holds the clipboard open: it came in
    // while we waited for another program (the owner rendering the text for
    // us, or the previous owner told that it lost the clipboard). The
    // clipboard cannot change while we hold it, so there is nothing new, and
    // opening and closing it here would close it under the outer handler.
    if (m_bHoldingClipboard) return;

    if (!m_fActive) {
        // Capture off: this change stays uncaptured when capture comes on, and
        // an echo of our own write is used up here rather than skipping a real
        // copy later.
        m_dwHandledSequence = GetClipboardSequenceNumber();
        m_bArmed = TRUE;
        return;
    }

    // Held by another program: this notice is lost, but a repeated notice for
    // the same change may still capture it.
    ClipboardHold clipboard(m_hWnd, m_bHoldingClipboard);
    if (!clipboard.IsOpen()) return;

    // While the clipboard is open its content and sequence number stay put.
    DWORD sequence = GetClipboardSequenceNumber();
    if (sequence == m_dwHandledSequence) return;
    m_dwHandledSequence = sequence;

    // Our own Buffer to Clipboard: we own the clipboard only after our own
    // EmptyClipboard, so a real copy that comes first is never mistaken for it.
    bool ownWrite = !m_bArmed && GetClipboardOwner() == m_hWnd;
    m_bArmed = TRUE;
    if (ownWrite || IsMarkedPrivate()) return;

    HANDLE data = GetClipboardData(CF_TEXT);
    if (data == nullptr) return;  // an image, files, nothing
    const char* locked = static_cast<const char*>(GlobalLock(data));
    if (locked == nullptr) {
        clipboard.Close();
        ReportCapacityExceeded();
        return;
    }
    std::string text;
    bool copied = true;
    try {
        // Up to the first NUL, and never past the block.
        text.assign(locked, strnlen(locked, GlobalSize(data)));
    } catch (const std::bad_alloc&) {
        copied = false;
    }
    GlobalUnlock(data);
    // Closed before the core can show a message, so other programs and
    // later notices are not held up by an open message box.
    clipboard.Close();
    if (!copied) {
        ReportCapacityExceeded();
        return;
    }
    CaptureText(std::move(text));
}

void CCaptureFrame::OnToClipboard() {
    // Each of our two writes below comes back as a notice; with m_bArmed
    // false and the clipboard ours, OnDrawClipboard skips it.
    m_bArmed = FALSE;
    {
        ClipboardHold clipboard(m_hWnd, m_bHoldingClipboard);
        if (clipboard.IsOpen()) EmptyClipboard();
    }
    if (m_pBuffer == nullptr) return;

    const std::string header = m_fHtml ? m_strHtmlHeader : std::string();
    const SIZE_T size = header.size() + static_cast<SIZE_T>(m_nUsed) + 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, size);
    if (block == nullptr) {
        ReportCapacityExceeded();
        return;
    }
    char* target = static_cast<char*>(GlobalLock(block));
    if (target == nullptr) {
        GlobalFree(block);
        ReportCapacityExceeded();
        return;
    }
    std::memcpy(target, header.data(), header.size());
    // The buffer's text with its terminating NUL.
    std::memcpy(target + header.size(), m_pBuffer, static_cast<size_t>(m_nUsed) + 1);
    GlobalUnlock(block);

    ClipboardHold clipboard(m_hWnd, m_bHoldingClipboard);
    if (!clipboard.IsOpen()) {
        GlobalFree(block);
        return;
    }
    m_bArmed = FALSE;
    // Emptied again so that the clipboard is ours: another program may have
    // copied since the first emptying.
    EmptyClipboard();
    bool handedOver = SetClipboardData(CF_TEXT, block) != nullptr;
    if (!handedOver) GlobalFree(block);  // still ours when the clipboard refused it
    clipboard.Close();
    if (handedOver) {
        // The count without the header; the caption field holds 32 bytes.
        std::string caption = varno::FormatText("(%ld bytes)", m_nUsed).substr(0, 31);
        SetWindowTextA(m_hWnd, caption.c_str());
    }
}

void CCaptureFrame::OnClipboardViewer() {
    if (WinExec("Clipbrd.exe", SW_SHOWNORMAL) < 32)
        ShowMessage("Could not find file Clipbrd.exe\n  To Install:\n"
                    "Use Control Panel, Add/Remove Programs, Windows Setup,\n"
                    "Accessories, Details and check Clipboard Viewer.");
}
