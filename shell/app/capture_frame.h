// The main window: owner of Varno's state, clipboard viewer, and home of the system menu commands.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include "capture_core.h"
#include "frame_ports.h"
#include "frame_window.h"

// The window class, unique to Varno; a second start finds the first by it.
constexpr char kFrameClassName[] = "QuorbanexVarnoCaptureFrame";

class CCaptureFrame : public CFrameWindow, private CFramePorts, public varno::CCaptureCore {
public:
    // Sets the initial state and creates the window (hidden); m_hWnd stays
    // null when it could not be created.
    CCaptureFrame();
    ~CCaptureFrame() override;

    HWND m_hNextViewer = nullptr;  // next window of the clipboard viewer chain
    BOOL m_bArmed = TRUE;          // false: the notice of our own clipboard write is still to come
    // The clipboard's sequence number of the last change handled, captured or
    // not; at first the change already on the clipboard, which is no new copy.
    DWORD m_dwHandledSequence = GetClipboardSequenceNumber();
    // True while this window holds the clipboard open; see OnDrawClipboard.
    bool m_bHoldingClipboard = false;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The object lives on the heap and goes with its window.
    void PostNcDestroy() override;

private:
    int OnCreate();
    void OnSysCommand(UINT id, LPARAM lParam);
    void OnDestroy();
    void OnChangeCbChain(HWND removed, HWND following);
    void OnDrawClipboard();
    void OnDropFiles(HDROP drop);
    void OnPaint();

    void BuildSystemMenu();
    void OnHelp();
    void OnSendToFile();
    // Shows the settings sheet; applies and saves it when it closes with OK.
    void OnSettings();
    // Buffer to Clipboard and Clipboard Viewer (clipboard.cpp).
    void OnToClipboard();
    void OnClipboardViewer();
};
