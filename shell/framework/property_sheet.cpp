// Base of modal property sheets: pages from templates, OK and Cancel, the sheet window subclassed.
#include "property_sheet.h"

#include <commctrl.h>

#include <exception>

#include "application.h"
#include "frame_window.h"
#include "handler_error.h"
#include "property_page.h"

CPropertySheet::CPropertySheet(const char* caption, HWND parent, UINT selectPage)
    : m_strCaption(caption != nullptr ? caption : ""), m_hParent(parent) {
    m_psh.dwSize = sizeof m_psh;
    m_psh.nStartPage = selectPage;
}

CPropertySheet::~CPropertySheet() = default;

void CPropertySheet::AddPage(CPropertyPage* page) {
    page->m_pSheet = this;
    m_pages.push_back(page);
}

INT_PTR CPropertySheet::DoModal() {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);

    std::vector<PROPSHEETPAGEA> pages;
    for (CPropertyPage* page : m_pages) pages.push_back(page->Describe());

    HWND owner = m_hParent;
    CApplication* app = CApplication::Current();
    if (owner == nullptr && app != nullptr && app->m_pMainWnd != nullptr)
        owner = app->m_pMainWnd->m_hWnd;

    PROPSHEETHEADERA header = m_psh;
    header.dwSize = sizeof header;
    header.dwFlags = (m_psh.dwFlags | PSH_PROPSHEETPAGE) & ~PSH_MODELESS;
    header.hwndParent = owner;
    header.hInstance = GetModuleHandleA(nullptr);
    header.pszCaption = m_strCaption.c_str();
    header.nPages = static_cast<UINT>(pages.size());
    header.ppsp = pages.data();

    m_bApplied = false;
    INT_PTR result = PropertySheetA(&header);
    m_hWnd = nullptr;
    if (result < 0) return -1;
    // The sheet's own result says "changes saved" in ways that differ between
    // systems; that a page received PSN_APPLY is what OK means here.
    return m_bApplied ? IDOK : IDCANCEL;
}

void CPropertySheet::Attach(HWND sheet) {
    if (m_hWnd != nullptr || sheet == nullptr) return;
    if (SetWindowSubclass(sheet, SheetProc, 0, reinterpret_cast<DWORD_PTR>(this))) m_hWnd = sheet;
}

LRESULT CPropertySheet::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefSubclassProc(m_hWnd, message, wParam, lParam);
}

LRESULT CPropertySheet::HandleMessageReportingErrors(UINT message, WPARAM wParam, LPARAM lParam) {
    return RunHandler(m_hWnd, [&] { return HandleMessage(message, wParam, lParam); }).value_or(0);
}

LRESULT CALLBACK CPropertySheet::SheetProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR, DWORD_PTR refData) {
    auto* self = reinterpret_cast<CPropertySheet*>(refData);
    if (message != WM_NCDESTROY) return self->HandleMessageReportingErrors(message, wParam, lParam);
    // The last message: the sheet window goes, the object stays for the caller.
    RemoveWindowSubclass(hWnd, SheetProc, 0);
    self->m_hWnd = nullptr;
    return DefSubclassProc(hWnd, message, wParam, lParam);
}
