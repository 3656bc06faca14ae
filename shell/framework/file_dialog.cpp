// The system's Open file dialog: one file name, chosen or typed by the user.
#include "file_dialog.h"

#include <commdlg.h>

CFileDialog::CFileDialog(DWORD flags, HWND parent) : m_dwFlags(flags), m_hParent(parent) {}

INT_PTR CFileDialog::DoModal() {
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = m_hParent != nullptr ? m_hParent : GetActiveWindow();
    ofn.lpstrFilter = nullptr;  // every file is listed
    ofn.lpstrFile = m_szFileName;
    ofn.nMaxFile = sizeof m_szFileName;
    ofn.Flags = m_dwFlags;
    return GetOpenFileNameA(&ofn) ? IDOK : IDCANCEL;
}

std::string CFileDialog::GetPathName() const { return m_szFileName; }
