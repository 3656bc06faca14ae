// Ids of Varno's resources and commands, kept by hand and grouped by range.
#pragma once

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// System menu commands: small ids below the standard SC_ commands.
#define IDM_HELP              1
#define IDM_TO_CLIPBOARD      2
#define IDM_CLEAR_BUFFER      3
#define IDM_CLIPBOARD_VIEWER  5
#define IDM_SEND_TO_FILE      6
#define IDM_SETTINGS          7

// Dialog templates. 102 and 131 are kept for the settings sheet's two pages.
#define IDD_HELP              100

// Icons.
#define IDI_VARNO             128

// Controls. 1005 to 1026 belong to the settings pages as well; ids are
// unique within a dialog, and the help text's edit control is 1026.
#define IDC_HELP_TEXT         1026

// Strings and commands in the high range.
#define IDS_APP_TITLE         57344  // the application title, "varno"
#define ID_APP_ABOUT          57664  // opens the help dialog
#define IDS_ABOUT_EDIT        61447  // the help text
#define IDS_HTML_START        61448  // the header of an HTML output file
