// The help dialog's text, byte for byte with CR LF line ends, from every way of opening it.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "capture_frame.h"
#include "help_dialog.h"
#include "resource.h"
#include "shell_test_support.h"

namespace {

// The twelve lines of the help text; 0xB7 is the middle dot in code page 1252.
const char* const kHelpLines[] = {
    "When you Copy text to the Clipboard, Varno saves it in a memory buffer.",
    "All your entries will remain in the buffer until you send them to a file or back ",
    "to the Clipboard.  You can automatically insert separators after each entry for",
    "readability.  Output files can be generated in Text or HTML format.",
    "The system menu commands are:",
    "  \xB7 Help\t\tdisplay this screen",
    "  \xB7 Clipb.Viewer\tactivate the Windows Clipboard Viewer (if installed)",
    "  \xB7 Settings...\tchange Varno settings - output file, separators, etc.",
    "  \xB7 Clear Buffer\tdelete buffer's content",
    "  \xB7 Buffer to File\tsend buffer to output file (append or replace)",
    "  \xB7 Buffer to Clipb\tsend buffer to Windows Clipboard",
    "To merge text files into the buffer, just Drag and Drop them in Varno's window.",
};

std::string ExpectedDisplayText() {
    std::string text;
    for (const char* line : kHelpLines) text += std::string(line) + "\r\n";
    return text;
}

TEST(ExpandLineFeeds, TurnsEveryLineFeedIntoCrLfAndNothingElse) {
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"", ""},
        {"Error loading IDS_ABOUT_EDIT", "Error loading IDS_ABOUT_EDIT"},
        {"one\ntwo", "one\r\ntwo"},
        {"one\ntwo\n", "one\r\ntwo\r\n"},
        {"\n\n", "\r\n\r\n"},
        {"already\r\n", "already\r\r\n"},
        {"  \xB7 tab\there\n", "  \xB7 tab\there\r\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(ExpandLineFeeds(c.text), c.expected) << c.text;
}

TEST(HelpDialog, DisplayTextIsTheTwelveLinesWithTheirMiddleDots) {
    EXPECT_EQ(CHelpDialog::DisplayText(), ExpectedDisplayText());
}

TEST(HelpDialog, ShowsTheSameTextFromEveryEntryPointAndEveryOpening) {
    TestApp();
    ResetRegistry();
    CCaptureFrame* frame = new CCaptureFrame;
    HWND window = frame->m_hWnd;
    ASSERT_NE(window, nullptr);

    struct EntryPoint {
        const char* name;
        std::function<void()> open;
    };
    const EntryPoint entryPoints[] = {
        {"system menu Help", [&] { SendMessageA(window, WM_SYSCOMMAND, IDM_HELP, 0); }},
        {"ID_APP_ABOUT", [&] { SendMessageA(window, WM_COMMAND, ID_APP_ABOUT, 0); }},
        {"system menu Help again", [&] { SendMessageA(window, WM_SYSCOMMAND, IDM_HELP, 0); }},
    };
    for (const EntryPoint& entry : entryPoints) {
        SCOPED_TRACE(entry.name);
        std::string caption;
        std::string shown;
        LONG editStyle = 0;
        bool closed = WatchDialogs(entry.open, [&](HWND dialog) {
            HWND edit = GetDlgItem(dialog, IDC_HELP_TEXT);
            if (edit == nullptr || GetWindowTextLengthA(edit) == 0) return false;
            caption = WindowText(dialog);
            shown = WindowText(edit);
            editStyle = GetWindowLongA(edit, GWL_STYLE);
            return true;
        });
        EXPECT_TRUE(closed);
        EXPECT_EQ(caption, "Varno Help Information");
        EXPECT_EQ(shown, ExpectedDisplayText());
        EXPECT_EQ(editStyle & (ES_MULTILINE | ES_READONLY), ES_MULTILINE | ES_READONLY);
        EXPECT_EQ(editStyle & (WS_BORDER | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL), 0);
    }
    DestroyWindow(window);
}

}  // namespace
