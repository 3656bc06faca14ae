// Base of modal dialogs built from a template: bound at WM_INITDIALOG, one switch per class.
#include "modal_dialog.h"

#include <exception>

#include "application.h"
#include "frame_window.h"
#include "handler_error.h"

CModalDialog::CModalDialog(UINT templateId, HWND parent)
    : m_nTemplateId(templateId), m_hParent(parent) {}

CModalDialog::~CModalDialog() = default;

INT_PTR CModalDialog::DoModal() {
    HWND owner = m_hParent;
    CApplication* app = CApplication::Current();
    if (owner == nullptr && app != nullptr && app->m_pMainWnd != nullptr)
        owner = app->m_pMainWnd->m_hWnd;
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_nTemplateId), owner,
                           DialogProc, reinterpret_cast<LPARAM>(this));
}

void CModalDialog::EndDialog(INT_PTR result) { ::EndDialog(m_hWnd, result); }

INT_PTR CModalDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(LOWORD(wParam));
        return TRUE;
    }
    // WM_INITDIALOG: TRUE lets the dialog manager set the focus.
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

INT_PTR CModalDialog::HandleMessageReportingErrors(UINT message, WPARAM wParam, LPARAM lParam) {
    return RunHandler(m_hWnd, [&] { return HandleMessage(message, wParam, lParam); }).value_or(FALSE);
}

INT_PTR CALLBACK CModalDialog::DialogProc(HWND hWnd, UINT message, WPARAM wParam,
                                          LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<CModalDialog*>(lParam);
        self->m_hWnd = hWnd;
        SetWindowLongPtrA(hWnd, DWLP_USER, lParam);
    }
    auto* self = reinterpret_cast<CModalDialog*>(GetWindowLongPtrA(hWnd, DWLP_USER));
    if (self == nullptr) return FALSE;  // messages before WM_INITDIALOG
    INT_PTR result = self->HandleMessageReportingErrors(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hWnd, DWLP_USER, 0);
        self->m_hWnd = nullptr;
    }
    return result;
}
