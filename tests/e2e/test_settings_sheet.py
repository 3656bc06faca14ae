"""The settings sheet seen from outside: what it shows when it opens, what OK stores and applies, what Cancel and the
close box discard, the length checks that keep it open, and the Browse button's file dialog."""

import os

import harness
from harness import (APP_TITLE, APPEND_ON_COMMAND, DEFAULT_HTML_SEPARATOR, DEFAULT_TEXT_SEPARATOR, IDM_SEND_TO_FILE,
                     IDM_SETTINGS, REG_BINARY, REG_MULTI_SZ, REG_SZ, REPLACE_ON_COMMAND, SC_CLOSE, SETTINGS_KEY,
                     SETTINGS_ROOT, TITLE, WM_COMMAND, WM_SYSCOMMAND, dismiss, encode_multi_string, screenshot,
                     wait_for, wine_path)

SHEET_CAPTION = b"Varno Settings"
FILE_DIALOG_CAPTION = b"Open"
PSBTN_OK = 3
PSBTN_CANCEL = 5
BM_CLICK = 0x00F5
EM_GETLIMITTEXT = 0x00D5

GENERAL, SEPARATORS = 0, 1
# The General page.
IDC_ACTIVE, IDC_SEPARATORS, IDC_BROWSE, IDC_OUTPUT_FILE = 1007, 1008, 1009, 1010
IDC_HTML, IDC_TEXT = 1014, 1015
IDC_APPEND_ON_THE_FLY, IDC_APPEND_ON_COMMAND, IDC_REPLACE_ON_COMMAND = 1021, 1022, 1023
IDC_FREE_BUFFER = 1024
METHOD_BUTTONS = (IDC_APPEND_ON_THE_FLY, IDC_APPEND_ON_COMMAND, IDC_REPLACE_ON_COMMAND)
# The Separators page.
IDC_TEXT_SEPARATOR, IDC_HTML_SEPARATOR = 1005, 1006

SETTING_NAMES = ("fActive", "fSepar", "fHtml", "iFileWrite", "OutputFile", "Separator", "HtmlSepar")


class Sheet:
    """The open settings sheet of one Varno, acted on as a user would."""

    def __init__(self, varno):
        self.driver = varno.driver
        self.varno = varno
        varno.command(IDM_SETTINGS)
        self.hwnd = varno.wait_dialog(SHEET_CAPTION)

    def page(self):
        index, hwnd = self.driver.call("sheet_page", self.hwnd)
        return int(index), int(hwnd)

    def select(self, index):
        """Chooses a page's tab; leaving a page takes its data, which may refuse with a message."""
        self.driver.call("sheet_select", self.hwnd, index)

    def show(self, index):
        self.select(index)
        wait_for(lambda: self.page()[0] == index, "page %d to be shown" % index)

    def controls(self):
        """{control id: (BM_GETCHECK or -1, text)} of the shown page."""
        fields = self.driver.call("page_state", self.page()[1])
        return {int(fields[i]): (int(fields[i + 1]), fields[i + 2]) for i in range(0, len(fields), 3)}

    def checked(self, *ids):
        controls = self.controls()
        return tuple(controls[i][0] for i in ids)

    def text(self, control_id):
        return self.controls()[control_id][1]

    def click(self, control_id):
        self.driver.call("click", self.page()[1], control_id)

    def set_text(self, control_id, text):
        self.driver.set_text(self.control(control_id), text)

    def control(self, control_id):
        return self.driver.item(self.page()[1], control_id)

    def press(self, button):
        self.driver.call("sheet_press", self.hwnd, button)

    def is_open(self):
        return self.driver.info(self.hwnd).exists

    def wait_closed(self):
        wait_for(lambda: not self.is_open(), "the settings sheet to close")

    def close(self, button):
        self.press(button)
        self.wait_closed()

    def screenshot(self, name):
        screenshot(name, self.driver.info(self.hwnd).rect)

    def wait_message(self):
        """A message box over the sheet (the sheet itself, holding a lone label, would pass for one)."""
        def probe():
            boxes = [box for box in self.varno.boxes() if box.hwnd != self.hwnd]
            return boxes[0] if boxes else None
        return wait_for(probe, "a message box over the sheet")


class SettingsSheetTest(harness.VarnoTestCase):

    def stored(self):
        return {name: self.driver.reg_get(SETTINGS_ROOT, SETTINGS_KEY, name) for name in SETTING_NAMES}

    def restore(self, varno):
        minimized = varno.info().rect
        varno.restore()
        wait_for(lambda: varno.info().rect != minimized, "the window to leave its minimized place")

    def assert_general_page(self, sheet, active, separators, html, method, path, free=None):
        self.assertEqual(sheet.page()[0], GENERAL)
        self.assertEqual(sheet.checked(IDC_ACTIVE, IDC_SEPARATORS), (active, separators))
        self.assertEqual(sheet.checked(IDC_TEXT, IDC_HTML), (0, 1) if html else (1, 0))
        self.assertEqual(sheet.checked(*METHOD_BUTTONS), tuple(int(i == method) for i in range(3)))
        self.assertEqual(sheet.text(IDC_OUTPUT_FILE), path)
        if free is not None:
            self.assertEqual(sheet.text(IDC_FREE_BUFFER), free)

    def test_opens_showing_the_settings_in_force(self):
        path = b"Z:\\some folder\\out 100%.html"
        # (case, stored settings or None for a first run, General page, Separators page)
        cases = [
            ("first run", None, dict(active=1, separators=0, html=False, method=APPEND_ON_COMMAND, path=b""),
             (DEFAULT_TEXT_SEPARATOR, DEFAULT_HTML_SEPARATOR)),
            ("stored", dict(active=False, separators=True, html=True, file_write=REPLACE_ON_COMMAND, output_file=path,
                            text_separator=b"---\r\nA\r\n", html_separator=b"<p>"),
             dict(active=0, separators=1, html=True, method=REPLACE_ON_COMMAND, path=path), (b"---\r\nA\r\n", b"<p>")),
            ("unknown method", dict(file_write=5),
             dict(active=1, separators=0, html=False, method=None, path=b""),
             (DEFAULT_TEXT_SEPARATOR, DEFAULT_HTML_SEPARATOR)),
        ]
        for case, settings, general, separators in cases:
            with self.subTest(case=case):
                harness.reset_settings(self.driver)
                if settings is not None:
                    harness.seed_settings(self.driver, **settings)
                with self.start_varno() as varno:
                    if case == "first run":
                        self.restore(varno)  # the sheet then opens on the screen, for the screenshots
                    sheet = Sheet(varno)
                    self.assert_general_page(sheet, free=b"Free Buffer = 2000000 bytes", **general)
                    if case == "first run":
                        sheet.screenshot("settings_general")
                    sheet.show(SEPARATORS)
                    self.assertEqual((sheet.text(IDC_TEXT_SEPARATOR), sheet.text(IDC_HTML_SEPARATOR)), separators)
                    if case == "first run":
                        sheet.screenshot("settings_separators")
                    sheet.close(PSBTN_CANCEL)

    def test_free_space_is_what_the_buffer_leaves_when_the_sheet_opens(self):
        # An empty stored separator loads as CR LF: eight dropped bytes make ten in the buffer.
        harness.seed_settings(self.driver, separators=True, text_separator=b"")
        dropped = self.path("eight.txt")
        with open(dropped, "wb") as file:
            file.write(b"12345678")
        varno = self.start_varno()
        varno.drop([dropped])
        varno.wait_caption(b"10 bytes")
        sheet = Sheet(varno)
        self.assertEqual(sheet.text(IDC_FREE_BUFFER), b"Free Buffer = 1999990 bytes")
        sheet.close(PSBTN_CANCEL)

    def test_ok_stores_and_applies_every_setting(self):
        path = wine_path(self.path("chosen.out")).encode("cp1252")
        varno = self.start_varno()  # a first run: capture on, Text, AppendOnCommand
        sheet = Sheet(varno)
        for control in (IDC_ACTIVE, IDC_SEPARATORS, IDC_HTML, IDC_REPLACE_ON_COMMAND):
            sheet.click(control)
        sheet.set_text(IDC_OUTPUT_FILE, path)
        sheet.show(SEPARATORS)
        sheet.set_text(IDC_TEXT_SEPARATOR, b"==\r\n")
        sheet.set_text(IDC_HTML_SEPARATOR, b"<br>\r\n")
        sheet.close(PSBTN_OK)

        varno.wait_caption(b"Varno OFF")
        self.assertEqual(self.stored(), {
            "fActive": (REG_BINARY, b"\x00"),
            "fSepar": (REG_BINARY, b"\x01"),
            "fHtml": (REG_BINARY, b"\x00"),  # stored inverted: 0 is HTML
            "iFileWrite": (REG_BINARY, b"\x02"),
            "OutputFile": (REG_SZ, path + b"\0"),
            "Separator": (REG_MULTI_SZ, encode_multi_string(b"==\r\n")),
            "HtmlSepar": (REG_MULTI_SZ, encode_multi_string(b"<br>\r\n")),
        })
        self.assertEqual(varno.boxes(), [])

        # The sheet opens again on what is now in force.
        sheet = Sheet(varno)
        self.assert_general_page(sheet, active=0, separators=1, html=True, method=REPLACE_ON_COMMAND, path=path)
        sheet.show(SEPARATORS)
        self.assertEqual((sheet.text(IDC_TEXT_SEPARATOR), sheet.text(IDC_HTML_SEPARATOR)), (b"==\r\n", b"<br>\r\n"))
        sheet.close(PSBTN_CANCEL)

    def test_ok_with_no_method_selected_stores_on_the_fly(self):
        harness.seed_settings(self.driver, file_write=5)
        varno = self.start_varno()
        sheet = Sheet(varno)
        self.assertEqual(sheet.checked(*METHOD_BUTTONS), (0, 0, 0))
        sheet.close(PSBTN_OK)
        self.assertEqual(self.driver.reg_get(SETTINGS_ROOT, SETTINGS_KEY, "iFileWrite"), (REG_BINARY, b"\x00"))

    def test_separators_off_ends_the_next_entries_in_crlf_and_keeps_the_stored_texts(self):
        output = self.path("buffer.out")
        harness.seed_settings(self.driver, separators=True, text_separator=b"---", output_file=wine_path(output))
        dropped = [self.path(name) for name in ("x.txt", "y.txt")]
        for path in dropped:
            with open(path, "wb") as file:
                file.write(os.path.basename(path)[:1].encode())
        varno = self.start_varno()
        varno.drop(dropped[:1])
        varno.wait_caption(b"4 bytes")

        sheet = Sheet(varno)
        sheet.click(IDC_SEPARATORS)
        sheet.show(SEPARATORS)
        sheet.set_text(IDC_TEXT_SEPARATOR, b"not taken")
        sheet.close(PSBTN_OK)
        varno.wait_caption(b"4 bytes")

        varno.drop(dropped[1:])
        varno.wait_caption(b"7 bytes")
        varno.command(IDM_SEND_TO_FILE)
        varno.settle()
        with open(output, "rb") as file:
            self.assertEqual(file.read(), b"x---y\r\n")
        self.assertEqual(self.driver.reg_get(SETTINGS_ROOT, SETTINGS_KEY, "fSepar"), (REG_BINARY, b"\x00"))
        self.assertEqual(self.driver.reg_get(SETTINGS_ROOT, SETTINGS_KEY, "Separator"),
                         (REG_MULTI_SZ, encode_multi_string(b"---")))

    def test_cancel_and_the_close_box_discard_every_change(self):
        closers = [
            ("Cancel", lambda sheet: sheet.press(PSBTN_CANCEL)),
            ("close box", lambda sheet: self.driver.post(sheet.hwnd, WM_SYSCOMMAND, SC_CLOSE)),
        ]
        for name, close in closers:
            with self.subTest(closer=name):
                harness.reset_settings(self.driver)
                with self.start_varno() as varno:
                    before = self.stored()
                    sheet = Sheet(varno)
                    for control in (IDC_ACTIVE, IDC_HTML, IDC_APPEND_ON_THE_FLY):
                        sheet.click(control)
                    sheet.set_text(IDC_OUTPUT_FILE, b"Z:\\discarded.txt")
                    sheet.show(SEPARATORS)  # leaving the General page takes its data into the page
                    sheet.set_text(IDC_TEXT_SEPARATOR, b"discarded")
                    close(sheet)
                    sheet.wait_closed()
                    varno.settle()
                    self.assertEqual(varno.caption(), TITLE, "the caption is not refreshed")
                    self.assertEqual(self.stored(), before)

                    sheet = Sheet(varno)
                    self.assert_general_page(sheet, active=1, separators=0, html=False, method=APPEND_ON_COMMAND,
                                             path=b"")
                    sheet.close(PSBTN_CANCEL)

    def test_a_text_over_its_limit_is_refused_and_the_sheet_stays_open(self):
        # (page, control, limit, stored value of a text of exactly the limit)
        cases = [
            (GENERAL, IDC_OUTPUT_FILE, 250, ("OutputFile", REG_SZ, b"p" * 250 + b"\0")),
            (SEPARATORS, IDC_TEXT_SEPARATOR, 1024, ("Separator", REG_MULTI_SZ, b"p" * 1024 + b"\0\0")),
            (SEPARATORS, IDC_HTML_SEPARATOR, 1024, ("HtmlSepar", REG_MULTI_SZ, b"p" * 1024 + b"\0\0")),
        ]
        harness.seed_settings(self.driver, separators=True)
        varno = self.start_varno()
        for page, control, limit, (name, kind, data) in cases:
            with self.subTest(control=control):
                sheet = Sheet(varno)
                sheet.show(page)
                self.assertEqual(self.driver.send(sheet.control(control), EM_GETLIMITTEXT), limit,
                                 "typing stops at the limit")
                sheet.set_text(control, b"p" * (limit + 1))
                other = SEPARATORS if page == GENERAL else GENERAL
                for leave, attempt in (("OK", lambda: sheet.press(PSBTN_OK)), ("other page", lambda: sheet.select(other))):
                    with self.subTest(leave=leave):
                        attempt()
                        box = sheet.wait_message()
                        expected = b"Please enter no more than %d characters." % limit
                        self.assertEqual((box.caption, box.text), (APP_TITLE, expected))
                        self.assertEqual(self.driver.box_icon(box.hwnd).name, "exclamation")
                        dismiss(self.driver, box)
                        # Asked of the sheet, so answered once it has finished with the refusal.
                        self.assertEqual(sheet.page()[0], page, "the user stays on the page")
                        self.assertTrue(sheet.is_open())
                sheet.set_text(control, b"p" * limit)
                sheet.close(PSBTN_OK)
                self.assertEqual(self.driver.reg_get(SETTINGS_ROOT, SETTINGS_KEY, name), (kind, data))

    def test_browse_puts_the_chosen_file_name_in_the_path(self):
        short = self.path("chosen output.txt")
        # A name the file dialog takes but the page refuses: 255 characters as Windows writes it.
        long = self.path("l" * (254 - len(wine_path(self.work_dir))))
        self.assertEqual(len(wine_path(long)), 255)
        varno = self.start_varno()
        for chosen in (None, short, long):
            with self.subTest(chosen=chosen and len(wine_path(chosen))):
                sheet = Sheet(varno)
                before = sheet.text(IDC_OUTPUT_FILE)
                self.driver.post(sheet.control(IDC_BROWSE), BM_CLICK)
                dialog = varno.wait_dialog(FILE_DIALOG_CAPTION)
                if chosen is None:
                    self.driver.post(dialog, WM_COMMAND, 2)  # IDCANCEL
                else:
                    self.driver.call("file_dialog_choose", dialog, wine_path(chosen))
                wait_for(lambda: not self.driver.info(dialog).exists, "the file dialog to close")
                expected = before if chosen is None else wine_path(chosen).encode("cp1252")
                wait_for(lambda: sheet.text(IDC_OUTPUT_FILE) == expected, "the path %r" % expected)
                sheet.press(PSBTN_OK)
                if chosen is long:
                    box = sheet.wait_message()
                    self.assertEqual(box.text, b"Please enter no more than 250 characters.")
                    dismiss(self.driver, box)
                    self.assertTrue(sheet.is_open())
                    sheet.close(PSBTN_CANCEL)
                else:
                    sheet.wait_closed()
                    self.assertEqual(self.driver.reg_get(SETTINGS_ROOT, SETTINGS_KEY, "OutputFile"),
                                     (REG_SZ, expected + b"\0"))
        self.assertFalse(os.path.exists(short), "choosing a name creates no file")


if __name__ == "__main__":
    harness.main()
