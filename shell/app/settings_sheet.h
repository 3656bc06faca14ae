// The settings sheet "Varno Settings": the General and Separators pages.
#pragma once

#include <windows.h>

#include <string>

#include "property_page.h"
#include "property_sheet.h"

// General: capture, separators, format, file write method, output file and
// the free space of the buffer.
class Cpp1 : public CPropertyPage {
public:
    Cpp1();

    int m_bSeparators = 0;
    std::string m_strPath;
    int m_bActive = 0;
    int m_nWriteMethod = -1;  // a FileWriteMethod, -1 when no button is selected
    std::string m_strFreeBuffer;
    int m_nFormat = -1;  // 0 Text, 1 HTML

protected:
    void DoDataExchange(CDataExchange& dx) override;
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnBrowse();
};

// Separators: the text and the HTML separator texts.
class Cpp2 : public CPropertyPage {
public:
    Cpp2();

    std::string m_strTextSeparator = "---";
    std::string m_strHtmlSeparator;

protected:
    void DoDataExchange(CDataExchange& dx) override;
};

class CallControlsSheet : public CPropertySheet {
public:
    // The sheet shows the program's icon, OK and Cancel, and no Apply button.
    explicit CallControlsSheet(const char* caption, HWND parent = nullptr, UINT selectPage = 0);

    Cpp1 m_pageGeneral;
    Cpp2 m_pageSeparators;
    HICON m_hIcon;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    HICON OnQueryDragIcon();
};
