"""The Help command seen from outside: the help dialog and its text, byte for byte."""

import harness
from harness import IDM_HELP, IDOK, TITLE, WM_COMMAND, screenshot, wait_for

HELP_LINES = [
    b"When you Copy text to the Clipboard, Varno saves it in a memory buffer.",
    b"All your entries will remain in the buffer until you send them to a file or back ",
    b"to the Clipboard.  You can automatically insert separators after each entry for",
    b"readability.  Output files can be generated in Text or HTML format.",
    b"The system menu commands are:",
    b"  \xb7 Help\t\tdisplay this screen",
    b"  \xb7 Clipb.Viewer\tactivate the Windows Clipboard Viewer (if installed)",
    b"  \xb7 Settings...\tchange Varno settings - output file, separators, etc.",
    b"  \xb7 Clear Buffer\tdelete buffer's content",
    b"  \xb7 Buffer to File\tsend buffer to output file (append or replace)",
    b"  \xb7 Buffer to Clipb\tsend buffer to Windows Clipboard",
    b"To merge text files into the buffer, just Drag and Drop them in Varno's window.",
]
HELP_TEXT = b"".join(line + b"\r\n" for line in HELP_LINES)

HELP_CAPTION = b"Varno Help Information"
IDC_HELP_TEXT = 1026


class HelpDialogTest(harness.VarnoTestCase):

    def test_help_shows_the_same_command_summary_each_time(self):
        varno = self.start_varno()
        for opening in (1, 2):
            with self.subTest(opening=opening):
                varno.command(IDM_HELP)
                dialog = varno.wait_dialog(HELP_CAPTION)
                edit = self.driver.item(dialog, IDC_HELP_TEXT)
                self.assertNotEqual(edit, 0, "the dialog has the help text control")
                self.assertEqual(self.driver.text(edit), HELP_TEXT)
                if opening == 1:
                    self.driver.update(dialog)
                    screenshot("help_dialog", self.driver.info(dialog).rect)
                self.driver.post(dialog, WM_COMMAND, IDOK)
                wait_for(lambda: not self.driver.info(dialog).exists, "the help dialog to close")
        self.assertEqual(varno.caption(), TITLE)
        self.assertEqual(varno.boxes(), [])


if __name__ == "__main__":
    harness.main()
