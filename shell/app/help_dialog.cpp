// The help dialog: what Varno does and its system menu commands.
#include "help_dialog.h"

#include "resource.h"
#include "resource_string.h"

CHelpDialog::CHelpDialog() : CModalDialog(IDD_HELP) {}

std::string ExpandLineFeeds(const std::string& text) {
    std::string result;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        result.append(text, start, end - start);
        result += "\r\n";
    }
    result.append(text, start, std::string::npos);
    return result;
}

std::string CHelpDialog::DisplayText() {
    std::string text;
    if (!LoadResourceString(IDS_ABOUT_EDIT, text)) text = "Error loading IDS_ABOUT_EDIT";
    return ExpandLineFeeds(text);
}

INT_PTR CHelpDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SHOWWINDOW:
        OnShowWindow();
        return FALSE;  // the dialog manager's default processing runs as well
    default:
        return CModalDialog::HandleMessage(message, wParam, lParam);
    }
}

void CHelpDialog::OnShowWindow() {
    // Set anew on every notice, shown or hidden, so nothing accumulates.
    SetDlgItemTextA(m_hWnd, IDC_HELP_TEXT, DisplayText().c_str());
}
