"""What the capture tests share: Varno started with seeded settings and an output file, its buffer read back
through Send To File, and copies made by another Wine program (the driver) or by an X11 program (xclip)."""

import os
import subprocess

import harness
from harness import DEFAULT_HTML_SEPARATOR, DEFAULT_TEXT_SEPARATOR, IDM_SEND_TO_FILE, REPLACE_ON_COMMAND, wine_path

WM_DRAWCLIPBOARD = 0x0308


def caption_for(used):
    return b"%d bytes" % used


class CaptureTestCase(harness.VarnoTestCase):

    def start_capture(self, active=True, html=False, separators=False, file_write=REPLACE_ON_COMMAND):
        """Varno with these settings and the output file self.output (absent at first)."""
        self.output = self.path("output.txt")
        harness.seed_settings(self.driver, active=active, html=html, separators=separators, file_write=file_write,
                              output_file=wine_path(self.output))
        return self.start_varno()

    @staticmethod
    def separator(html=False, separators=False):
        """The entry separator right after start: the HTML one only with separators on in HTML format."""
        return DEFAULT_HTML_SEPARATOR if (separators and html) else DEFAULT_TEXT_SEPARATOR

    def read_output(self):
        if not os.path.exists(self.output):
            return None
        with open(self.output, "rb") as file:
            return file.read()

    def buffer_via_file(self, varno, html=False):
        """The buffer's bytes, written out by Send To File (the method must be ReplaceOnCommand)."""
        varno.command(IDM_SEND_TO_FILE)
        varno.settle()
        written = self.read_output()
        header = harness.html_header() if html else b""
        self.assertTrue(written.startswith(header), "a replaced HTML file starts with the header")
        return written[len(header):]

    def copy(self, varno, text, used_after):
        """Another Wine program copies text; returns once Varno's caption shows the new count."""
        self.driver.clip_set_text(text)
        varno.wait_caption(caption_for(used_after))

    def copy_counted(self, varno, text):
        """Another Wine program copies text; returns Varno's count once its caption has changed (in HTML format
        the entry's length depends on the links made)."""
        before = varno.caption()
        self.driver.clip_set_text(text)
        caption = harness.wait_for(lambda: _changed(varno.caption(), before), "the capture of %r" % text[:40])
        return int(caption.split()[0])

    def nothing_captured(self, varno, caption):
        """Every notice sent before has been handled, and the caption still reads as before, with no box."""
        varno.settle()
        self.assertEqual(varno.caption(), caption)
        self.assertEqual(varno.boxes(), [])

    def x11_copy(self, data):
        """An X11 program copies data to the CLIPBOARD selection: xclip, which serves it until another program
        takes the selection."""
        process = subprocess.Popen(["xclip", "-selection", "clipboard", "-quiet", "-i"], stdin=subprocess.PIPE,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(_end, process)
        process.stdin.write(data)
        process.stdin.close()
        return process


def _changed(caption, before):
    return caption if caption != before else None


def _end(process):
    if process.poll() is None:
        process.kill()
    process.wait()
