// Test helpers: the application object, a clean registry, and a watcher for modal dialogs.
#include "shell_test_support.h"

#include <vector>

namespace {

const char kSettingsKey[] = "SOFTWARE\\Quorbanex\\Varno";
const char kProfileKey[] = "Software\\Quorbanex\\Varno";
const char kProfileSection[] = "Software\\Quorbanex\\Varno\\Initialization";

struct Watch {
    std::function<bool(HWND)> inspect;
    DWORD deadline = 0;
    bool satisfied = false;
    bool timedOut = false;
};
Watch* g_watch = nullptr;

BOOL CALLBACK CollectDialog(HWND window, LPARAM list) {
    char className[16] = "";
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpA(className, "#32770") == 0 && IsWindowVisible(window))
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

void CALLBACK PollDialogs(HWND, UINT, UINT_PTR, DWORD) {
    if (g_watch == nullptr) return;
    std::vector<HWND> dialogs;
    EnumThreadWindows(GetCurrentThreadId(), CollectDialog, reinterpret_cast<LPARAM>(&dialogs));
    bool late = GetTickCount() > g_watch->deadline;
    for (HWND dialog : dialogs) {
        if (g_watch->inspect(dialog)) {
            g_watch->satisfied = true;
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        } else if (late) {
            g_watch->timedOut = true;
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        }
    }
}

}  // namespace

CCaptureApp& TestApp() {
    static CCaptureApp app;
    return app;
}

void ResetRegistry() {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kSettingsKey);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kSettingsKey);
    RegDeleteTreeA(HKEY_CURRENT_USER, kProfileKey);
    RegDeleteKeyA(HKEY_CURRENT_USER, kProfileKey);
}

void SeedFileWriteMethod(BYTE method) {
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                    nullptr);
    RegSetValueExA(key, "iFileWrite", 0, REG_BINARY, &method, 1);
    RegCloseKey(key);
}

std::string StoredClassName() {
    char value[256] = "";
    DWORD size = sizeof value;
    if (RegGetValueA(HKEY_CURRENT_USER, kProfileSection, "ClassName", RRF_RT_REG_SZ, nullptr, value,
                     &size) != ERROR_SUCCESS)
        return "";
    return value;
}

void StoreClassName(const char* name) {
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, kProfileSection, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                    &key, nullptr);
    RegSetValueExA(key, "ClassName", 0, REG_SZ, reinterpret_cast<const BYTE*>(name),
                   static_cast<DWORD>(lstrlenA(name) + 1));
    RegCloseKey(key);
}

bool WatchDialogs(const std::function<void()>& action, const std::function<bool(HWND)>& inspect,
                  DWORD timeoutMs) {
    Watch watch;
    watch.inspect = inspect;
    watch.deadline = GetTickCount() + timeoutMs;
    Watch* outer = g_watch;
    g_watch = &watch;
    UINT_PTR timer = SetTimer(nullptr, 0, 10, PollDialogs);
    action();
    KillTimer(nullptr, timer);
    g_watch = outer;
    return watch.satisfied && !watch.timedOut;
}

std::string WindowText(HWND window) {
    char text[4096] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string MessageBoxText(HWND box) {
    char text[4096] = "";
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    return text;
}

HICON MessageBoxIcon(HWND box) {
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            return reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
    }
    return nullptr;
}
