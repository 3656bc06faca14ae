// Start-up: the first start shows the window minimized, a second start is refused.
#include <gtest/gtest.h>

#include <string>

#include "capture_frame.h"
#include "shell_test_support.h"

namespace {

// Removes a WM_QUIT that destroying the main window posted; true if there was one.
bool TakeQuitMessage() {
    MSG msg;
    return PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}

TEST(StartUp, FirstStartShowsTheWindowMinimizedAndASecondStartIsRefused) {
    struct Case {
        const char* name;
        const char* storedClassName;  // null: nothing stored
    };
    const Case cases[] = {
        {"nothing stored", nullptr},
        {"entry left by an ended run", kFrameClassName},
    };
    CCaptureApp& app = TestApp();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetRegistry();
        if (c.storedClassName != nullptr) StoreClassName(c.storedClassName);
        app.m_nCmdShow = SW_SHOWMAXIMIZED;  // as from a shortcut set to maximized

        ASSERT_TRUE(app.InitInstance());
        ASSERT_NE(app.m_pMainWnd, nullptr);
        HWND window = app.m_pMainWnd->m_hWnd;
        EXPECT_EQ(StoredClassName(), kFrameClassName);
        EXPECT_TRUE(IsWindowVisible(window));
        EXPECT_TRUE(IsIconic(window));
        EXPECT_NE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0);
        EXPECT_EQ(WindowText(window), "Varno 2.0");

        ShowWindow(window, SW_RESTORE);
        RECT rect;
        GetWindowRect(window, &rect);
        EXPECT_EQ(rect.left, 100);
        EXPECT_EQ(rect.top, 100);
        EXPECT_EQ(rect.right - rect.left, 300);
        EXPECT_EQ(rect.bottom - rect.top, 200);

        // A second start in the same profile finds the window by its class.
        std::string caption;
        std::string text;
        HICON icon = nullptr;
        BOOL secondStart = TRUE;
        EXPECT_TRUE(WatchDialogs([&] { secondStart = app.InitInstance(); },
                                 [&](HWND box) {
                                     caption = WindowText(box);
                                     text = MessageBoxText(box);
                                     icon = MessageBoxIcon(box);
                                     return true;
                                 }));
        EXPECT_FALSE(secondStart);
        EXPECT_EQ(caption, "varno");
        EXPECT_EQ(text, "One Varno is already running...");
        EXPECT_EQ(icon, LoadIconA(nullptr, IDI_EXCLAMATION));
        ASSERT_NE(app.m_pMainWnd, nullptr);
        EXPECT_EQ(app.m_pMainWnd->m_hWnd, window);
        EXPECT_EQ(GetForegroundWindow(), window);

        DestroyWindow(window);
        EXPECT_EQ(app.m_pMainWnd, nullptr);
        EXPECT_TRUE(TakeQuitMessage());
    }
}

}  // namespace
