// The report of a C++ exception that escapes a message handler.
#pragma once

#include <windows.h>

#include <exception>
#include <optional>

// Shows the error's description in a box with the stop icon, owned by the
// window whose handler failed. The program then goes on with its next message.
void ReportHandlerError(HWND window, const char* description);

// Runs one message handler. An exception that escapes it is reported with
// ReportHandlerError, and the result is empty: the handler did not finish.
template <typename Handler>
auto RunHandler(HWND window, Handler handler) -> std::optional<decltype(handler())> {
    try {
        return handler();
    } catch (const std::exception& error) {
        ReportHandlerError(window, error.what());
    } catch (...) {
        ReportHandlerError(window, "An unknown error occurred.");
    }
    return std::nullopt;
}
