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
    BOOL m_bArmed = TRUE;          // false: the next notice is our own clipboard write

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
    // Commands whose menu items are in place but that do nothing yet.
    void OnToClipboard();
    void OnClipboardViewer();
    void OnSettings();
};
