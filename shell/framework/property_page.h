// Base of property pages: bound through PROPSHEETPAGE.lParam, data exchanged on entering and leaving.
#pragma once

#include <windows.h>
#include <prsht.h>

#include <vector>

#include "data_exchange.h"

class CPropertySheet;

class CPropertyPage {
public:
    // The page's tab shows the caption of its dialog template. The page is
    // shown in the font of the system's property sheets, whatever font the
    // template names, so that it fits the room the sheet makes for it.
    explicit CPropertyPage(UINT templateId);
    virtual ~CPropertyPage();
    CPropertyPage(const CPropertyPage&) = delete;
    CPropertyPage& operator=(const CPropertyPage&) = delete;

    // Exchanges the page's data: from the controls to the members (true) or
    // back. False when a check refused a field; the user was told then.
    bool UpdateData(bool saveAndValidate);

    HWND m_hWnd = nullptr;  // from WM_INITDIALOG until the page is destroyed

protected:
    // The page's DDX_ and DDV_ calls, in their order.
    virtual void DoDataExchange(CDataExchange& dx);

    // Handles one message; returns TRUE when it was handled, FALSE to let the
    // dialog manager's default processing run. Derived classes switch on the
    // message and send what they do not handle here.
    virtual INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    friend class CPropertySheet;

    // What PropertySheetA needs to create the page.
    PROPSHEETPAGEA Describe();
    INT_PTR OnNotify(const NMHDR& header);

    static INT_PTR CALLBACK PageProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessageReportingErrors(UINT message, WPARAM wParam, LPARAM lParam);

    UINT m_nTemplateId;
    std::vector<WORD> m_template;  // the template as shown, in the sheet's font
    CPropertySheet* m_pSheet = nullptr;  // set by CPropertySheet::AddPage
};
