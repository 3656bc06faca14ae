// The Settings... command: the settings sheet, applied when it closes with OK.
#include "capture_frame.h"
#include "settings_sheet.h"

void CCaptureFrame::OnSettings() {
    CallControlsSheet sheet("Varno Settings", nullptr, 0);

    // Computed once: captures made while the sheet is open do not change it.
    char freeSpace[32];
    wsprintfA(freeSpace, "Free Buffer = %ld bytes", static_cast<long>(FreeSpace()));
    sheet.m_pageGeneral.m_strFreeBuffer = freeSpace;

    sheet.m_pageGeneral.m_bSeparators = m_fSepar;
    sheet.m_pageGeneral.m_bActive = m_fActive;
    sheet.m_pageGeneral.m_nFormat = m_fHtml ? 1 : 0;
    sheet.m_pageGeneral.m_strPath = m_strOutputFile;
    sheet.m_pageGeneral.m_nWriteMethod = m_iFileWrite;
    sheet.m_pageSeparators.m_strTextSeparator = m_strTextSep;
    sheet.m_pageSeparators.m_strHtmlSeparator = m_strHtmlSep;

    // Cancel, Escape and the close box discard whatever the pages hold.
    if (sheet.DoModal() != IDOK) return;

    varno::SheetSettings settings;
    settings.active = sheet.m_pageGeneral.m_bActive;
    settings.separators = sheet.m_pageGeneral.m_bSeparators;
    settings.format = sheet.m_pageGeneral.m_nFormat;
    settings.writeMethod = sheet.m_pageGeneral.m_nWriteMethod;
    settings.path = sheet.m_pageGeneral.m_strPath;
    settings.textSeparator = sheet.m_pageSeparators.m_strTextSeparator;
    settings.htmlSeparator = sheet.m_pageSeparators.m_strHtmlSeparator;
    ApplySheetSettings(settings);
}
