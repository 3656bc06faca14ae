// The system's Open file dialog: one file name, chosen or typed by the user.
#pragma once

#include <windows.h>

#include <string>

class CFileDialog {
public:
    // flags: OFN_ flags for the dialog. parent null: the active window of
    // this thread owns the dialog (a sheet or dialog the user works in).
    explicit CFileDialog(DWORD flags, HWND parent = nullptr);

    // Runs the dialog: IDOK when the user chose a name, IDCANCEL otherwise.
    INT_PTR DoModal();
    // The full path chosen, after IDOK.
    std::string GetPathName() const;

private:
    DWORD m_dwFlags;
    HWND m_hParent;
    char m_szFileName[MAX_PATH] = "";  // 260 characters with the NUL
};
