// The help dialog: what Varno does and its system menu commands.
#pragma once

#include <string>

#include "modal_dialog.h"

class CHelpDialog : public CModalDialog {
public:
    CHelpDialog();

    // The text the dialog shows: IDS_ABOUT_EDIT, or a line saying it could
    // not be loaded, with line feeds made into CR LF for the edit control.
    static std::string DisplayText();

protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnShowWindow();
};

// The text with every "\n" replaced by "\r\n"; nothing else changes.
std::string ExpandLineFeeds(const std::string& text);
