// bare_viewer.exe: the platform's limit for the capture benchmark. A clipboard viewer that does only what any
// viewer must to take a copy in: pass the notice on, open the clipboard, copy its text out, close it, and show the
// running byte count in its caption (as Varno does, so that one measurement serves both). Found by its window
// class, "VarnoBenchBareViewer"; ends when its window is closed.
#include <windows.h>

#include <cstring>
#include <string>

namespace {

HWND g_next = nullptr;
long long g_bytes = 0;

void TakeText(HWND window) {
    if (!OpenClipboard(window)) return;
    HANDLE data = GetClipboardData(CF_TEXT);
    if (data != nullptr) {
        if (const char* text = static_cast<const char*>(GlobalLock(data))) {
            std::string copy(text, strnlen(text, GlobalSize(data)));
            g_bytes += static_cast<long long>(copy.size());
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    char caption[32];
    wsprintfA(caption, "%ld bytes", static_cast<long>(g_bytes));
    SetWindowTextA(window, caption);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DRAWCLIPBOARD:
        if (g_next != nullptr) SendMessageA(g_next, WM_DRAWCLIPBOARD, wParam, lParam);
        TakeText(window);
        return 0;
    case WM_CHANGECBCHAIN:
        if (reinterpret_cast<HWND>(wParam) == g_next)
            g_next = reinterpret_cast<HWND>(lParam);
        else if (g_next != nullptr)
            SendMessageA(g_next, WM_CHANGECBCHAIN, wParam, lParam);
        return 0;
    case WM_DESTROY:
        ChangeClipboardChain(window, g_next);
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    WNDCLASSA windowClass = {};
    windowClass.style = CS_VREDRAW | CS_HREDRAW;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = "VarnoBenchBareViewer";
    RegisterClassA(&windowClass);
    // A window like Varno's, shown as Varno's is, so both pay the same for a caption change.
    HWND window = CreateWindowExA(WS_EX_CLIENTEDGE, windowClass.lpszClassName, "bare viewer",
                                  WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 100, 100, 300, 200,
                                  nullptr, nullptr, windowClass.hInstance, nullptr);
    if (window == nullptr) return 1;
    ShowWindow(window, SW_SHOWMINIMIZED);
    UpdateWindow(window);
    g_next = SetClipboardViewer(window);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
