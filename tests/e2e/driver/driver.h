// The end-to-end driver's command table and the helpers every command file shares.
//
// Protocol: one request per line on stdin, one reply per line on stdout.
//   request:  NAME ARG ARG ...
//   reply:    ok FIELD FIELD ...   or   err MESSAGE
// Arguments and fields are separated by single spaces. Each is escaped so that any bytes survive:
// a byte outside '!'..'~', and '%' and '~' themselves, is written %XX (two hex digits); the empty string is "~".
// Numbers (window handles, ids, pids, messages) are decimal; an argument that is a number may also be 0x-hex.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace driver {

// A command fails by throwing; the loop turns the message into an "err" reply.
struct Failure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

std::string Escape(const std::string& bytes);
std::string Unescape(const std::string& field);

// The unescaped arguments of one request, with typed access that fails cleanly.
class Args {
 public:
  explicit Args(std::vector<std::string> values) : values_(std::move(values)) {}
  size_t Count() const { return values_.size(); }
  const std::string& Str(size_t i) const;
  long long Int(size_t i) const;
  HWND Window(size_t i) const { return reinterpret_cast<HWND>(static_cast<intptr_t>(Int(i))); }

 private:
  std::vector<std::string> values_;
};

using Fields = std::vector<std::string>;

struct Command {
  size_t minArgs;
  std::function<Fields(const Args&)> run;
};
using CommandTable = std::map<std::string, Command>;

// Each command file adds its commands here.
void AddWindowCommands(CommandTable& table);
void AddClipboardCommands(CommandTable& table);
void AddRegistryCommands(CommandTable& table);
void AddFileCommands(CommandTable& table);
void AddScreenCommands(CommandTable& table);
void AddViewerCommands(CommandTable& table);
void AddSheetCommands(CommandTable& table);

// The driver's own hidden window (clipboard owner; later a clipboard viewer of its own).
HWND DriverWindow();

// Dispatches pending window messages for up to `ms` milliseconds, so the driver stays a well-behaved
// window owner (the clipboard chain and broadcasts send to it) while a command waits.
void PumpMessages(DWORD ms);

std::string Num(long long value);
std::string Num(HWND window);
std::string LastErrorText(const char* what);

}  // namespace driver
