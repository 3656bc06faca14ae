// The application object: one running Varno, and its main window shown minimized.
#include "capture_app.h"

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "capture_frame.h"
#include "help_dialog.h"
#include "resource.h"

BOOL CCaptureApp::InitInstance() {
    SetRegistryKey("Quorbanex");
    m_strProfileName = "Varno";

    // The running copy's window is found by the class name it recorded.
    std::string className = GetProfileString("Initialization", "ClassName");
    HWND running = className.empty() ? nullptr : FindWindowA(className.c_str(), nullptr);
    if (running != nullptr) {
        MessageBoxA(nullptr, "One Varno is already running...", m_strAppName.c_str(),
                    MB_OK | MB_ICONEXCLAMATION);
        SetForegroundWindow(running);
        return FALSE;
    }

    m_nCmdShow = SW_SHOWMINIMIZED;  // whatever the start asked for
    auto* frame = new CCaptureFrame;
    if (frame->m_hWnd == nullptr) {
        delete frame;
        MessageBoxA(nullptr, "Varno could not create its main window and ends.",
                    m_strAppName.c_str(), MB_OK | MB_ICONSTOP);
        return FALSE;
    }
    m_pMainWnd = frame;
    ShowWindow(frame->m_hWnd, m_nCmdShow);
    UpdateWindow(frame->m_hWnd);
    DragAcceptFiles(frame->m_hWnd, TRUE);
    return TRUE;
}

bool CCaptureApp::OnCommand(UINT id) {
    switch (id) {
    case ID_APP_ABOUT:
        OnAppAbout();
        return true;
    default:
        return CApplication::OnCommand(id);
    }
}

void CCaptureApp::OnAppAbout() {
    CHelpDialog dialog;
    dialog.DoModal();
}
