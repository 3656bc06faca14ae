// Driver commands on files: another program that holds a file open without sharing, to provoke sharing violations.
#include "driver.h"

namespace driver {

namespace {

std::map<long long, HANDLE> g_heldFiles;
long long g_nextHold = 1;

}  // namespace

void AddFileCommands(CommandTable& table) {
  // hold PATH -> ID: opens (or creates) the file for reading and writing, shared with nobody, until release ID
  table["hold"] = {1, [](const Args& a) {
    HANDLE file = CreateFileA(a.Str(0).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw Failure(LastErrorText("CreateFile"));
    long long id = g_nextHold++;
    g_heldFiles[id] = file;
    return Fields{Num(id)};
  }};
  table["release"] = {1, [](const Args& a) {
    auto held = g_heldFiles.find(a.Int(0));
    if (held == g_heldFiles.end()) throw Failure("no held file " + a.Str(0));
    CloseHandle(held->second);
    g_heldFiles.erase(held);
    return Fields{};
  }};
}

}  // namespace driver
