// Dialog data exchange: member variables to a page's controls and back, with length checks.
#include "data_exchange.h"

#include <vector>

#include "application.h"

HWND CDataExchange::PrepareControl(int id) {
    m_hWndLastControl = GetDlgItem(m_hDialog, id);
    return m_hWndLastControl;
}

void CDataExchange::Fail() {
    m_bFailed = true;
    if (m_hWndLastControl == nullptr) return;
    // The user lands on the field to correct, its text selected.
    if (SendMessageA(m_hWndLastControl, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
        SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
    SetFocus(m_hWndLastControl);
}

void DDX_Check(CDataExchange& dx, int id, int& value) {
    if (dx.m_bFailed) return;
    HWND control = dx.PrepareControl(id);
    if (dx.m_bSaveAndValidate)
        value = SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
    else
        SendMessageA(control, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
}

void DDX_Text(CDataExchange& dx, int id, std::string& value) {
    if (dx.m_bFailed) return;
    HWND control = dx.PrepareControl(id);
    if (dx.m_bSaveAndValidate) {
        std::vector<char> text(static_cast<size_t>(GetWindowTextLengthA(control)) + 1, '\0');
        int length = GetWindowTextA(control, text.data(), static_cast<int>(text.size()));
        value.assign(text.data(), length > 0 ? static_cast<size_t>(length) : 0);
    } else {
        SetWindowTextA(control, value.c_str());
    }
}

void DDX_Radio(CDataExchange& dx, int id, int& value) {
    if (dx.m_bFailed) return;
    HWND control = dx.PrepareControl(id);
    if (dx.m_bSaveAndValidate) value = -1;
    int index = 0;
    for (HWND button = control; button != nullptr; button = GetWindow(button, GW_HWNDNEXT)) {
        if (button != control && (GetWindowLongA(button, GWL_STYLE) & WS_GROUP)) break;
        // Other controls inside the group (a label, say) are no choice.
        if (!(SendMessageA(button, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON)) continue;
        if (dx.m_bSaveAndValidate) {
            if (SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED) value = index;
        } else {
            SendMessageA(button, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        ++index;
    }
}

void DDV_MaxChars(CDataExchange& dx, const std::string& value, int maxChars) {
    if (dx.m_bFailed) return;
    if (!dx.m_bSaveAndValidate) {
        // Typing and pasting stop at the limit; only a text set otherwise can be longer.
        if (dx.m_hWndLastControl != nullptr)
            SendMessageA(dx.m_hWndLastControl, EM_LIMITTEXT, static_cast<WPARAM>(maxChars), 0);
        return;
    }
    if (value.size() <= static_cast<size_t>(maxChars)) return;

    std::string message = "Please enter no more than %1 characters.";
    message.replace(message.find("%1"), 2, std::to_string(maxChars));
    CApplication* app = CApplication::Current();
    HWND owner = dx.m_hDialog != nullptr ? GetAncestor(dx.m_hDialog, GA_ROOT) : nullptr;
    MessageBoxA(owner, message.c_str(), app != nullptr ? app->m_strAppName.c_str() : nullptr,
                MB_OK | MB_ICONEXCLAMATION);
    dx.Fail();
}
