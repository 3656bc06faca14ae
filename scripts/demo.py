"""A short demonstration on a private virtual display: Varno captures three texts that an X11 program (xclip)
copies, in HTML format with the replace-on-command method, sends the buffer to a file, and the file is printed.
Run through `scripts/run.sh --demo`."""

import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import harness  # noqa: E402
from harness import IDM_SEND_TO_FILE, REPLACE_ON_COMMAND, wait_for, wine_path  # noqa: E402

TEXTS = [
    b"Meeting notes: see http://varno.example/docs. Questions to help@varno.example please.",
    b"Second copy: plain text, no addresses.",
    b"Third copy: <b>tags</b> stay as they are.",
]


def copy_with_xclip(text):
    # xclip keeps serving the clipboard in the background until another program takes it over.
    subprocess.run(["xclip", "-selection", "clipboard", "-i"], input=text, check=True, timeout=30)


def main():
    work_dir = tempfile.mkdtemp(prefix="varno-demo-")
    output = os.path.join(work_dir, "captured.html")
    driver = harness.Driver()
    try:
        harness.reset_settings(driver)
        harness.seed_settings(driver, html=True, separators=True, file_write=REPLACE_ON_COMMAND,
                              output_file=wine_path(output))
        varno = harness.Varno(driver, work_dir).wait_window()
        print("Varno runs; its caption reads %r." % varno.caption().decode("cp1252"))
        for number, text in enumerate(TEXTS, 1):
            before = varno.caption()
            copy_with_xclip(text)
            wait_for(lambda: varno.caption() != before, "the capture of copy %d" % number)
            print("xclip copied text %d; the caption reads %r." % (number, varno.caption().decode("cp1252")))
        varno.command(IDM_SEND_TO_FILE)
        wait_for(lambda: os.path.exists(output) and os.path.getsize(output) > 0, "the output file")
        varno.settle()
        print("\nSend To File wrote %s:\n" % output)
        with open(output, "rb") as captured:
            sys.stdout.write(captured.read().decode("cp1252"))
        print()
        varno.kill()
    finally:
        driver.close()
        subprocess.run(["pkill", "-x", "xclip"], check=False)


if __name__ == "__main__":
    main()
