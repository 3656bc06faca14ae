// The settings sheet "Varno Settings": the General and Separators pages.
#include "settings_sheet.h"

#include <commdlg.h>

#include "file_dialog.h"
#include "resource.h"

Cpp1::Cpp1() : CPropertyPage(IDD_GENERAL) {}

void Cpp1::DoDataExchange(CDataExchange& dx) {
    DDX_Check(dx, IDC_SEPARATORS, m_bSeparators);
    DDX_Text(dx, IDC_OUTPUT_FILE, m_strPath);
    DDV_MaxChars(dx, m_strPath, 250);  // the store keeps at most 255
    DDX_Check(dx, IDC_ACTIVE, m_bActive);
    DDX_Radio(dx, IDC_APPEND_ON_THE_FLY, m_nWriteMethod);
    DDX_Text(dx, IDC_FREE_BUFFER, m_strFreeBuffer);
    DDX_Radio(dx, IDC_TEXT, m_nFormat);
}

INT_PTR Cpp1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_BROWSE && HIWORD(wParam) == BN_CLICKED) {
            OnBrowse();
            return TRUE;
        }
        return CPropertyPage::HandleMessage(message, wParam, lParam);
    default:
        return CPropertyPage::HandleMessage(message, wParam, lParam);
    }
}

void Cpp1::OnBrowse() {
    // No OFN_FILEMUSTEXIST: the output file may not exist yet.
    CFileDialog dialog(OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
    if (dialog.DoModal() != IDOK) return;
    // Not checked against the limit here: leaving the page or OK refuses a
    // path that is too long.
    m_strPath = dialog.GetPathName();
    SetWindowTextA(GetDlgItem(m_hWnd, IDC_OUTPUT_FILE), m_strPath.c_str());
}

Cpp2::Cpp2() : CPropertyPage(IDD_SEPARATORS) {}

void Cpp2::DoDataExchange(CDataExchange& dx) {
    // The store keeps at most 1026 characters of a separator.
    DDX_Text(dx, IDC_TEXT_SEPARATOR, m_strTextSeparator);
    DDV_MaxChars(dx, m_strTextSeparator, 1024);
    DDX_Text(dx, IDC_HTML_SEPARATOR, m_strHtmlSeparator);
    DDV_MaxChars(dx, m_strHtmlSeparator, 1024);
}

CallControlsSheet::CallControlsSheet(const char* caption, HWND parent, UINT selectPage)
    : CPropertySheet(caption, parent, selectPage) {
    m_hIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_VARNO));
    m_psh.dwFlags |= PSH_USEHICON | PSH_NOAPPLYNOW;
    m_psh.hIcon = m_hIcon;
    AddPage(&m_pageGeneral);
    AddPage(&m_pageSeparators);
}

LRESULT CallControlsSheet::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_QUERYDRAGICON:
        return reinterpret_cast<LRESULT>(OnQueryDragIcon());
    default:
        return CPropertySheet::HandleMessage(message, wParam, lParam);
    }
}

HICON CallControlsSheet::OnQueryDragIcon() { return m_hIcon; }
