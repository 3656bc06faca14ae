// Base of modal property sheets: pages from templates, OK and Cancel, the sheet window subclassed.
#pragma once

#include <windows.h>
#include <prsht.h>

#include <string>
#include <vector>

class CPropertyPage;

class CPropertySheet {
public:
    // parent null: the application's main window, if there is one, owns the sheet.
    explicit CPropertySheet(const char* caption, HWND parent = nullptr, UINT selectPage = 0);
    virtual ~CPropertySheet();
    CPropertySheet(const CPropertySheet&) = delete;
    CPropertySheet& operator=(const CPropertySheet&) = delete;

    // Pages appear in the order they are added; the sheet does not own them.
    void AddPage(CPropertyPage* page);

    // Runs the sheet until it closes. IDOK when it closed with OK (the active
    // page's data taken in), IDCANCEL for Cancel, Escape or the close box, -1
    // when it could not be created.
    INT_PTR DoModal();

    // The header PropertySheetA receives; derived classes may add flags
    // (PSH_USEHICON with hIcon, PSH_NOAPPLYNOW). Pages, caption, owner and
    // start page are filled in by DoModal.
    PROPSHEETHEADERA m_psh = {};
    HWND m_hWnd = nullptr;  // while the sheet is open

protected:
    // Messages of the sheet window itself. Derived classes switch on the
    // message and send what they do not handle here (the system's sheet).
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    friend class CPropertyPage;

    // The sheet's own window is created by the system; the first page to be
    // created hands it over, and the sheet subclasses it.
    void Attach(HWND sheet);
    static LRESULT CALLBACK SheetProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR subclassId, DWORD_PTR refData);
    LRESULT HandleMessageReportingErrors(UINT message, WPARAM wParam, LPARAM lParam);

    std::string m_strCaption;
    HWND m_hParent;
    std::vector<CPropertyPage*> m_pages;
    bool m_bApplied = false;  // a page received PSN_APPLY: the user pressed OK
};
