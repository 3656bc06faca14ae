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

// Dialog templates. 102 and 131 are the settings sheet's two pages.
#define IDD_HELP              100
#define IDD_GENERAL           102
#define IDD_SEPARATORS        131

// Icons.
#define IDI_VARNO             128

// Controls. 1005 to 1026 belong to the settings pages as well; ids are
// unique within a dialog, and the help text's edit control is 1026.
#define IDC_HELP_TEXT         1026

// The Separators page.
#define IDC_TEXT_SEPARATOR    1005
#define IDC_HTML_SEPARATOR    1006
#define IDC_TEXT_LABEL        1025
#define IDC_HTML_LABEL        1026

// The General page.
#define IDC_ACTIVE            1007
#define IDC_SEPARATORS        1008
#define IDC_BROWSE            1009
#define IDC_OUTPUT_FILE       1010
#define IDC_HTML              1014
#define IDC_TEXT              1015
#define IDC_FILE_WRITE_METHOD 1020
#define IDC_APPEND_ON_THE_FLY 1021
#define IDC_APPEND_ON_COMMAND 1022
#define IDC_REPLACE_ON_COMMAND 1023
#define IDC_FREE_BUFFER       1024

// Strings and commands in the high range.
#define IDS_APP_TITLE         57344  // the application title, "varno"
#define ID_APP_ABOUT          57664  // opens the help dialog
#define IDS_ABOUT_EDIT        61447  // the help text
#define IDS_HTML_START        61448  // the header of an HTML output file
