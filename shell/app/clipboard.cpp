// The main window as a clipboard viewer: the chain, the capture of every
// copied text, Buffer to Clipboard and the Clipboard Viewer command.
#include "capture_frame.h"

void CCaptureFrame::OnChangeCbChain(HWND removed, HWND following) {
    Default(WM_CHANGECBCHAIN, reinterpret_cast<WPARAM>(removed),
            reinterpret_cast<LPARAM>(following));
    if (removed == m_hNextViewer)
        m_hNextViewer = following;
    else if (m_hNextViewer != nullptr)
        SendMessageA(m_hNextViewer, WM_CHANGECBCHAIN, reinterpret_cast<WPARAM>(removed),
                     reinterpret_cast<LPARAM>(following));
}

void CCaptureFrame::OnDrawClipboard() {
    Default(WM_DRAWCLIPBOARD, 0, 0);
    // The notice goes down the chain first, whatever happens here.
    if (m_hNextViewer != nullptr) SendMessageA(m_hNextViewer, WM_DRAWCLIPBOARD, 0, 0);
    // Capturing the clipboard's text is added with the clipboard capture.
}

void CCaptureFrame::OnToClipboard() {
    // Buffer to Clipboard: the transfer is added with the clipboard capture.
}

void CCaptureFrame::OnClipboardViewer() {
    // Clipboard Viewer: starting the viewer program is added with the clipboard capture.
}

