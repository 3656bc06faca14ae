// The report of a C++ exception that escapes a message handler.
#pragma once

#include <windows.h>

// Shows the error's description in a box with the stop icon, owned by the
// window whose handler failed. The program then goes on with its next message.
void ReportHandlerError(HWND window, const char* description);
