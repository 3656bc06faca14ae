// Test helpers: the application object, a clean registry, and a watcher for modal dialogs.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "capture_app.h"

// The one application object of the test process (the profile's home).
CCaptureApp& TestApp();

// Deletes Varno's settings key (HKLM) and application profile (HKCU).
void ResetRegistry();
// Creates the settings key holding only "iFileWrite" = method (one byte);
// the other values then load as their defaults.
void SeedFileWriteMethod(BYTE method);
// The profile's "Initialization"/"ClassName" entry, or "" when missing.
std::string StoredClassName();
void StoreClassName(const char* name);

// Runs action, which opens a modal dialog or message box on this thread.
// Every 10 ms each visible dialog window of the thread is given to
// inspect; when it returns true the watcher closes that window with IDOK.
// Returns false when some window was still open after timeoutMs (all are
// then closed) or when inspect was never satisfied.
bool WatchDialogs(const std::function<void()>& action,
                  const std::function<bool(HWND)>& inspect, DWORD timeoutMs = 10000);

// What a message box shows.
std::string WindowText(HWND window);
std::string MessageBoxText(HWND box);
HICON MessageBoxIcon(HWND box);
