// The real settings sheet in-process: the Send-To-File item after OK, radio groups, page layout, error reports.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "capture_frame.h"
#include "resource.h"
#include "settings_sheet.h"
#include "shell_test_support.h"

namespace {

HWND CurrentPage(HWND sheet) {
    return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

bool IsChecked(HWND page, int id) { return IsDlgButtonChecked(page, id) == BST_CHECKED; }

TEST(SettingsSheet, OkWithANewMethodRelabelsSendToFile) {
    struct Case {
        BYTE storedMethod;
        int button;
        varno::FileWriteMethod method;
        const char* label;
        bool grayed;
    };
    const Case cases[] = {
        {varno::AppendOnCommand, IDC_APPEND_ON_THE_FLY, varno::AppendOnTheFly, "Auto-append to file", true},
        {varno::AppendOnTheFly, IDC_APPEND_ON_COMMAND, varno::AppendOnCommand, "Buffer to &File (append)",
         false},
        {varno::AppendOnTheFly, IDC_REPLACE_ON_COMMAND, varno::ReplaceOnCommand,
         "Buffer to &File (replace)", false},
    };
    TestApp();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ResetRegistry();
        SeedFileWriteMethod(c.storedMethod);
        CCaptureFrame* frame = new CCaptureFrame;
        ASSERT_NE(frame->m_hWnd, nullptr);

        bool clicked = WatchDialogs(
            [&] { SendMessageA(frame->m_hWnd, WM_SYSCOMMAND, IDM_SETTINGS, 0); },
            [&](HWND window) {
                if (WindowText(window) != "Varno Settings") return false;
                SendMessageA(GetDlgItem(CurrentPage(window), c.button), BM_CLICK, 0, 0);
                return true;  // the watcher presses OK
            });
        EXPECT_TRUE(clicked);

        EXPECT_EQ(frame->m_iFileWrite, c.method);
        HMENU menu = GetSystemMenu(frame->m_hWnd, FALSE);
        char label[64] = "";
        GetMenuStringA(menu, IDM_SEND_TO_FILE, label, sizeof label, MF_BYCOMMAND);
        EXPECT_STREQ(label, c.label);
        EXPECT_EQ((GetMenuState(menu, IDM_SEND_TO_FILE, MF_BYCOMMAND) & MF_GRAYED) != 0, c.grayed);
        DestroyWindow(frame->m_hWnd);
    }
}

TEST(SettingsSheet, RadioGroupsEndAtTheNextGroupAndAnUnknownIndexSelectsNone) {
    TestApp();
    CallControlsSheet sheet("Sheet under test");
    sheet.m_pageGeneral.m_nFormat = 2;  // no such format button
    sheet.m_pageGeneral.m_nWriteMethod = varno::AppendOnTheFly;
    std::vector<bool> shown;
    INT_PTR result = 0;
    EXPECT_TRUE(WatchDialogs([&] { result = sheet.DoModal(); },
                             [&](HWND window) {
                                 HWND page = CurrentPage(window);
                                 for (int id : {IDC_TEXT, IDC_HTML, IDC_APPEND_ON_THE_FLY,
                                                IDC_APPEND_ON_COMMAND, IDC_REPLACE_ON_COMMAND})
                                     shown.push_back(IsChecked(page, id));
                                 return true;
                             }));
    EXPECT_EQ(shown, (std::vector<bool>{false, false, true, false, false}));
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(sheet.m_pageGeneral.m_nFormat, -1) << "none selected reads back as -1";
    EXPECT_EQ(sheet.m_pageGeneral.m_nWriteMethod, varno::AppendOnTheFly);
}

// Every control of a page lies inside the room the sheet made for the page.
std::vector<std::string> ControlsOutside(HWND page) {
    std::vector<std::string> outside;
    RECT room;
    GetClientRect(page, &room);
    for (HWND control = GetWindow(page, GW_CHILD); control != nullptr;
         control = GetWindow(control, GW_HWNDNEXT)) {
        RECT rect;
        GetWindowRect(control, &rect);
        MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&rect), 2);
        if (rect.left < room.left || rect.top < room.top || rect.right > room.right ||
            rect.bottom > room.bottom)
            outside.push_back(std::to_string(GetDlgCtrlID(control)));
    }
    return outside;
}

TEST(SettingsSheet, BothPagesFitTheSheetAndTheSheetGivesItsIconForDragging) {
    TestApp();
    CallControlsSheet sheet("Sheet under test");
    std::vector<std::string> pages;
    HICON dragIcon = nullptr;
    EXPECT_TRUE(WatchDialogs([&] { sheet.DoModal(); },
                             [&](HWND window) {
                                 for (int index : {0, 1}) {
                                     SendMessageA(window, PSM_SETCURSEL, index, 0);
                                     HWND page = CurrentPage(window);
                                     std::vector<std::string> outside = ControlsOutside(page);
                                     std::string line = WindowText(page) + ":";
                                     for (const std::string& id : outside) line += " " + id;
                                     pages.push_back(line);
                                 }
                                 dragIcon = reinterpret_cast<HICON>(
                                     SendMessageA(window, WM_QUERYDRAGICON, 0, 0));
                                 return true;
                             }));
    EXPECT_EQ(pages, (std::vector<std::string>{"General:", "Separators:"}));
    EXPECT_NE(dragIcon, nullptr);
    EXPECT_EQ(dragIcon, sheet.m_hIcon);
}

// A page whose first exchange fails with an error nobody catches.
class FailingPage : public CPropertyPage {
public:
    FailingPage() : CPropertyPage(IDD_SEPARATORS) {}
    int exchanges = 0;

protected:
    void DoDataExchange(CDataExchange&) override {
        if (++exchanges == 1) throw std::runtime_error("exchange refused");
    }
};

TEST(SettingsSheet, AnErrorInAPageIsReportedAndTheSheetGoesOn) {
    TestApp();
    FailingPage page;
    CPropertySheet sheet("Sheet under test");
    sheet.AddPage(&page);
    std::string report;
    HICON icon = nullptr;
    INT_PTR result = 0;
    EXPECT_TRUE(WatchDialogs([&] { result = sheet.DoModal(); },
                             [&](HWND window) {
                                 if (WindowText(window) == "Sheet under test") return !report.empty();
                                 report = MessageBoxText(window);
                                 icon = MessageBoxIcon(window);
                                 return true;
                             }));
    EXPECT_EQ(report, "exchange refused");
    EXPECT_EQ(icon, LoadIconA(nullptr, IDI_HAND));
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(page.exchanges, 2) << "shown once, taken in once on OK";
}

}  // namespace
