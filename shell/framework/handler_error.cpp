// The report of a C++ exception that escapes a message handler.
#include "handler_error.h"

#include "application.h"

void ReportHandlerError(HWND window, const char* description) {
    CApplication* app = CApplication::Current();
    const char* caption = app != nullptr ? app->m_strAppName.c_str() : nullptr;
    HWND owner = IsWindow(window) ? window : nullptr;
    MessageBoxA(owner, description, caption, MB_OK | MB_ICONSTOP);
}
