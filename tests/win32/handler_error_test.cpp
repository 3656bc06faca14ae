// The report of an exception escaping a handler: stop icon, description, and the program goes on.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "frame_window.h"
#include "modal_dialog.h"
#include "resource.h"
#include "shell_test_support.h"

namespace {

const char kClassName[] = "VarnoTestThrowingFrame";
const UINT kThrowStd = WM_APP;
const UINT kThrowOther = WM_APP + 1;
const UINT kCount = WM_APP + 2;

class ThrowingFrame : public CFrameWindow {
public:
    explicit ThrowingFrame(bool throwOnCreate) : throwOnCreate_(throwOnCreate) {
        RegisterWindowClass(kClassName, 0, nullptr, nullptr, nullptr);
        Create(kClassName, "test", WS_OVERLAPPED, 0, 0, 0, 100, 100);
    }
    int counted = 0;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_CREATE:
            if (throwOnCreate_) throw std::runtime_error("creation refused");
            return 0;
        case kThrowStd:
            throw std::runtime_error("Disk full while accessing C:\\out 100%.txt.");
        case kThrowOther:
            throw 42;
        case kCount:
            return ++counted;
        default:
            return CFrameWindow::HandleMessage(message, wParam, lParam);
        }
    }

private:
    bool throwOnCreate_;
};

struct Report {
    std::string caption;
    std::string text;
    HICON icon = nullptr;
};

// Records the first box of the thread as the report.
std::function<bool(HWND)> RecordReport(Report& report) {
    return [&report](HWND box) {
        report.caption = WindowText(box);
        report.text = MessageBoxText(box);
        report.icon = MessageBoxIcon(box);
        return true;
    };
}

TEST(HandlerErrorReport, ShowsTheDescriptionWithTheStopIconAndTheWindowGoesOn) {
    struct Case {
        UINT message;
        const char* text;
    };
    const Case cases[] = {
        {kThrowStd, "Disk full while accessing C:\\out 100%.txt."},
        {kThrowOther, "An unknown error occurred."},
    };
    const std::string appTitle = TestApp().m_strAppName;
    ThrowingFrame frame(false);
    ASSERT_NE(frame.m_hWnd, nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Report report;
        LRESULT result = -1;
        EXPECT_TRUE(WatchDialogs([&] { result = SendMessageA(frame.m_hWnd, c.message, 0, 0); },
                                 RecordReport(report)));
        EXPECT_EQ(result, 0);
        EXPECT_EQ(report.caption, appTitle);
        EXPECT_EQ(report.text, c.text);
        EXPECT_EQ(report.icon, LoadIconA(nullptr, IDI_HAND));
        // The window is still there and handles its next message.
        LRESULT counted = SendMessageA(frame.m_hWnd, kCount, 0, 0);
        EXPECT_GT(counted, 0);
        EXPECT_EQ(counted, frame.counted);
    }
    EXPECT_EQ(appTitle, "varno");
}

TEST(HandlerErrorReport, AnErrorDuringCreationIsReportedAndNoWindowIsMade) {
    Report report;
    ThrowingFrame* frame = nullptr;
    EXPECT_TRUE(WatchDialogs([&] { frame = new ThrowingFrame(true); }, RecordReport(report)));
    EXPECT_EQ(report.text, "creation refused");
    EXPECT_EQ(frame->m_hWnd, nullptr);
    delete frame;  // a failed Create leaves the object to its creator
}

// The help dialog's template, with a handler that fails while it starts.
class ThrowingDialog : public CModalDialog {
public:
    ThrowingDialog() : CModalDialog(IDD_HELP) {}

protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_INITDIALOG) throw std::runtime_error("dialog refused");
        return CModalDialog::HandleMessage(message, wParam, lParam);
    }
};

TEST(HandlerErrorReport, ADialogGoesOnAfterTheReport) {
    Report report;
    bool dialogShown = false;
    INT_PTR result = 0;
    EXPECT_TRUE(WatchDialogs(
        [&] {
            ThrowingDialog dialog;
            result = dialog.DoModal();
        },
        [&](HWND window) {
            if (GetDlgItem(window, IDC_HELP_TEXT) != nullptr) {
                dialogShown = true;
            } else {
                report.text = MessageBoxText(window);
                report.icon = MessageBoxIcon(window);
            }
            return true;
        }));
    EXPECT_EQ(report.text, "dialog refused");
    EXPECT_EQ(report.icon, LoadIconA(nullptr, IDI_HAND));
    EXPECT_TRUE(dialogShown);
    EXPECT_EQ(result, IDOK);
}

}  // namespace
