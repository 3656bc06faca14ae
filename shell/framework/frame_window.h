// Base of top-level windows: one static window procedure, one HandleMessage switch per class.
#pragma once

#include <windows.h>

class CFrameWindow {
public:
    CFrameWindow();
    // Destroys the window if it still exists.
    virtual ~CFrameWindow();
    CFrameWindow(const CFrameWindow&) = delete;
    CFrameWindow& operator=(const CFrameWindow&) = delete;

    // Registers a window class served by this framework's window procedure,
    // unless one of that name is registered already. False on failure.
    static bool RegisterWindowClass(const char* className, UINT classStyle, HCURSOR cursor,
                                    HBRUSH background, HICON icon);

    // Creates the window; the object is bound to it from WM_NCCREATE on.
    // False when the window could not be created.
    bool Create(const char* className, const char* title, DWORD style, DWORD exStyle, int x,
                int y, int width, int height, HWND parent = nullptr, HMENU menu = nullptr);

    HWND m_hWnd = nullptr;

protected:
    // Handles one message. Derived classes switch on the message and send
    // what they do not handle to CFrameWindow::HandleMessage.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // The system's default processing of a message.
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

    // Called last, after the window is gone; a frame on the heap deletes
    // itself here. Not called when Create fails: the caller still owns the
    // object then.
    virtual void PostNcDestroy() {}

private:
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessageReportingErrors(UINT message, WPARAM wParam, LPARAM lParam);

    bool m_bCreated = false;
};
