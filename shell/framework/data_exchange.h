// Dialog data exchange: member variables to a page's controls and back, with length checks.
#pragma once

#include <windows.h>

#include <string>

// One exchange between a dialog's controls and its members, in one direction.
// After the first failed check every later call of the exchange does nothing,
// so an exchange stops at the first field the user must correct.
class CDataExchange {
public:
    CDataExchange(HWND dialog, bool saveAndValidate)
        : m_hDialog(dialog), m_bSaveAndValidate(saveAndValidate) {}

    // The control with this id, which later checks refer to.
    HWND PrepareControl(int id);
    // Ends the exchange unsuccessfully, with the focus on the last control.
    void Fail();

    HWND m_hDialog;
    bool m_bSaveAndValidate;  // true: from the controls to the members
    HWND m_hWndLastControl = nullptr;
    bool m_bFailed = false;
};

// A check box and an int: 1 checked, 0 not.
void DDX_Check(CDataExchange& dx, int id, int& value);
// A control's whole text and a string.
void DDX_Text(CDataExchange& dx, int id, std::string& value);
// A group of radio buttons and an int: the group is the button with this id
// and the radio buttons after it up to the next control that starts a group;
// the value is the index of the selected one, -1 when none is. Going to the
// controls, a value that is no button's index selects none.
void DDX_Radio(CDataExchange& dx, int id, int& value);
// Goes with the DDX_Text before it: the edit control takes at most maxChars
// characters; a longer text is refused with a message when it is read back.
void DDV_MaxChars(CDataExchange& dx, const std::string& value, int maxChars);
