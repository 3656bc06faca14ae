"""Buffer to Clipboard seen from outside: the buffer (after the HTML header in HTML format) on the clipboard as plain
text, the count in parentheses, and the program's own clipboard writes never captured, while no real copy after
them is lost: not when the echo comes late through another viewer, not when capture was off, not when the
clipboard could not be opened."""

import harness
from harness import IDM_TO_CLIPBOARD, TITLE

from capture_support import CaptureTestCase, caption_for
from test_settings_sheet import IDC_ACTIVE, PSBTN_OK, Sheet

CF_TEXT = 1


class BufferToClipboardTest(CaptureTestCase):

    def test_the_buffer_goes_to_the_clipboard_once_and_is_never_captured_again(self):
        # (HTML format, a viewer of another program ahead of Varno in the chain: our own echoes then come late)
        for html in (False, True):
            for viewer_ahead in (False, True):
                with self.subTest(html=html, viewer_ahead=viewer_ahead):
                    varno = self.start_capture(html=html)
                    viewer = self.driver.viewer_join() if viewer_ahead else None
                    try:
                        self.check_transfer(varno, html)
                    finally:
                        if viewer:
                            self.driver.viewer_leave(viewer)
                        varno.kill()

    def check_transfer(self, varno, html):
        separator = self.separator(html)
        header = harness.html_header() if html else b""
        for text in (b"http://example.com/x", b"caf\xe9\r\nsecond line"):
            used = self.copy_counted(varno, text)
        buffer = self.buffer_via_file(varno, html)
        self.assertEqual(len(buffer), used)

        for attempt in (1, 2):  # the second transfer repeats the first exactly
            self.assertEqual(self.buffer_via_clipboard(varno, used), header + buffer, "attempt %d" % attempt)
            self.assertEqual(self.driver.clip_formats()[:1], [CF_TEXT])
            varno.settle()
            self.assertEqual(varno.caption(), b"(%d bytes)" % used, "nothing captured meanwhile")
            self.assertEqual(varno.boxes(), [])
        self.assertEqual(self.buffer_via_file(varno, html), buffer)

        # The next real copy is captured as usual.
        self.copy(varno, b"next", used + len(b"next" + separator))
        self.assertEqual(self.buffer_via_file(varno, html), buffer + b"next" + separator)

    def test_a_notice_that_comes_while_the_clipboard_is_emptied_does_not_spoil_the_transfer(self):
        # The clipboard's owner, told that it loses the clipboard, sends Varno a notice before it lets go.
        varno = self.start_capture()
        separator = self.separator()
        self.copy_rendered_on_request(varno, b"theirs")
        varno.wait_caption(caption_for(len(b"theirs" + separator)))
        self.assertEqual(self.buffer_via_clipboard(varno, len(b"theirs" + separator)), b"theirs" + separator)
        self.assertEqual(self.buffer_via_file(varno), b"theirs" + separator)

    def test_an_absent_buffer_leaves_the_clipboard_empty(self):
        self.driver.clip_set_text(b"theirs")
        varno = self.start_capture()
        varno.command(IDM_TO_CLIPBOARD)
        harness.wait_for(lambda: self.driver.clip_formats() == [], "the clipboard to be emptied")
        self.nothing_captured(varno, TITLE)
        self.copy(varno, b"first copy", len(b"first copy" + self.separator()))

    def test_a_clipboard_held_by_another_program_changes_nothing_and_loses_no_copy(self):
        varno = self.start_capture()
        separator = self.separator()
        self.copy(varno, b"kept", len(b"kept" + separator))
        self.driver.clip_hold()
        try:
            varno.command(IDM_TO_CLIPBOARD)
            self.nothing_captured(varno, caption_for(len(b"kept" + separator)))
        finally:
            self.driver.clip_release()
        self.assertEqual(self.driver.clip_get_text(), b"kept")
        self.copy(varno, b"not skipped", len(b"kept" + separator + b"not skipped" + separator))

    def test_with_capture_off_the_echo_is_used_up_and_the_first_copy_after_turning_on_is_captured(self):
        # The buffer is filled while capture is on, then capture goes off and on again in the settings sheet.
        varno = self.start_capture()
        separator = self.separator()
        self.copy(varno, b"in the buffer", len(b"in the buffer" + separator))
        self.toggle_capture(varno, b"Varno OFF")
        self.assertEqual(self.buffer_via_clipboard(varno, len(b"in the buffer" + separator)),
                         b"in the buffer" + separator)
        self.toggle_capture(varno, caption_for(len(b"in the buffer" + separator)))
        # Applying the sheet with separators off makes the separator a bare CR LF.
        self.copy(varno, b"first after", len(b"in the buffer" + separator + b"first after\r\n"))

    def toggle_capture(self, varno, caption_after):
        """Clicks "Active" in the settings sheet and closes it with OK."""
        sheet = Sheet(varno)
        sheet.click(IDC_ACTIVE)
        sheet.close(PSBTN_OK)
        varno.wait_caption(caption_after)

if __name__ == "__main__":
    harness.main()
