"""Checks the harness's own instruments on things of known content: message boxes, clipboard text, registry values.
If these fail, a failure elsewhere says nothing about Varno."""

import harness
from harness import MB_ICONEXCLAMATION, MB_ICONHAND, REG_BINARY, REG_MULTI_SZ, REG_SZ, dismiss, wait_box


class HarnessInstrumentsTest(harness.VarnoTestCase):

    def test_message_box_text_and_icon_are_read_exactly(self):
        text = b"First line.\nSecond \xb7 line with 100% and a tab\t."
        for style, icon in ((MB_ICONEXCLAMATION, "exclamation"), (MB_ICONHAND, "stop")):
            with self.subTest(icon=icon):
                owner = self.driver.own_box("Probe \xb7 box", text, style)
                box = wait_box(self.driver, owner)
                self.assertEqual((box.caption, box.text), (b"Probe \xb7 box", text))
                seen = self.driver.box_icon(box.hwnd)
                self.assertEqual(seen.name, icon, seen.scores)
                dismiss(self.driver, box)

    def test_clipboard_text_round_trips_byte_for_byte(self):
        for text in (bytes(range(1, 256)), b"", b"line\r\nline\nend", b"x" * 100000):
            with self.subTest(length=len(text)):
                self.driver.clip_set_text(text)
                self.assertEqual(self.driver.clip_get_text(), text)
        self.driver.clip_set_image()
        self.assertIsNone(self.driver.clip_get_text())

    def test_registry_values_round_trip_byte_for_byte(self):
        path = "SOFTWARE\\Quorbanex\\Varno"
        values = [("flag", REG_BINARY, b"\x05"), ("path", REG_SZ, b"Z:\\tmp\\a \xe9.txt\0"),
                  ("list", REG_MULTI_SZ, b"\r\0--- x\r\0\0\0"), ("empty", REG_BINARY, b"")]
        for name, kind, data in values:
            self.driver.reg_set("HKLM", path, name, kind, data)
        for name, kind, data in values:
            self.assertEqual(self.driver.reg_get("HKLM", path, name), (kind, data), name)
        self.assertEqual(sorted(self.driver.reg_values("HKLM", path)), sorted(n.encode() for n, _, _ in values))
        harness.reset_settings(self.driver)
        self.assertEqual(self.driver.reg_get("HKLM", path, "flag"), (None, None))
        self.assertIsNone(self.driver.reg_class("HKLM", path))


if __name__ == "__main__":
    harness.main()
