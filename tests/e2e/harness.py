"""Machinery of Varno's end-to-end tests: the private Wine world, the driver process, starting and ending varno.exe."""

import collections
import os
import re
import select
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE_DIR = os.environ.get("VARNO_SOURCE_DIR") or os.path.dirname(os.path.dirname(HERE))
BUILD_DIR = os.path.join(SOURCE_DIR, "build", "cross")
VARNO_EXE = os.environ.get("VARNO_EXE") or os.path.join(BUILD_DIR, "shell", "varno.exe")
DRIVER_EXE = os.environ.get("VARNO_DRIVER") or os.path.join(BUILD_DIR, "tests", "e2e", "varno_driver.exe")
XDND_DROP = os.environ.get("VARNO_XDND_DROP") or os.path.join(BUILD_DIR, "tests", "e2e", "xdnd_drop")
SCREENSHOTS = os.environ.get("VARNO_SCREENSHOTS") or os.path.join(BUILD_DIR, "screenshots")
# What Wine itself prints for the programs started here (a crash report, say). A file, not the test's own output:
# Wine hands these handles on to the helper processes it starts, which may outlive the test.
WINE_LOG = os.environ.get("VARNO_WINE_LOG") or os.path.join(os.path.dirname(SCREENSHOTS), "e2e-wine.log")
WITH_WINE_ENV = os.path.join(SOURCE_DIR, "scripts", "with-wine-env.sh")

# Window messages and commands.
WM_NULL = 0x0000
WM_CLOSE = 0x0010
WM_KEYDOWN = 0x0100
WM_COMMAND = 0x0111
WM_SYSCOMMAND = 0x0112
WM_CANCELMODE = 0x001F
SC_MINIMIZE = 0xF020
SC_CLOSE = 0xF060
SC_KEYMENU = 0xF100
SC_RESTORE = 0xF120
SW_RESTORE = 9
IDOK = 1
IDCANCEL = 2
VK_ESCAPE = 0x1B

WS_MAXIMIZEBOX = 0x00010000
WS_MINIMIZEBOX = 0x00020000
WS_THICKFRAME = 0x00040000
WS_SYSMENU = 0x00080000
WS_CAPTION = 0x00C00000
WS_EX_CLIENTEDGE = 0x00000200
SS_TYPEMASK = 0x1F
SS_ICON = 0x03

MB_OK = 0x0
MB_ICONHAND = 0x10
MB_ICONEXCLAMATION = 0x30

# Varno's system commands.
IDM_HELP = 1
IDM_TO_CLIPBOARD = 2
IDM_CLEAR_BUFFER = 3
IDM_CLIPBOARD_VIEWER = 5
IDM_SEND_TO_FILE = 6
IDM_SETTINGS = 7

# File write methods.
APPEND_ON_THE_FLY = 0
APPEND_ON_COMMAND = 1
REPLACE_ON_COMMAND = 2

REG_SZ = 1
REG_BINARY = 3
REG_MULTI_SZ = 7

SETTINGS_ROOT = "HKLM"
SETTINGS_KEY = "SOFTWARE\\Quorbanex\\Varno"
PROFILE_ROOT = "HKCU"
PROFILE_KEY = "Software\\Quorbanex\\Varno"
PROFILE_SECTION = PROFILE_KEY + "\\Initialization"

TITLE = b"Varno 2.0"
APP_TITLE = b"varno"
DEFAULT_TEXT_SEPARATOR = b"\r\n--- varno ---\r\n"
DEFAULT_HTML_SEPARATOR = b"\r\n<hr>\r\n"

TIMEOUT = 15.0  # seconds any single effect may take to show, even on a loaded machine


def ensure_wine_env():
    """Re-runs this script inside a private Wine world unless it already runs in one."""
    if not os.environ.get("VARNO_WINE_ENV"):
        script = os.path.abspath(sys.argv[0])
        os.execv(WITH_WINE_ENV, [WITH_WINE_ENV, sys.executable, script] + sys.argv[1:])


def main():
    ensure_wine_env()
    unittest.main(verbosity=2)


def wine_log():
    """An append handle on WINE_LOG, for the standard error of a Wine program."""
    os.makedirs(os.path.dirname(WINE_LOG), exist_ok=True)
    return open(WINE_LOG, "ab")


def wait_for(probe, what, timeout=TIMEOUT, interval=0.05):
    """Polls probe() until it returns something true, and returns that; fails after timeout seconds."""
    deadline = time.monotonic() + timeout
    last = None
    while True:
        last = probe()
        if last:
            return last
        if time.monotonic() >= deadline:
            raise AssertionError("timed out after %.0f s waiting for %s (last seen: %r)" % (timeout, what, last))
        time.sleep(interval)


def wine_path(path):
    """The name a Windows program uses for a Linux path (Wine's Z: drive is the Linux root)."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def encode_multi_string(text):
    """A separator as the settings store keeps it: each line feed becomes NUL, and two NULs end the list."""
    return (text + b"\n").replace(b"\n", b"\0") + b"\0"


# ---------------------------------------------------------------------------------------------------------------
# The driver: varno_driver.exe under Wine, one request line and one reply line at a time.

class DriverError(Exception):
    pass


def escape(value):
    if isinstance(value, int):
        value = str(value).encode()
    elif isinstance(value, str):
        value = value.encode("cp1252")
    if not value:
        return "~"
    out = []
    for byte in value:
        if 0x21 <= byte <= 0x7E and byte not in (0x25, 0x7E):
            out.append(chr(byte))
        else:
            out.append("%%%02X" % byte)
    return "".join(out)


def unescape(field):
    if field == "~":
        return b""
    out = bytearray()
    i = 0
    while i < len(field):
        if field[i] == "%":
            out.append(int(field[i + 1:i + 3], 16))
            i += 3
        else:
            out.append(ord(field[i]))
            i += 1
    return bytes(out)


TopWindow = collections.namedtuple("TopWindow", "hwnd pid cls visible caption")
Control = collections.namedtuple("Control", "hwnd id cls style text")
WindowInfo = collections.namedtuple(
    "WindowInfo", "exists visible iconic rect style exstyle normal_rect pid")
Box = collections.namedtuple("Box", "hwnd pid caption text")
BoxIcon = collections.namedtuple("BoxIcon", "name scores rect")


def _groups(fields, size):
    return [fields[i:i + size] for i in range(0, len(fields), size)]


class Driver:
    """One varno_driver.exe process; its methods mirror the driver's commands."""

    def __init__(self):
        with wine_log() as log:
            self._proc = subprocess.Popen(["wine", DRIVER_EXE], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                          stderr=log)
        self._pending = b""
        self.call("ping", timeout=120)  # the first Wine program of a run may wait for Wine's set-up

    def close(self):
        if self._proc.poll() is None:
            try:
                self.call("quit", timeout=5)
                self._proc.wait(timeout=10)
            except (DriverError, subprocess.TimeoutExpired, OSError):
                self._proc.kill()
                self._proc.wait()

    def _read_line(self, timeout):
        deadline = time.monotonic() + timeout
        fd = self._proc.stdout.fileno()
        while b"\n" not in self._pending:
            remaining = deadline - time.monotonic()
            if remaining <= 0:
                raise DriverError("no reply from the driver within %.0f s" % timeout)
            ready, _, _ = select.select([fd], [], [], remaining)
            if ready:
                chunk = os.read(fd, 65536)
                if not chunk:
                    raise DriverError("the driver ended (exit code %r)" % self._proc.poll())
                self._pending += chunk
        line, _, self._pending = self._pending.partition(b"\n")
        return line.decode("ascii").rstrip("\r")

    def call(self, name, *args, timeout=30):
        """Runs one command; returns its fields as bytes, or raises DriverError with the driver's message."""
        request = " ".join([name] + [escape(arg) for arg in args]) + "\n"
        self._proc.stdin.write(request.encode("ascii"))
        self._proc.stdin.flush()
        parts = self._read_line(timeout).split(" ")
        if parts[0] == "err":
            raise DriverError("%s: %s" % (name, unescape(parts[1]).decode("cp1252") if len(parts) > 1 else "?"))
        if parts[0] != "ok":
            raise DriverError("%s: unreadable reply %r" % (name, " ".join(parts)))
        return [unescape(part) for part in parts[1:]]

    # Windows.
    def find_window(self, cls):
        hwnd, pid = self.call("find_window", cls)
        return int(hwnd), int(pid)

    def top_windows(self, pid=0):
        return [TopWindow(int(h), int(p), c.decode("cp1252"), v == b"1", t)
                for h, p, c, v, t in _groups(self.call("top_windows", pid), 5)]

    def children(self, hwnd):
        return [Control(int(h), int(i), c.decode("cp1252"), int(s), t)
                for h, i, c, s, t in _groups(self.call("children", hwnd), 5)]

    def item(self, hwnd, control_id):
        return int(self.call("item", hwnd, control_id)[0])

    def caption(self, hwnd):
        return self.call("caption", hwnd)[0]

    def text(self, hwnd):
        return self.call("text", hwnd)[0]

    def set_text(self, hwnd, text):
        return int(self.call("set_text", hwnd, text)[0])

    def post(self, hwnd, message, wparam=0, lparam=0):
        self.call("post", hwnd, message, wparam, lparam)

    def send(self, hwnd, message, wparam=0, lparam=0):
        return int(self.call("send", hwnd, message, wparam, lparam)[0])

    def info(self, hwnd):
        fields = self.call("info", hwnd)
        if fields[0] != b"1":
            return WindowInfo(False, False, False, None, 0, 0, None, 0)
        n = [int(f) for f in fields[3:]]
        return WindowInfo(True, fields[1] == b"1", fields[2] == b"1", tuple(n[0:4]), n[4], n[5], tuple(n[6:10]), n[10])

    def show(self, hwnd, command):
        self.call("show", hwnd, command)

    def update(self, hwnd):
        self.call("update", hwnd)

    def foreground(self):
        return int(self.call("foreground")[0])

    def process_alive(self, pid):
        return self.call("process_alive", pid)[0] == b"1"

    def kill_process(self, pid):
        self.call("kill_process", pid)

    def own_box(self, caption, text, style):
        """Shows a message box of the driver's own; returns the driver's pid (the box's owner)."""
        return int(self.call("own_box", caption, text, style)[0])

    def box_icon(self, hwnd):
        fields = self.call("box_icon", hwnd)
        if fields[0] == b"none":
            return BoxIcon("none", {}, None)
        names = ("exclamation", "stop", "information", "question")
        scores = dict(zip(names, (float(f) for f in fields[1:5])))
        return BoxIcon(fields[0].decode(), scores, tuple(int(f) for f in fields[5:9]))

    # Clipboard.
    def clip_set_text(self, data):
        self.call("clip_set_text", data)

    def clip_get_text(self):
        present, data = self.call("clip_get_text")
        return data if present == b"1" else None

    def clip_set_image(self):
        self.call("clip_set_image")

    def clip_empty(self):
        self.call("clip_empty")

    def clip_formats(self):
        return [int(f) for f in self.call("clip_formats")]

    def clip_sequence(self):
        return int(self.call("clip_sequence")[0])

    def clip_set_with(self, text, *formats):
        """One copy of text (CF_TEXT) together with registered formats, given as (name, bytes) pairs."""
        self.call("clip_set_with", text, *[field for pair in formats for field in pair])

    def clip_hold(self):
        """The driver keeps the clipboard open, so no other program can open it, until clip_release()."""
        self.call("clip_hold")

    def clip_release(self):
        self.call("clip_release")

    # Clipboard viewers of the driver's own.
    def viewer_join(self):
        """A new viewer joins the chain at its head; returns its id."""
        return int(self.call("viewer_join")[0])

    def viewer_notices(self, viewer_id):
        """How many clipboard notices the viewer has received."""
        return int(self.call("viewer_notices", viewer_id)[0])

    def viewer_leave(self, viewer_id):
        self.call("viewer_leave", viewer_id)

    # Registry.
    def reg_get(self, root, path, name):
        """(type, bytes) of a value, or (None, None) when the key or the value is missing."""
        kind, data = self.call("reg_get", root, path, name)
        return (None, None) if kind == b"none" else (int(kind), data)

    def reg_class(self, root, path):
        """The class string of a key, or None when the key is missing."""
        fields = self.call("reg_class", root, path)
        return None if fields[0] == b"none" else fields[1]

    def reg_values(self, root, path):
        return self.call("reg_values", root, path)

    def reg_set(self, root, path, name, kind, data):
        self.call("reg_set", root, path, name, kind, data)

    def reg_delete_value(self, root, path, name):
        self.call("reg_delete_value", root, path, name)

    def reg_delete_tree(self, root, path):
        self.call("reg_delete_tree", root, path)

    # Files.
    def hold(self, windows_path):
        """Opens a file without sharing until release(); returns the hold's id."""
        return int(self.call("hold", windows_path)[0])

    def release(self, hold_id):
        self.call("release", hold_id)


# ---------------------------------------------------------------------------------------------------------------
# Settings in the registry.

def reset_settings(driver):
    """No settings and no profile: the next start is a first run."""
    driver.reg_delete_tree(SETTINGS_ROOT, "SOFTWARE\\Quorbanex")
    driver.reg_delete_tree(PROFILE_ROOT, "Software\\Quorbanex")


def seed_settings(driver, active=True, separators=False, html=False, file_write=APPEND_ON_COMMAND,
                  output_file=b"", text_separator=DEFAULT_TEXT_SEPARATOR, html_separator=DEFAULT_HTML_SEPARATOR):
    """Stores a whole set of settings, encoded as Varno stores them; file_write may be any byte value."""
    if isinstance(output_file, str):
        output_file = output_file.encode("cp1252")
    values = [
        ("fActive", REG_BINARY, bytes([1 if active else 0])),
        ("fSepar", REG_BINARY, bytes([1 if separators else 0])),
        ("fHtml", REG_BINARY, bytes([0 if html else 1])),  # stored inverted
        ("iFileWrite", REG_BINARY, bytes([file_write])),
        ("OutputFile", REG_SZ, output_file + b"\0"),
        ("Separator", REG_MULTI_SZ, encode_multi_string(text_separator)),
        ("HtmlSepar", REG_MULTI_SZ, encode_multi_string(html_separator)),
    ]
    for name, kind, data in values:
        driver.reg_set(SETTINGS_ROOT, SETTINGS_KEY, name, kind, data)


def html_header():
    """The HTML header exactly as the program holds it: string IDS_HTML_START of resources/varno.rc."""
    return rc_string("IDS_HTML_START")


def rc_string(name):
    """Reads one entry of the string table of resources/varno.rc, with the resource compiler's escapes applied."""
    with open(os.path.join(SOURCE_DIR, "resources", "varno.rc"), "rb") as rc:
        source = rc.read()
    entry = re.search(rb"^[ \t]*" + name.encode() + rb"[ \t]+L?(\")", source, re.MULTILINE)
    if not entry:
        raise AssertionError("%s not found in resources/varno.rc" % name)
    return _rc_literal(source, entry.start(1))


def _rc_literal(source, position):
    """Decodes the string literal at source[position] (a double quote), and any literals that directly follow it."""
    escapes = {b"n": b"\n", b"r": b"\r", b"t": b"\t", b"\\": b"\\", b'"': b'"', b"0": b"\0", b"a": b"\a"}
    out = bytearray()
    i = position + 1
    while True:
        byte = source[i:i + 1]
        if byte == b'"':
            if source[i + 1:i + 2] == b'"':  # "" stands for one quote
                out += b'"'
                i += 2
                continue
            break
        if byte == b"\\":
            following = source[i + 1:i + 2]
            if following == b"x":
                digits = source[i + 2:i + 4]
                out.append(int(digits, 16))
                i += 4
                continue
            if following in escapes:
                out += escapes[following]
                i += 2
                continue
            if following in (b"\n", b"\r"):  # the literal goes on at the start of the next source line
                i += 1
                while source[i:i + 1] in (b"\r", b"\n"):
                    i += 1
                continue
        out += byte
        i += 1
    return bytes(out)


# ---------------------------------------------------------------------------------------------------------------
# varno.exe.

class Varno:
    """One started varno.exe process, seen from outside."""

    def __init__(self, driver, work_dir, exe=None):
        self.driver = driver
        with wine_log() as log:
            self.proc = subprocess.Popen(["wine", exe or VARNO_EXE], cwd=work_dir, stdin=subprocess.DEVNULL,
                                         stdout=subprocess.DEVNULL, stderr=log)
        self.hwnd = 0
        self.pid = 0

    def wait_window(self):
        """Waits for the main window, found as a second start would (by the class name in the profile), and
        shown: the window exists a little before start-up shows it."""
        def probe():
            kind, data = self.driver.reg_get(PROFILE_ROOT, PROFILE_SECTION, "ClassName")
            if kind is None:
                return None
            hwnd, pid = self.driver.find_window(data.split(b"\0")[0])
            return (hwnd, pid) if hwnd and self.driver.info(hwnd).visible else None
        self.hwnd, self.pid = wait_for(probe, "Varno's main window")
        return self

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.kill()

    def ended(self):
        return self.proc.poll() is not None

    def wait_end(self, timeout=TIMEOUT):
        try:
            return self.proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError("varno.exe still runs after %.0f s" % timeout)

    def kill(self):
        """Ends the process at once; returns when its windows are gone, so a next start is a first copy again."""
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()
        if self.hwnd:
            wait_for(lambda: not self.driver.info(self.hwnd).exists, "the ended Varno's window to go")

    # Seen from outside.
    def caption(self):
        return self.driver.caption(self.hwnd)

    def wait_caption(self, expected):
        wait_for(lambda: self.caption() == expected, "the caption %r" % expected)

    def info(self):
        return self.driver.info(self.hwnd)

    def command(self, command_id):
        """Chooses a command of the system menu. Posted: the command may open a modal box."""
        self.driver.post(self.hwnd, WM_SYSCOMMAND, command_id, 0)

    def settle(self):
        """Returns once every message posted to the window before has been handled. Posted messages are handled
        in order, so a window-state change posted last is seen only after the earlier commands have run."""
        iconic = self.info().iconic
        self.driver.post(self.hwnd, WM_SYSCOMMAND, SC_RESTORE if iconic else SC_MINIMIZE, 0)
        wait_for(lambda: self.info().iconic != iconic, "the window to answer a posted command")

    def restore(self):
        """Restores the window as the taskbar would. Its new place is set just after the minimized state ends:
        wait for the rectangle too before looking at it."""
        self.driver.show(self.hwnd, SW_RESTORE)
        wait_for(lambda: not self.info().iconic, "the window to be restored")

    def drop(self, paths):
        """Drops files on the restored window's client area as a file manager would (XDND, from a native X11
        program); returns once the window has the drop in its queue. Wait for its effects as usual."""
        before = self.info()
        self.restore()

        def placed():
            # Wine reports the window restored a moment before it leaves the minimized window's place.
            rect = self.info().rect
            return rect if not before.iconic or rect != before.rect else None
        left, top, right, bottom = wait_for(placed, "the restored window in its place")
        point = [str((left + right) // 2), str((top + bottom) // 2 + 10)]
        done = subprocess.run([XDND_DROP] + point + [os.path.abspath(p) for p in paths],
                              stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=60)
        if done.returncode != 0:
            raise AssertionError("xdnd_drop failed: %s" % done.stdout.decode(errors="replace").strip())

    def boxes(self):
        return find_boxes(self.driver, self.pid)

    def wait_box(self):
        return wait_box(self.driver, self.pid)

    def wait_dialog(self, caption):
        """A dialog of Varno's process with this caption (the help dialog, the settings sheet)."""
        def probe():
            for window in self.driver.top_windows(self.pid):
                if window.cls == "#32770" and window.visible and window.caption == caption:
                    return window.hwnd
            return None
        return wait_for(probe, "the dialog %r" % caption)


def _box_of(driver, window):
    if window.cls != "#32770" or not window.visible:
        return None
    try:
        controls = driver.children(window.hwnd)
    except DriverError:
        return None  # it went away meanwhile
    texts = [c for c in controls if c.cls.lower() == "static" and c.id == 0xFFFF
             and (c.style & SS_TYPEMASK) != SS_ICON]
    buttons = [c for c in controls if c.cls.lower() == "button"]
    if len(texts) != 1 or not buttons:
        return None
    return Box(window.hwnd, window.pid, window.caption, texts[0].text)


def find_boxes(driver, pid=0):
    """The message boxes now shown by a process (pid 0: by any process but the driver)."""
    boxes = []
    for window in driver.top_windows(pid):
        box = _box_of(driver, window)
        if box:
            boxes.append(box)
    return boxes


def wait_box(driver, pid=0, exclude_pid=None):
    def probe():
        boxes = [b for b in find_boxes(driver, pid) if b.pid != exclude_pid]
        return boxes[0] if boxes else None
    return wait_for(probe, "a message box" + (" of process %d" % pid if pid else ""))


def dismiss(driver, box, button=IDOK):
    """Presses a button of a box and waits until the box is gone."""
    driver.post(box.hwnd, WM_COMMAND, button, 0)
    wait_for(lambda: not driver.info(box.hwnd).exists, "the box %r to close" % box.caption)


# ---------------------------------------------------------------------------------------------------------------
# Screenshots.

def screenshot(name, rect=None, margin=8):
    """Saves the screen (or the part around rect = (left, top, right, bottom)) as SCREENSHOTS/name.png."""
    os.makedirs(SCREENSHOTS, exist_ok=True)
    path = os.path.join(SCREENSHOTS, name + ".png")
    command = ["import", "-silent", "-window", "root"]
    if rect:
        left, top = max(rect[0] - margin, 0), max(rect[1] - margin, 0)
        command += ["-crop", "%dx%d+%d+%d" % (rect[2] + margin - left, rect[3] + margin - top, left, top)]
    subprocess.run(command + [path], check=True, timeout=60)
    return path


def union(*rects):
    rects = [r for r in rects if r]
    return (min(r[0] for r in rects), min(r[1] for r in rects), max(r[2] for r in rects), max(r[3] for r in rects))


# ---------------------------------------------------------------------------------------------------------------
# The test case base.

class VarnoTestCase(unittest.TestCase):
    """One driver per test script; every test starts from no settings and no running Varno."""

    driver = None

    @classmethod
    def setUpClass(cls):
        cls.driver = Driver()
        cls.addClassCleanup(cls.driver.close)

    def setUp(self):
        self.work_dir = tempfile.mkdtemp(prefix="varno-e2e-")
        self.addCleanup(shutil.rmtree, self.work_dir, True)
        self._started = []
        self._holds = []
        self.addCleanup(self._end_all)
        self._end_leftovers()
        reset_settings(self.driver)

    def start_varno(self, wait=True, exe=None):
        """Starts varno.exe (the one built here, or exe given by its Windows name)."""
        varno = Varno(self.driver, self.work_dir, exe)
        self._started.append(varno)
        return varno.wait_window() if wait else varno

    def hold(self, path):
        """Another program holds the file open without sharing until the test ends."""
        hold_id = self.driver.hold(wine_path(path))
        self._holds.append(hold_id)
        return hold_id

    def path(self, name):
        return os.path.join(self.work_dir, name)

    def _end_all(self):
        for hold_id in self._holds:
            self.driver.release(hold_id)
        for varno in self._started:
            varno.kill()
        for box in find_boxes(self.driver, self.driver_pid()):
            dismiss(self.driver, box)

    def _end_leftovers(self):
        """A Varno left running by an earlier test that failed badly would turn the next start into a second one."""
        kind, data = self.driver.reg_get(PROFILE_ROOT, PROFILE_SECTION, "ClassName")
        class_name = data.split(b"\0")[0] if kind is not None else None
        for window in self.driver.top_windows(0):
            if (class_name and window.cls.encode("cp1252") == class_name) or window.caption in (TITLE, APP_TITLE):
                self.driver.kill_process(window.pid)
                wait_for(lambda: not self.driver.process_alive(window.pid), "a leftover Varno to end")

    def driver_pid(self):
        if not hasattr(self, "_driver_pid"):
            self._driver_pid = int(self.driver.call("pid")[0])
        return self._driver_pid
