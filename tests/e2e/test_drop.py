"""Files dropped on Varno's window from a file manager, seen from outside: what enters the buffer (read back byte
for byte through Send To File), the caption, and the messages that stop a merge."""

import os

import harness
from harness import (APPEND_ON_COMMAND, APPEND_ON_THE_FLY, DEFAULT_HTML_SEPARATOR, DEFAULT_TEXT_SEPARATOR,
                     IDM_SEND_TO_FILE, TITLE, dismiss, wine_path)

CAPACITY_MESSAGE = (b"2000000 bytes maximum buffer capacity exceeded\n"
                    b"Please Inactivate, Clear or copy to Clipboard and Clear.")
CAPTURE_OFF_MESSAGE = b"Varno is turned OFF\nYou can activate it throught Settings"


def count_caption(count):
    return b"%d bytes" % count


class DropTest(harness.VarnoTestCase):

    def write(self, name, data):
        path = self.path(name)
        with open(path, "wb") as file:
            file.write(data)
        return path

    def start(self, **settings):
        """Varno with the buffer readable through Send To File: appended to a missing file, it is the buffer."""
        self.output = self.path("buffer.out")
        settings.setdefault("file_write", APPEND_ON_COMMAND)
        harness.seed_settings(self.driver, output_file=wine_path(self.output), **settings)
        return self.start_varno()

    def buffer(self, varno):
        if os.path.exists(self.output):
            os.remove(self.output)
        varno.command(IDM_SEND_TO_FILE)
        varno.settle()
        self.assertEqual(varno.boxes(), [])
        with open(self.output, "rb") as file:
            return file.read()

    def test_each_file_becomes_one_entry_in_the_order_dropped(self):
        block = 1024
        # (name, content, what enters the buffer): NUL bytes are dropped wherever they stand, all else is kept.
        files = [
            ("plain.txt", b"first line\r\nsecond, 100% \xe9\xb7 and a tab\t.\r\n", None),
            ("empty.txt", b"", None),
            ("one block.txt", (bytes(range(1, 256)) * 5)[:block], None),
            ("blocks and a byte.txt", b"a" * (2 * block) + b"z", None),
            ("nuls.txt", b"A" * 1000 + b"\0" + b"B" * 100 + b"\0\0" + b"C" * 2000 + b"\0",
             b"A" * 1000 + b"B" * 100 + b"C" * 2000),
            ("utf-16.txt", "\ufeffhi".encode("utf-16-le"), b"\xff\xfehi"),
        ]
        self.assertEqual(len(files[2][1]), block)
        paths = [self.write(name, content) for name, content, _ in files]
        varno = self.start()

        expected = b""
        # One file, then the rest in one drop: each drop appends after what is there.
        for dropped in (files[:1], files[1:]):
            varno.drop([self.path(name) for name, _, _ in dropped])
            for _, content, merged in dropped:
                expected += (content if merged is None else merged) + DEFAULT_TEXT_SEPARATOR
            varno.wait_caption(count_caption(len(expected)))
        self.assertEqual(self.buffer(varno), expected)
        self.assertEqual(varno.boxes(), [])
        for path, (_, content, _) in zip(paths, files):
            with open(path, "rb") as file:
                self.assertEqual(file.read(), content, "a dropped file is only read")

    def test_a_file_that_cannot_be_opened_stops_the_merge_there(self):
        directory = self.path("a folder")
        os.mkdir(directory)
        held = self.write("held by another program.txt", b"theirs")
        self.hold(held)
        first = self.write("first.txt", b"merged")
        third = self.write("third.txt", b"never merged")
        cases = [
            (directory, b"Access to %s was denied."),
            (held, b"A sharing violation occurred while accessing %s."),
        ]
        for blocked, description in cases:
            with self.subTest(blocked=os.path.basename(blocked)):
                with self.start() as varno:
                    varno.drop([first, blocked, third])
                    box = varno.wait_box()
                    name = wine_path(blocked).encode("cp1252")
                    expected_text = (b"The file %s could not be opened because of this error:\n" % name
                                     + description % name)
                    self.assertEqual((box.caption, box.text), (TITLE, expected_text))
                    self.assertEqual(self.driver.box_icon(box.hwnd).name, "exclamation")
                    dismiss(self.driver, box)
                    expected = b"merged" + DEFAULT_TEXT_SEPARATOR
                    self.assertEqual(varno.caption(), count_caption(len(expected)))
                    self.assertEqual(self.buffer(varno), expected)

    def test_capacity_running_out_at_the_third_of_five_keeps_the_first_two(self):
        size = 700000
        paths = [self.write("big %d.txt" % i, bytes([0x41 + i]) * size) for i in range(5)]
        varno = self.start()
        varno.drop(paths)
        box = varno.wait_box()
        self.assertEqual((box.caption, box.text), (TITLE, CAPACITY_MESSAGE))
        self.assertEqual(self.driver.box_icon(box.hwnd).name, "exclamation")
        dismiss(self.driver, box)
        varno.settle()
        self.assertEqual(varno.boxes(), [], "one message for the whole drop")
        expected = b"A" * size + DEFAULT_TEXT_SEPARATOR + b"B" * size + DEFAULT_TEXT_SEPARATOR
        self.assertEqual(varno.caption(), count_caption(len(expected)))
        self.assertEqual(self.buffer(varno), expected)

    def test_capture_off_merges_nothing(self):
        path = self.write("dropped.txt", b"text")
        varno = self.start(active=False)
        for attempt in (1, 2):
            with self.subTest(attempt=attempt):
                varno.drop([path])
                box = varno.wait_box()
                self.assertEqual((box.caption, box.text), (TITLE, CAPTURE_OFF_MESSAGE))
                self.assertEqual(self.driver.box_icon(box.hwnd).name, "exclamation")
                dismiss(self.driver, box)
                self.assertEqual(varno.caption(), TITLE)
        self.assertEqual(self.buffer(varno), b"")

    def test_html_format_keeps_addresses_as_plain_text(self):
        content = b"see http://www.example.com/page and write to someone@example.com\r\nwww.example.org"
        path = self.write("links.txt", content)
        varno = self.start(html=True, separators=True)
        varno.drop([path])
        expected = content + DEFAULT_HTML_SEPARATOR
        varno.wait_caption(count_caption(len(expected)))
        self.assertEqual(self.buffer(varno), expected)

    def test_append_on_the_fly_leaves_the_output_file_alone(self):
        path = self.write("dropped.txt", b"dropped text")
        varno = self.start(file_write=APPEND_ON_THE_FLY)
        with open(self.output, "wb") as file:
            file.write(b"before")
        before = os.stat(self.output)
        varno.drop([path])
        varno.wait_caption(count_caption(len(b"dropped text" + DEFAULT_TEXT_SEPARATOR)))
        varno.settle()
        with open(self.output, "rb") as file:
            self.assertEqual(file.read(), b"before")
        self.assertEqual(os.stat(self.output).st_mtime_ns, before.st_mtime_ns)


if __name__ == "__main__":
    harness.main()
