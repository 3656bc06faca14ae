"""The capture road seen from outside: texts copied by another Wine program and by an X11 program reach the buffer
byte for byte, once each; what is no text or no new copy adds nothing; HTML format on the fly writes the buffer's
bytes to the file; a copy past the capacity is refused with the exact message while capture goes on."""

import harness
from harness import APPEND_ON_THE_FLY, IDM_CLEAR_BUFFER, TITLE, dismiss

from capture_support import WM_DRAWCLIPBOARD, CaptureTestCase, caption_for

CAPACITY = 2000000
CAPACITY_MESSAGE = (b"2000000 bytes maximum buffer capacity exceeded\n"
                    b"Please Inactivate, Clear or copy to Clipboard and Clear.")

# Every byte but NUL (those above 127 among them), line ends of each kind, nothing, and a large text.
WINE_TEXTS = [
    ("bytes 0x01 to 0xFF", bytes(range(1, 0x100))),
    ("empty", b""),
    ("LF only", b"first\nsecond\n\nthird"),
    ("CRLF", b"first\r\nsecond\r\n\r\nthird\r\n"),
    ("lone CR", b"a\rb"),
    ("large", b"".join(b"%07d large line\r\n" % i for i in range(20000))),
    ("same text again", b"first\nsecond\n\nthird"),  # a second copy of the same text is a second entry
]

# What an X11 program copies (UTF-8 on the X side) and what Windows programs then see as CF_TEXT: the ANSI code
# page's bytes, with Wine turning each bare LF into CR LF.
CP1252_HIGH = bytes(b for b in range(0x80, 0x100) if b not in (0x81, 0x8D, 0x8F, 0x90, 0x9D))  # all defined ones
X11_TEXTS = [
    ("ASCII", b"plain words from X11", b"plain words from X11"),
    ("bytes 0x80 to 0xFF of the ANSI code page", CP1252_HIGH.decode("cp1252").encode("utf-8"), CP1252_HIGH),
    ("LF only", b"one\ntwo\n", b"one\r\ntwo\r\n"),
    ("CRLF", b"one\r\ntwo\r\n", b"one\r\ntwo\r\n"),
    ("large", b"".join(b"%06d x11 line\n" % i for i in range(10000)),
     b"".join(b"%06d x11 line\r\n" % i for i in range(10000))),
]


class CaptureTest(CaptureTestCase):

    def test_copies_from_a_wine_program_are_captured_byte_for_byte(self):
        varno = self.start_capture()
        separator = self.separator()
        expected = b""
        for name, text in WINE_TEXTS:
            with self.subTest(text=name):
                expected += text + separator
                self.copy(varno, text, len(expected))
                # A repeated notice for the same change, as the system or another viewer may send: no new entry.
                self.driver.send(varno.hwnd, WM_DRAWCLIPBOARD)
                self.assertEqual(varno.caption(), caption_for(len(expected)))
        self.assertEqual(self.buffer_via_file(varno), expected)
        self.assertEqual(self.buffer_via_clipboard(varno, len(expected)), expected)

    def test_copies_from_an_x11_program_are_captured_once_each(self):
        varno = self.start_capture()
        separator = self.separator()
        expected = b""
        for name, copied, seen in X11_TEXTS:
            with self.subTest(text=name):
                expected += seen + separator
                self.x11_copy(copied)
                varno.wait_caption(caption_for(len(expected)))
        # Wine may send a second notice for one X11 copy; a late one must not have added anything either.
        self.driver.clip_set_text(b"last")
        expected += b"last" + separator
        varno.wait_caption(caption_for(len(expected)))
        self.assertEqual(self.buffer_via_file(varno), expected)
        self.assertEqual(self.buffer_via_clipboard(varno, len(expected)), expected)

    def test_a_notice_that_comes_while_the_text_is_rendered_adds_nothing(self):
        varno = self.start_capture()
        separator = self.separator()
        expected = b""
        for text in (b"rendered on request", b"and once more"):
            expected += text + separator
            self.copy_rendered_on_request(varno, text)
            varno.wait_caption(caption_for(len(expected)))
        self.assertEqual(self.buffer_via_file(varno), expected)

    def test_what_is_no_new_text_adds_nothing(self):
        self.driver.clip_set_text(b"on the clipboard before the start")
        varno = self.start_capture()
        separator = self.separator()
        # A notice for the change that was there before the start.
        self.driver.send(varno.hwnd, WM_DRAWCLIPBOARD)
        self.nothing_captured(varno, TITLE)
        # An image, and an empty clipboard: no text, no message.
        for change in (self.driver.clip_set_image, self.driver.clip_empty):
            with self.subTest(change=change.__name__):
                change()
                self.nothing_captured(varno, TITLE)
        self.copy(varno, b"new", len(b"new" + separator))
        self.assertEqual(self.buffer_via_file(varno), b"new" + separator)

    def test_capture_off_captures_nothing(self):
        varno = self.start_capture(active=False)
        self.x11_copy(b"not wanted from X11")
        self.nothing_captured(varno, TITLE)
        for text in (b"not wanted", b""):
            self.driver.clip_set_text(text)
            self.nothing_captured(varno, TITLE)
        self.assertEqual(self.buffer_via_file(varno), b"")

    def test_html_on_the_fly_writes_the_buffers_bytes_to_the_file(self):
        varno = self.start_capture(html=True, separators=True, file_write=APPEND_ON_THE_FLY)
        texts = [b"http://example.com/a", b"write to someone@example.com or see http://example.com/b?c=d, thanks",
                 b"no address", b"\xe9t\xe9 http://h/\xe4\xf6 \xff"]
        for text in texts:
            used = self.copy_counted(varno, text)
        written = self.read_output()
        self.assertEqual(len(written), used)
        self.assertIn(b'<A HREF="http://example.com/a">http://example.com/a</A>\r\n<hr>\r\n', written)
        self.assertIn(b"no address\r\n<hr>\r\n", written)
        self.assertTrue(written.endswith(b"\r\n<hr>\r\n"))
        # The buffer, read back through the clipboard, holds the same bytes after the header.
        self.assertEqual(self.buffer_via_clipboard(varno, used), harness.html_header() + written)

    def test_a_copy_past_the_capacity_is_refused_and_capture_goes_on(self):
        varno = self.start_capture(file_write=APPEND_ON_THE_FLY)
        separator = self.separator()
        self.copy(varno, b"f" * (CAPACITY - len(separator)), CAPACITY)  # exactly full: still taken
        self.driver.clip_set_text(b"x")  # one byte too many
        box = varno.wait_box()
        self.assertEqual((box.caption, box.text), (TITLE, CAPACITY_MESSAGE))
        self.assertEqual(self.driver.box_icon(box.hwnd).name, "exclamation")
        self.assertEqual(varno.caption(), caption_for(CAPACITY))
        dismiss(self.driver, box)
        self.assertEqual(len(self.read_output()), CAPACITY, "the refused entry reached the file neither")

        varno.command(IDM_CLEAR_BUFFER)
        varno.wait_caption(caption_for(0))
        self.copy(varno, b"after", len(b"after" + separator))
        written = self.read_output()
        self.assertEqual((len(written), written[-len(b"after" + separator):]), (CAPACITY + 5 + len(separator),
                                                                              b"after" + separator))

    def test_clipboard_viewer_shows_its_message_and_capture_goes_on_under_it(self):
        varno = self.start_capture()
        separator = self.separator()
        varno.command(harness.IDM_CLIPBOARD_VIEWER)
        box = varno.wait_box()
        self.assertEqual((box.caption, box.text), (TITLE, b"Could not find file Clipbrd.exe\n  To Install:\n"
                                                          b"Use Control Panel, Add/Remove Programs, Windows Setup,\n"
                                                          b"Accessories, Details and check Clipboard Viewer."))
        self.assertEqual(self.driver.box_icon(box.hwnd).name, "exclamation")
        self.copy(varno, b"under the box", len(b"under the box" + separator))
        self.wait_x11_sees(b"under the box")
        self.x11_copy(b"X11 under the box")
        varno.wait_caption(caption_for(len(b"under the box" + separator + b"X11 under the box" + separator)))
        self.assertTrue(self.driver.info(box.hwnd).exists, "the box is still open")
        dismiss(self.driver, box)
        self.assertEqual(self.buffer_via_file(varno), b"under the box" + separator + b"X11 under the box" + separator)


if __name__ == "__main__":
    harness.main()
