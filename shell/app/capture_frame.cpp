// The main window: owner of Varno's state, clipboard viewer, and home of the system menu commands.
#include "capture_frame.h"

#include <optional>
#include <string>

#include "application.h"
#include "help_dialog.h"
#include "resource.h"
#include "resource_string.h"

namespace {

std::optional<std::string> LoadHtmlHeader() {
    std::string header;
    if (!LoadResourceString(IDS_HTML_START, header)) return std::nullopt;
    return header;
}

}  // namespace

CCaptureFrame::CCaptureFrame()
    : CFramePorts(static_cast<const CFrameWindow&>(*this)),
      CCaptureCore(*this, m_files, m_registry, LoadHtmlHeader()) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterWindowClass(kFrameClassName, CS_VREDRAW | CS_HREDRAW, LoadCursorA(nullptr, IDC_ARROW),
                        reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1),
                        LoadIconA(instance, MAKEINTRESOURCEA(IDI_VARNO)));
    // Fixed size: a caption with the system menu and a minimize box only.
    // 300 by 200 at 100, 100 are pixels at 96 DPI: the window keeps its size
    // on a screen with more pixels to the inch.
    HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
    if (screen != nullptr) ReleaseDC(nullptr, screen);
    auto scaled = [dpi](int pixels) { return MulDiv(pixels, dpi, 96); };
    Create(kFrameClassName, m_strTitle.c_str(),
           WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, WS_EX_CLIENTEDGE, scaled(100),
           scaled(100), scaled(300), scaled(200));
}

CCaptureFrame::~CCaptureFrame() = default;

void CCaptureFrame::PostNcDestroy() { delete this; }

LRESULT CCaptureFrame::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return OnCreate();
    case WM_SYSCOMMAND:
        OnSysCommand(static_cast<UINT>(wParam), lParam);
        return 0;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_CHANGECBCHAIN:
        OnChangeCbChain(reinterpret_cast<HWND>(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_DRAWCLIPBOARD:
        OnDrawClipboard();
        return 0;
    case WM_DROPFILES:
        OnDropFiles(reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_PAINT:
        OnPaint();
        return 0;
    default:
        return CFrameWindow::HandleMessage(message, wParam, lParam);
    }
}

int CCaptureFrame::OnCreate() {
    // Record the class name, so that a second start can find this window.
    char className[256] = "";
    GetClassNameA(m_hWnd, className, sizeof className);
    if (CApplication* app = CApplication::Current())
        app->WriteProfileString("Initialization", "ClassName", className);

    // A notice may arrive while joining; it must not be passed to a stale next viewer.
    m_hNextViewer = nullptr;
    m_hNextViewer = SetClipboardViewer(m_hWnd);

    BuildSystemMenu();
    LoadSettings();
    return 0;
}

void CCaptureFrame::BuildSystemMenu() {
    HMENU menu = GetSystemMenu(m_hWnd, FALSE);
    // Of the standard items keep Move, Minimize and Close: remove the
    // separator, Maximize, Size and Restore, by position from the bottom up.
    for (UINT position : {5u, 4u, 2u, 0u}) RemoveMenu(menu, position, MF_BYPOSITION);

    struct Item {
        UINT id;
        const char* text;
    };
    // Each goes in just above Close, so they appear in this order.
    const Item items[] = {
        {IDM_HELP, "&HELP"},
        {IDM_CLIPBOARD_VIEWER, "Clipboard Viewer"},
        {IDM_SETTINGS, "&Settings..."},
        {IDM_CLEAR_BUFFER, "C&lear buffer"},
        {IDM_SEND_TO_FILE, "Send To &File"},
        {IDM_TO_CLIPBOARD, "Buffer &to Clipboard"},
    };
    for (const Item& item : items)
        InsertMenuA(menu, SC_CLOSE, MF_BYCOMMAND | MF_STRING, item.id, item.text);
    InsertMenuA(menu, SC_CLOSE, MF_BYCOMMAND | MF_SEPARATOR, 0, nullptr);
}

void CCaptureFrame::OnSysCommand(UINT id, LPARAM lParam) {
    // Our ids are compared whole: they are below the standard commands,
    // whose low four bits the system uses for itself.
    switch (id) {
    case IDM_HELP:
        OnHelp();
        break;
    case IDM_TO_CLIPBOARD:
        OnToClipboard();
        break;
    case IDM_CLEAR_BUFFER:
        ClearBuffer();
        break;
    case IDM_CLIPBOARD_VIEWER:
        OnClipboardViewer();
        break;
    case IDM_SEND_TO_FILE:
        OnSendToFile();
        break;
    case IDM_SETTINGS:
        OnSettings();
        break;
    default:
        break;
    }
    // Move, Minimize and Close work as usual; our own ids mean nothing here.
    // Close destroys this object, so nothing may touch it after this call.
    Default(WM_SYSCOMMAND, id, lParam);
}

void CCaptureFrame::OnHelp() {
    CHelpDialog dialog;
    dialog.DoModal();
}

void CCaptureFrame::OnSendToFile() {
    // On the fly, every entry has gone to the file already.
    if (m_iFileWrite != varno::AppendOnTheFly) WriteToOutputFile(BufferText(), m_nUsed);
}

void CCaptureFrame::OnDestroy() {
    Default(WM_DESTROY, 0, 0);
    ReleaseBuffer();
    ChangeClipboardChain(m_hWnd, m_hNextViewer);
}

void CCaptureFrame::OnPaint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_hWnd, &paint);
    RECT client;
    GetClientRect(m_hWnd, &client);
    DPtoLP(dc, reinterpret_cast<POINT*>(&client), 2);
    DrawTextA(dc, "Right-click icon above for System Menu", -1, &client, DT_CENTER | DT_WORDBREAK);
    DrawTextA(dc, "Note: use this window only to Drop files", -1, &client,
              DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    EndPaint(m_hWnd, &paint);
}
