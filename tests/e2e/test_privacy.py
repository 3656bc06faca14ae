"""Copies that password managers mark as private stay out of the buffer and the output file, the caption does not
move, the notice still goes down the chain, and the next ordinary copy is captured as usual."""

import struct

import harness
from harness import APPEND_ON_THE_FLY

from capture_support import CaptureTestCase, caption_for

EXCLUDE = "ExcludeClipboardContentFromMonitorProcessing"
VIEWER_IGNORE = "Clipboard Viewer Ignore"
HISTORY = "CanIncludeInClipboardHistory"

# (what comes with the text, the formats, captured?)
CASES = [
    ("the exclusion marker", [(EXCLUDE, b"\0")], False),
    ("the exclusion marker with other content", [(EXCLUDE, b"anything at all")], False),
    ("the viewer-ignore marker", [(VIEWER_IGNORE, b"\1")], False),
    ("history not allowed", [(HISTORY, struct.pack("<I", 0))], False),
    ("history allowed", [(HISTORY, struct.pack("<I", 1))], True),
    ("history allowed, but excluded", [(HISTORY, struct.pack("<I", 1)), (EXCLUDE, b"\0")], False),
    ("a marker among 80 other formats", [("Other Format %d" % i, b"\0") for i in range(80)] + [(VIEWER_IGNORE, b"\1")],
     False),
    ("another registered format only", [("Some Other Registered Format", b"\0\0\0\0")], True),
]

class PrivacyTest(CaptureTestCase):

    def test_marked_copies_are_not_captured(self):
        viewer = self.driver.viewer_join()  # after Varno in the chain, so it proves Varno passes notices on
        self.addCleanup(self.driver.viewer_leave, viewer)
        varno = self.start_capture(file_write=APPEND_ON_THE_FLY)
        separator = self.separator()
        for number, (label, formats, captured) in enumerate(CASES):
            text = b"secret %d" % number
            with self.subTest(label):
                before = self.read_output() or b""  # each case starts from what the file holds
                caption = caption_for(len(before)) if before else harness.TITLE
                notices = self.driver.viewer_notices(viewer)
                self.driver.clip_set_with(text, *formats)
                expected = before + (text + separator if captured else b"")
                if captured:
                    varno.wait_caption(caption_for(len(expected)))
                else:
                    self.nothing_captured(varno, caption)
                harness.wait_for(lambda: self.driver.viewer_notices(viewer) > notices, "the notice passed on")

                ordinary = b"ordinary after %d" % number
                expected += ordinary + separator
                self.copy(varno, ordinary, len(expected))
                self.assertEqual(self.read_output(), expected)

if __name__ == "__main__":
    harness.main()
