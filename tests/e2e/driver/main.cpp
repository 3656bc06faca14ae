// varno_driver.exe: acts on Varno from outside, as a user or another program would, one command per stdin line.
// The main thread owns a hidden window and keeps dispatching messages; a reader thread hands it the lines.
#include "driver.h"

#include <cstdio>
#include <cstdlib>

namespace driver {

namespace {

HWND g_window = nullptr;
HANDLE g_lineReady = nullptr;  // set by the reader when g_line holds a new line (or g_eof is set)
HANDLE g_lineTaken = nullptr;  // set by the main thread once it has copied g_line
std::string g_line;
bool g_eof = false;

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

DWORD WINAPI ReadLines(void*) {
  HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
  std::string line;
  char chunk[4096];
  DWORD got = 0;
  for (;;) {
    if (!ReadFile(in, chunk, sizeof chunk, &got, nullptr) || got == 0) break;
    for (DWORD i = 0; i < got; ++i) {
      if (chunk[i] == '\n') {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        g_line = line;
        line.clear();
        SetEvent(g_lineReady);
        WaitForSingleObject(g_lineTaken, INFINITE);
      } else {
        line += chunk[i];
      }
    }
  }
  g_eof = true;
  SetEvent(g_lineReady);
  return 0;
}

void WriteLine(const std::string& line) {
  std::string out = line + "\n";
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), out.data(), static_cast<DWORD>(out.size()), &written, nullptr);
}

std::vector<std::string> SplitFields(const std::string& line) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= line.size()) {
    size_t space = line.find(' ', start);
    if (space == std::string::npos) space = line.size();
    if (space > start) parts.push_back(line.substr(start, space - start));
    start = space + 1;
  }
  return parts;
}

std::string Execute(const CommandTable& table, const std::string& line) {
  std::vector<std::string> parts = SplitFields(line);
  if (parts.empty()) return "err " + Escape("empty request");
  auto found = table.find(parts[0]);
  if (found == table.end()) return "err " + Escape("unknown command " + parts[0]);
  try {
    std::vector<std::string> values;
    for (size_t i = 1; i < parts.size(); ++i) values.push_back(Unescape(parts[i]));
    if (values.size() < found->second.minArgs) {
      throw Failure(parts[0] + " needs " + Num(static_cast<long long>(found->second.minArgs)) + " arguments");
    }
    Fields fields = found->second.run(Args(values));
    std::string reply = "ok";
    for (const std::string& field : fields) reply += " " + Escape(field);
    return reply;
  } catch (const std::exception& error) {
    return "err " + Escape(error.what());
  }
}

LRESULT CALLBACK DriverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

std::string Escape(const std::string& bytes) {
  if (bytes.empty()) return "~";
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) {
    if (c >= '!' && c <= '~' && c != '%' && c != '~') {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

std::string Unescape(const std::string& field) {
  if (field == "~") return std::string();
  std::string out;
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '%') {
      int high = i + 2 < field.size() ? HexDigit(field[i + 1]) : -1;
      int low = i + 2 < field.size() ? HexDigit(field[i + 2]) : -1;
      if (high < 0 || low < 0) throw Failure("bad escape in " + field);
      out += static_cast<char>(high * 16 + low);
      i += 2;
    } else {
      out += field[i];
    }
  }
  return out;
}

const std::string& Args::Str(size_t i) const {
  if (i >= values_.size()) throw Failure("missing argument " + Num(static_cast<long long>(i + 1)));
  return values_[i];
}

long long Args::Int(size_t i) const {
  const std::string& text = Str(i);
  char* end = nullptr;
  long long value = std::strtoll(text.c_str(), &end, 0);
  if (text.empty() || *end != '\0') throw Failure("not a number: " + text);
  return value;
}

std::string Num(long long value) { return std::to_string(value); }
std::string Num(HWND window) { return std::to_string(reinterpret_cast<intptr_t>(window)); }

std::string LastErrorText(const char* what) {
  DWORD code = GetLastError();
  char text[512] = "";
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text, sizeof text,
                 nullptr);
  std::string message = std::string(what) + " failed: error " + std::to_string(code) + " " + text;
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) message.pop_back();
  return message;
}

HWND DriverWindow() { return g_window; }

void PumpMessages(DWORD ms) {
  DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    DWORD spent = GetTickCount() - start;
    if (spent >= ms) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - spent, QS_ALLINPUT);
  }
}

}  // namespace driver

int main() {
  using namespace driver;
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = DriverWindowProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "VarnoE2EDriver";
  RegisterClassA(&windowClass);
  g_window = CreateWindowExA(0, windowClass.lpszClassName, "varno e2e driver", WS_POPUP, 0, 0, 1, 1, HWND_MESSAGE,
                             nullptr, windowClass.hInstance, nullptr);

  CommandTable table;
  AddWindowCommands(table);
  AddClipboardCommands(table);
  AddRegistryCommands(table);
  AddFileCommands(table);
  AddScreenCommands(table);
  AddViewerCommands(table);
  AddSheetCommands(table);
  table["ping"] = {0, [](const Args&) { return Fields{"pong"}; }};

  g_lineReady = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  g_lineTaken = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  CreateThread(nullptr, 0, ReadLines, nullptr, 0, nullptr);

  for (;;) {
    DWORD woke = MsgWaitForMultipleObjects(1, &g_lineReady, FALSE, INFINITE, QS_ALLINPUT);
    if (woke == WAIT_OBJECT_0) {
      if (g_eof) break;
      std::string line = g_line;
      SetEvent(g_lineTaken);
      if (line == "quit") {
        WriteLine("ok");
        break;
      }
      WriteLine(Execute(table, line));
    } else {
      PumpMessages(0);
    }
  }
  DestroyWindow(g_window);
  return 0;
}
