// Driver commands on windows of other processes: finding them, their texts, geometry and state, and messages to them.
#include "driver.h"

namespace driver {

namespace {

const UINT kTimeoutMs = 3000;  // a window that answers no message within this is treated as hung

std::string ClassOf(HWND window) {
  char name[256] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

DWORD ProcessOf(HWND window) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  return pid;
}

HWND RequireWindow(const Args& args, size_t i) {
  HWND window = args.Window(i);
  if (!IsWindow(window)) throw Failure("no window " + args.Str(i));
  return window;
}

// The text a control holds, asked through WM_GETTEXT (an edit control of another process keeps its text
// where GetWindowText cannot see it).
std::string TextOf(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kTimeoutMs, &length)) {
    throw Failure(LastErrorText("WM_GETTEXTLENGTH"));
  }
  std::string text(length + 1, '\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]), SMTO_ABORTIFHUNG,
                           kTimeoutMs, &copied)) {
    throw Failure(LastErrorText("WM_GETTEXT"));
  }
  text.resize(copied);
  return text;
}

std::string CaptionOf(HWND window) {
  char text[1024] = "";
  int length = GetWindowTextA(window, text, sizeof text);
  return std::string(text, length > 0 ? length : 0);
}

struct TopWindowSearch {
  DWORD pid;
  Fields* fields;
};

BOOL CALLBACK CollectTopWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<TopWindowSearch*>(param);
  DWORD pid = ProcessOf(window);
  if (search->pid != 0 && pid != search->pid) return TRUE;
  if (search->pid == 0 && pid == GetCurrentProcessId()) return TRUE;
  search->fields->push_back(Num(window));
  search->fields->push_back(Num(static_cast<long long>(pid)));
  search->fields->push_back(ClassOf(window));
  search->fields->push_back(IsWindowVisible(window) ? "1" : "0");
  search->fields->push_back(CaptionOf(window));
  return TRUE;
}

BOOL CALLBACK CollectChild(HWND child, LPARAM param) {
  auto* fields = reinterpret_cast<Fields*>(param);
  fields->push_back(Num(child));
  fields->push_back(Num(static_cast<long long>(static_cast<unsigned>(GetDlgCtrlID(child)))));
  fields->push_back(ClassOf(child));
  fields->push_back(Num(static_cast<long long>(static_cast<DWORD>(GetWindowLongA(child, GWL_STYLE)))));
  fields->push_back(TextOf(child));
  return TRUE;
}

struct OwnBox {
  std::string caption;
  std::string text;
  UINT style;
};

DWORD WINAPI ShowOwnBox(void* param) {
  OwnBox* box = static_cast<OwnBox*>(param);
  MessageBoxA(nullptr, box->text.c_str(), box->caption.c_str(), box->style);
  delete box;
  return 0;
}

}  // namespace

void AddWindowCommands(CommandTable& table) {
  // find_window CLASS [TITLE] -> HWND PID   (0 0 when there is none)
  table["find_window"] = {1, [](const Args& a) {
    const char* title = a.Count() > 1 ? a.Str(1).c_str() : nullptr;
    HWND window = FindWindowA(a.Str(0).c_str(), title);
    return Fields{Num(window), Num(static_cast<long long>(window ? ProcessOf(window) : 0))};
  }};
  // top_windows PID -> (HWND PID CLASS VISIBLE CAPTION)...   PID 0: every process but the driver's
  table["top_windows"] = {1, [](const Args& a) {
    Fields fields;
    TopWindowSearch search = {static_cast<DWORD>(a.Int(0)), &fields};
    EnumWindows(CollectTopWindow, reinterpret_cast<LPARAM>(&search));
    return fields;
  }};
  // children HWND -> (HWND ID CLASS STYLE TEXT)...   all descendants, in Z order
  table["children"] = {1, [](const Args& a) {
    Fields fields;
    EnumChildWindows(RequireWindow(a, 0), CollectChild, reinterpret_cast<LPARAM>(&fields));
    return fields;
  }};
  // item HWND ID -> HWND of the dialog control (0 when missing)
  table["item"] = {2, [](const Args& a) {
    return Fields{Num(GetDlgItem(RequireWindow(a, 0), static_cast<int>(a.Int(1))))};
  }};
  table["caption"] = {1, [](const Args& a) { return Fields{CaptionOf(RequireWindow(a, 0))}; }};
  table["text"] = {1, [](const Args& a) { return Fields{TextOf(RequireWindow(a, 0))}; }};
  // set_text HWND TEXT -> RESULT of WM_SETTEXT
  table["set_text"] = {2, [](const Args& a) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(RequireWindow(a, 0), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(a.Str(1).c_str()),
                             SMTO_ABORTIFHUNG, kTimeoutMs, &result)) {
      throw Failure(LastErrorText("WM_SETTEXT"));
    }
    return Fields{Num(static_cast<long long>(result))};
  }};
  // post HWND MSG WPARAM LPARAM: for anything that may open a modal loop in the target
  table["post"] = {4, [](const Args& a) {
    if (!PostMessageA(RequireWindow(a, 0), static_cast<UINT>(a.Int(1)), static_cast<WPARAM>(a.Int(2)),
                      static_cast<LPARAM>(a.Int(3)))) {
      throw Failure(LastErrorText("PostMessage"));
    }
    return Fields{};
  }};
  // send HWND MSG WPARAM LPARAM -> RESULT   (only messages whose parameters are plain numbers)
  table["send"] = {4, [](const Args& a) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(RequireWindow(a, 0), static_cast<UINT>(a.Int(1)), static_cast<WPARAM>(a.Int(2)),
                             static_cast<LPARAM>(a.Int(3)), SMTO_ABORTIFHUNG, kTimeoutMs, &result)) {
      throw Failure(LastErrorText("SendMessage"));
    }
    return Fields{Num(static_cast<long long>(static_cast<LONG_PTR>(result)))};
  }};
  // info HWND -> EXISTS VISIBLE ICONIC LEFT TOP RIGHT BOTTOM STYLE EXSTYLE NLEFT NTOP NRIGHT NBOTTOM PID
  // (N...: the restored rectangle from the window placement, also known while minimized)
  table["info"] = {1, [](const Args& a) {
    HWND window = a.Window(0);
    if (!IsWindow(window)) return Fields{"0"};
    RECT rect = {};
    GetWindowRect(window, &rect);
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    GetWindowPlacement(window, &placement);
    const RECT& normal = placement.rcNormalPosition;
    return Fields{"1",
                  IsWindowVisible(window) ? "1" : "0",
                  IsIconic(window) ? "1" : "0",
                  Num(rect.left), Num(rect.top), Num(rect.right), Num(rect.bottom),
                  Num(static_cast<long long>(static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)))),
                  Num(static_cast<long long>(static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE)))),
                  Num(normal.left), Num(normal.top), Num(normal.right), Num(normal.bottom),
                  Num(static_cast<long long>(ProcessOf(window)))};
  }};
  // show HWND SW_CODE: asynchronous, so a busy target cannot block the driver
  table["show"] = {2, [](const Args& a) {
    ShowWindowAsync(RequireWindow(a, 0), static_cast<int>(a.Int(1)));
    return Fields{};
  }};
  // update HWND: returns once the window and its controls have painted what they had to paint
  table["update"] = {1, [](const Args& a) {
    RedrawWindow(RequireWindow(a, 0), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    return Fields{};
  }};
  table["foreground"] = {0, [](const Args&) {
    HWND window = GetForegroundWindow();
    return Fields{Num(window), Num(static_cast<long long>(window ? ProcessOf(window) : 0))};
  }};
  // process_alive PID -> 1 while the Windows process runs
  table["process_alive"] = {1, [](const Args& a) {
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(a.Int(0)));
    if (!process) return Fields{"0"};
    bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return Fields{running ? "1" : "0"};
  }};
  // kill_process PID: ends a process at once (a leftover of a test that failed)
  table["kill_process"] = {1, [](const Args& a) {
    HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, static_cast<DWORD>(a.Int(0)));
    if (!process) throw Failure(LastErrorText("OpenProcess"));
    BOOL ended = TerminateProcess(process, 1);
    CloseHandle(process);
    if (!ended) throw Failure(LastErrorText("TerminateProcess"));
    return Fields{};
  }};
  table["pid"] = {0, [](const Args&) { return Fields{Num(static_cast<long long>(GetCurrentProcessId()))}; }};
  // own_box CAPTION TEXT STYLE: a message box of the driver's own (on a thread of its own), to check the
  // harness's box handling against known boxes.
  table["own_box"] = {3, [](const Args& a) {
    auto* box = new OwnBox{a.Str(0), a.Str(1), static_cast<UINT>(a.Int(2))};
    HANDLE thread = CreateThread(nullptr, 0, ShowOwnBox, box, 0, nullptr);
    if (!thread) {
      delete box;
      throw Failure(LastErrorText("CreateThread"));
    }
    CloseHandle(thread);
    return Fields{Num(static_cast<long long>(GetCurrentProcessId()))};
  }};
}

}  // namespace driver
