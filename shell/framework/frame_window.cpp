// Base of top-level windows: one static window procedure, one HandleMessage switch per class.
#include "frame_window.h"

#include <exception>

#include "application.h"
#include "handler_error.h"

CFrameWindow::CFrameWindow() = default;

CFrameWindow::~CFrameWindow() {
    if (m_hWnd != nullptr) {
        // The object is going away first: unbind so no message reaches it.
        SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, 0);
        HWND window = m_hWnd;
        m_hWnd = nullptr;
        DestroyWindow(window);
    }
}

bool CFrameWindow::RegisterWindowClass(const char* className, UINT classStyle, HCURSOR cursor,
                                       HBRUSH background, HICON icon) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA existing = {};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExA(instance, className, &existing)) return true;

    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.style = classStyle;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    return RegisterClassExA(&wc) != 0;
}

bool CFrameWindow::Create(const char* className, const char* title, DWORD style, DWORD exStyle,
                          int x, int y, int width, int height, HWND parent, HMENU menu) {
    HWND window = CreateWindowExA(exStyle, className, title, style, x, y, width, height, parent,
                                  menu, GetModuleHandleA(nullptr), this);
    m_bCreated = window != nullptr;
    return m_bCreated;
}

LRESULT CFrameWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && lParam == 0) {
        // Menu and accelerator commands that the window left alone go to the application.
        CApplication* app = CApplication::Current();
        if (app != nullptr && app->OnCommand(LOWORD(wParam))) return 0;
    }
    return Default(message, wParam, lParam);
}

LRESULT CFrameWindow::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CFrameWindow::HandleMessageReportingErrors(UINT message, WPARAM wParam, LPARAM lParam) {
    auto result = RunHandler(m_hWnd, [&] { return HandleMessage(message, wParam, lParam); });
    if (result) return *result;
    // The handler did not finish. A window whose creation failed must not
    // appear; an unpainted region must not come back as an endless WM_PAINT.
    if (message == WM_CREATE) return -1;
    if (message == WM_PAINT) ValidateRect(m_hWnd, nullptr);
    return 0;
}

LRESULT CALLBACK CFrameWindow::WindowProc(HWND hWnd, UINT message, WPARAM wParam,
                                          LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        auto* self = static_cast<CFrameWindow*>(create->lpCreateParams);
        self->m_hWnd = hWnd;
        SetWindowLongPtrA(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<CFrameWindow*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcA(hWnd, message, wParam, lParam);
    if (message != WM_NCDESTROY) return self->HandleMessageReportingErrors(message, wParam, lParam);

    // The last message: unbind, end the message loop if this was the main
    // window, and let the object go.
    LRESULT result = self->HandleMessageReportingErrors(message, wParam, lParam);
    SetWindowLongPtrA(hWnd, GWLP_USERDATA, 0);
    self->m_hWnd = nullptr;
    CApplication* app = CApplication::Current();
    if (app != nullptr && app->m_pMainWnd == self) {
        app->m_pMainWnd = nullptr;
        PostQuitMessage(0);
    }
    if (self->m_bCreated) self->PostNcDestroy();
    return result;
}
