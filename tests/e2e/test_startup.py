"""Start-up seen from outside: the first run's registry settings and profile entry, and the single-instance rule."""

import harness
from harness import (APP_TITLE, PROFILE_ROOT, PROFILE_SECTION, REG_BINARY, REG_MULTI_SZ,
                     REG_SZ, SETTINGS_KEY, SETTINGS_ROOT, TITLE, dismiss, wait_box, wait_for)

FIRST_RUN_VALUES = {
    b"fActive": (REG_BINARY, b"\x01"),
    b"fSepar": (REG_BINARY, b"\x00"),
    b"fHtml": (REG_BINARY, b"\x01"),  # stored inverted: 1 is Text format
    b"iFileWrite": (REG_BINARY, b"\x01"),  # AppendOnCommand
    b"OutputFile": (REG_SZ, b"\x00"),
    b"Separator": (REG_MULTI_SZ, b"\r\x00--- varno ---\r\x00\x00\x00"),
    b"HtmlSepar": (REG_MULTI_SZ, b"\r\x00<hr>\r\x00\x00\x00"),
}


class FirstRunTest(harness.VarnoTestCase):

    def test_first_run_creates_the_settings_key_with_defaults(self):
        varno = self.start_varno()
        self.assertEqual(self.driver.reg_class(SETTINGS_ROOT, SETTINGS_KEY), b"MyClass")
        self.assertEqual(sorted(self.driver.reg_values(SETTINGS_ROOT, SETTINGS_KEY)), sorted(FIRST_RUN_VALUES))
        for name, expected in FIRST_RUN_VALUES.items():
            with self.subTest(value=name):
                self.assertEqual(self.driver.reg_get(SETTINGS_ROOT, SETTINGS_KEY, name.decode()), expected)
        self.assertEqual(varno.caption(), TITLE)

    def test_profile_names_the_class_of_the_main_window(self):
        varno = self.start_varno()
        kind, data = self.driver.reg_get(PROFILE_ROOT, PROFILE_SECTION, "ClassName")
        window_class = [w.cls for w in self.driver.top_windows(varno.pid) if w.hwnd == varno.hwnd][0]
        self.assertEqual((kind, data.rstrip(b"\0")), (REG_SZ, window_class.encode("cp1252")))
        self.assertTrue(window_class)


class SingleInstanceTest(harness.VarnoTestCase):

    def test_second_start_reports_and_brings_the_first_to_the_foreground(self):
        first = self.start_varno()
        # Another program is in the foreground when the second copy starts.
        other = wait_box(self.driver, self.driver.own_box("Other program", "busy", 0))
        wait_for(lambda: self.driver.foreground() == other.hwnd, "the other program in the foreground")
        profile_before = self.driver.reg_get(PROFILE_ROOT, PROFILE_SECTION, "ClassName")

        second = self.start_varno(wait=False)
        box = wait_box(self.driver, exclude_pid=first.pid)
        self.assertEqual((box.caption, box.text), (APP_TITLE, b"One Varno is already running..."))
        self.assertEqual(self.driver.box_icon(box.hwnd).name, "exclamation")

        dismiss(self.driver, box)
        second.wait_end()
        wait_for(lambda: self.driver.foreground() == first.hwnd, "the first copy in the foreground")
        self.assertTrue(first.info().iconic, "the first copy is brought forward, not restored")
        self.assertEqual(self.driver.reg_get(PROFILE_ROOT, PROFILE_SECTION, "ClassName"), profile_before)


if __name__ == "__main__":
    harness.main()
