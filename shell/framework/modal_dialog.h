// Base of modal dialogs built from a template: bound at WM_INITDIALOG, one switch per class.
#pragma once

#include <windows.h>

class CModalDialog {
public:
    // parent null: the application's main window, if there is one, owns the dialog.
    explicit CModalDialog(UINT templateId, HWND parent = nullptr);
    virtual ~CModalDialog();
    CModalDialog(const CModalDialog&) = delete;
    CModalDialog& operator=(const CModalDialog&) = delete;

    // Runs the dialog until it ends; returns the value given to EndDialog,
    // or -1 when the dialog could not be created.
    INT_PTR DoModal();
    void EndDialog(INT_PTR result);

    HWND m_hWnd = nullptr;

protected:
    // Handles one message; returns TRUE when it was handled, FALSE to let the
    // dialog manager's default processing run (after this call returns).
    // The base ends the dialog on IDOK and IDCANCEL (OK, Escape, close box).
    virtual INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessageReportingErrors(UINT message, WPARAM wParam, LPARAM lParam);

    UINT m_nTemplateId;
    HWND m_hParent;
};
