// Driver commands on Varno's settings sheet and its file dialog: pages, controls, OK and Cancel, a chosen name.
#include "driver.h"

#include <prsht.h>

namespace driver {

namespace {

const UINT kTimeoutMs = 3000;

HWND RequireWindow(const Args& args, size_t i) {
  HWND window = args.Window(i);
  if (!IsWindow(window)) throw Failure("no window " + args.Str(i));
  return window;
}

LRESULT Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam, const char* what) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kTimeoutMs, &result)) {
    throw Failure(LastErrorText(what));
  }
  return static_cast<LRESULT>(result);
}

void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!PostMessageA(window, message, wParam, lParam)) throw Failure(LastErrorText("PostMessage"));
}

std::string TextOf(HWND window) {
  LRESULT length = Ask(window, WM_GETTEXTLENGTH, 0, 0, "WM_GETTEXTLENGTH");
  std::string text(static_cast<size_t>(length) + 1, '\0');
  LRESULT copied = Ask(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]), "WM_GETTEXT");
  text.resize(static_cast<size_t>(copied));
  return text;
}

std::string ClassOf(HWND window) {
  char name[64] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

BOOL CALLBACK CollectControl(HWND control, LPARAM param) {
  auto* fields = reinterpret_cast<Fields*>(param);
  bool button = lstrcmpiA(ClassOf(control).c_str(), "Button") == 0;
  fields->push_back(Num(static_cast<long long>(GetDlgCtrlID(control))));
  fields->push_back(button ? Num(static_cast<long long>(Ask(control, BM_GETCHECK, 0, 0, "BM_GETCHECK"))) : "-1");
  fields->push_back(TextOf(control));
  return TRUE;
}

}  // namespace

void AddSheetCommands(CommandTable& table) {
  // sheet_page SHEET -> INDEX PAGE   the active page's index and window
  table["sheet_page"] = {1, [](const Args& a) {
    HWND sheet = RequireWindow(a, 0);
    auto page = reinterpret_cast<HWND>(Ask(sheet, PSM_GETCURRENTPAGEHWND, 0, 0, "PSM_GETCURRENTPAGEHWND"));
    LRESULT index = page ? Ask(sheet, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(page), 0, "PSM_HWNDTOINDEX") : -1;
    return Fields{Num(static_cast<long long>(index)), Num(page)};
  }};
  // sheet_select SHEET INDEX: posted, since leaving a page may show a message box
  table["sheet_select"] = {2, [](const Args& a) {
    Post(RequireWindow(a, 0), PSM_SETCURSEL, static_cast<WPARAM>(a.Int(1)), 0);
    return Fields{};
  }};
  // sheet_press SHEET BUTTON: PSBTN_OK 3, PSBTN_CANCEL 5; posted for the same reason
  table["sheet_press"] = {2, [](const Args& a) {
    Post(RequireWindow(a, 0), PSM_PRESSBUTTON, static_cast<WPARAM>(a.Int(1)), 0);
    return Fields{};
  }};
  // page_state PAGE -> (ID CHECK TEXT)...   every control in template order; CHECK is BM_GETCHECK, -1 for a
  // control that is no button
  table["page_state"] = {1, [](const Args& a) {
    Fields fields;
    EnumChildWindows(RequireWindow(a, 0), CollectControl, reinterpret_cast<LPARAM>(&fields));
    return fields;
  }};
  // click PAGE ID: a check box or radio button clicked as the mouse would, and done when the reply comes
  table["click"] = {2, [](const Args& a) {
    HWND control = GetDlgItem(RequireWindow(a, 0), static_cast<int>(a.Int(1)));
    if (!control) throw Failure("no control " + a.Str(1));
    Ask(control, BM_CLICK, 0, 0, "BM_CLICK");
    return Fields{};
  }};
  // file_dialog_choose DIALOG NAME: types NAME as the file name of an Open dialog and presses its OK button
  table["file_dialog_choose"] = {2, [](const Args& a) {
    HWND dialog = RequireWindow(a, 0);
    // The explorer-style dialog names the file in edt1 or, on newer systems, in the combo box cmb13.
    HWND name = GetDlgItem(dialog, 0x480);
    if (!name) {
      HWND combo = GetDlgItem(dialog, 0x47C);
      name = combo ? FindWindowExA(combo, nullptr, "Edit", nullptr) : nullptr;
      if (!name) name = combo;
    }
    if (!name) throw Failure("no file name field in the dialog");
    Ask(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(a.Str(1).c_str()), "WM_SETTEXT");
    Post(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    return Fields{};
  }};
}

}  // namespace driver
