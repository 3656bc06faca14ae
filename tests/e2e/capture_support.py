"""What the capture tests share: Varno started with seeded settings and an output file, its buffer read back
through Send To File or Buffer to Clipboard, and copies made by another Wine program (the driver) or by an X11
program (xclip)."""

import os
import subprocess

import harness
from harness import (DEFAULT_HTML_SEPARATOR, DEFAULT_TEXT_SEPARATOR, IDM_SEND_TO_FILE, IDM_TO_CLIPBOARD,
                     REPLACE_ON_COMMAND, wine_path)

WM_DRAWCLIPBOARD = 0x0308


def caption_for(used):
    return b"%d bytes" % used


class CaptureTestCase(harness.VarnoTestCase):

    def start_capture(self, active=True, html=False, separators=False, file_write=REPLACE_ON_COMMAND):
        """Varno with these settings and the output file self.output (absent at first)."""
        self.output = self.path("output.txt")
        harness.seed_settings(self.driver, active=active, html=html, separators=separators, file_write=file_write,
                              output_file=wine_path(self.output))
        varno = self.start_varno()
        # The window is found as soon as it exists; copies count only once it has joined the viewer chain.
        harness.wait_for(lambda: int(self.driver.call("clip_viewer")[0]) == varno.hwnd, "Varno to join the chain")
        return varno

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

    def buffer_via_clipboard(self, varno, used):
        """What Buffer to Clipboard puts on the clipboard (after the header in HTML format); the caption then shows
        the buffer's count in parentheses."""
        varno.command(IDM_TO_CLIPBOARD)
        varno.settle()
        self.assertEqual(varno.caption(), b"(%d bytes)" % used)
        return self.driver.clip_get_text()

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

    def copy_rendered_on_request(self, varno, text):
        """Another program copies text offering it only on request (delayed rendering, as Wine does for an X11
        program's copy). Asked for it, or told that it lost the clipboard, it first sends Varno a second notice
        of the same change, as Wine's X11 bridge can."""
        self.driver.call("clip_set_delayed", text, varno.hwnd)

    def nothing_captured(self, varno, caption):
        """Every notice sent before has been handled, and the caption still reads as before, with no box."""
        varno.settle()
        self.assertEqual(varno.caption(), caption)
        self.assertEqual(varno.boxes(), [])

    def wait_x11_sees(self, text):
        """Waits until X11 programs see text (ASCII, one line) on the clipboard: Wine has taken the X selection for
        a Windows program's copy, so that it cannot take it back from a later X11 copy."""
        def probe():
            shown = subprocess.run(["xclip", "-selection", "clipboard", "-o"], stdout=subprocess.PIPE,
                                   stderr=subprocess.DEVNULL, timeout=10)
            return shown.returncode == 0 and shown.stdout == text
        harness.wait_for(probe, "X11 programs to see %r" % text)

    def x11_copy(self, data):
        """An X11 program copies data to the CLIPBOARD selection: xclip, which serves it until another program
        takes the selection. Returns once Wine has put it on the Windows clipboard. Only the clipboard's sequence
        number is watched meanwhile: a program that opens the clipboard while Wine takes in the copy, or while
        a viewer reads it, makes the copy go missing (a viewer that cannot open the clipboard loses the change)."""
        before = self.driver.clip_sequence()
        process = subprocess.Popen(["xclip", "-selection", "clipboard", "-quiet", "-i"], stdin=subprocess.PIPE,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(_end, process)
        process.stdin.write(data)
        process.stdin.close()
        try:
            harness.wait_for(lambda: self.driver.clip_sequence() != before, "Wine to take in the X11 copy")
        except AssertionError as missed:
            raise AssertionError("%s; xclip %s; Windows clipboard owner, open window: %r; X11 targets: %r" % (
                missed, "runs" if process.poll() is None else "ended", self.driver.call("clip_who"),
                _x11_output("TARGETS"))) from None

def _x11_output(target):
    shown = subprocess.run(["xclip", "-selection", "clipboard", "-o", "-t", target], stdout=subprocess.PIPE,
                           stderr=subprocess.STDOUT, timeout=10)
    return shown.stdout[:200]


def _changed(caption, before):
    return caption if caption != before else None


def _end(process):
    if process.poll() is None:
        process.kill()
    process.wait()
