// What the main window gives the capture core: files, registry, caption, message box, menu item.
#include "frame_ports.h"

#include "resource.h"

void CFramePorts::SetCaption(const std::string& caption) {
    if (m_window.m_hWnd != nullptr) SetWindowTextA(m_window.m_hWnd, caption.c_str());
}

void CFramePorts::ShowMessageBox(const std::string& text, const std::string& caption) {
    MessageBoxA(m_window.m_hWnd, text.c_str(), caption.c_str(),
                MB_OK | MB_ICONEXCLAMATION | MB_SYSTEMMODAL | MB_TOPMOST);
}

void CFramePorts::SetSendToFileItem(const std::string& label, bool grayed) {
    if (m_window.m_hWnd == nullptr) return;
    HMENU menu = GetSystemMenu(m_window.m_hWnd, FALSE);
    // MF_STRING alone also enables an item greyed before.
    ModifyMenuA(menu, IDM_SEND_TO_FILE, MF_BYCOMMAND | MF_STRING, IDM_SEND_TO_FILE, label.c_str());
    if (grayed) EnableMenuItem(menu, IDM_SEND_TO_FILE, MF_BYCOMMAND | MF_GRAYED);
}
