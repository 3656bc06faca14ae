#!/usr/bin/env python3
"""Capture benchmark (not a test): copies per second that Varno takes in, and the time from a copy to its caption
update, for a stream of copies from another Wine program, side by side with a bare viewer that only reads the text
(the platform's limit); then a soak of many copies that fill and clear the buffer, with Varno's private memory
before and after. Runs itself inside a private Wine world:

    cmake --build --preset cross -j2 && bench/capture_rate.py [--copies 1000] [--rounds 3] [--soak 10000]
"""

import argparse
import os
import statistics
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(os.path.dirname(HERE), "tests", "e2e"))

import harness  # noqa: E402
from harness import APPEND_ON_COMMAND, IDM_CLEAR_BUFFER, SC_CLOSE, WM_CLOSE  # noqa: E402

BENCH_DIR = os.path.join(os.path.dirname(os.path.dirname(harness.VARNO_EXE)), "bench")
BARE_VIEWER_EXE = os.path.join(BENCH_DIR, "bare_viewer.exe")
BARE_VIEWER_SOURCE = os.path.join(HERE, "bare_viewer.cpp")
COMPILER = "x86_64-w64-mingw32-g++-posix"
WARM_UP = 50  # copies before each measured stream: Wine's first clipboard round trips are slow


def sample_text(size):
    """size bytes of ordinary prose with a few web and e-mail addresses, in CR LF lines."""
    head = (b"Notes from the meeting: the agenda is at http://www.example.com/agenda/2024-05 and the minutes at "
            b"http://intranet.example.org/wiki/Varno?page=minutes&rev=12.\r\n"
            b"Questions to alice@example.com or bob.smith@mail.example.net; the build log is at "
            b"http://ci.example.com/job/varno/1234/console.\r\n")
    filler = (b"The quick brown fox jumps over the lazy dog while the clipboard keeps every word it is given. ")
    text = head
    while len(text) < size:
        text += filler
        if len(text) % 200 < len(filler):
            text += b"\r\n"
    return text[:size]


def build_bare_viewer():
    if os.path.exists(BARE_VIEWER_EXE) and os.path.getmtime(BARE_VIEWER_EXE) >= os.path.getmtime(BARE_VIEWER_SOURCE):
        return
    os.makedirs(BENCH_DIR, exist_ok=True)
    subprocess.run([COMPILER, "-O2", "-std=c++17", "-static", "-mwindows", "-o", BARE_VIEWER_EXE, BARE_VIEWER_SOURCE],
                   check=True)


class Stream:
    """The figures of one copy_stream: total time and per-copy latencies in microseconds."""

    def __init__(self, copies, fields):
        self.copies = copies
        (self.total_us, self.mean_us, self.p50_us, self.p95_us, self.max_us, self.missed,
         self.missed_us) = (int(f) for f in fields)

    @property
    def rate(self):
        """Copies taken in per second; a missed copy and the time spent waiting for it are left out."""
        return (self.copies - self.missed) / ((self.total_us - self.missed_us) / 1e6)


def stream(driver, hwnd, copies, text, clear_every=0):
    return Stream(copies, driver.call("copy_stream", hwnd, copies, text, clear_every, timeout=3600))


def measure_bare(driver, copies, text):
    process = subprocess.Popen(["wine", BARE_VIEWER_EXE], stdin=subprocess.DEVNULL)
    hwnd = harness.wait_for(lambda: driver.find_window("VarnoBenchBareViewer")[0], "the bare viewer's window")
    try:
        stream(driver, hwnd, WARM_UP, text)
        return stream(driver, hwnd, copies, text)
    finally:
        driver.post(hwnd, WM_CLOSE)
        process.wait(timeout=30)


def start_varno(driver, work_dir, html):
    harness.reset_settings(driver)
    harness.seed_settings(driver, html=html, separators=True, file_write=APPEND_ON_COMMAND)
    return harness.Varno(driver, work_dir).wait_window()


def close_varno(varno):
    varno.command(SC_CLOSE)
    varno.wait_end()


def measure_varno(driver, work_dir, copies, text, html):
    varno = start_varno(driver, work_dir, html)
    try:
        stream(driver, varno.hwnd, WARM_UP, text)
        return stream(driver, varno.hwnd, copies, text)
    finally:
        close_varno(varno)


def memory(varno):
    """(anonymous resident KiB, resident KiB) of the Linux process that runs varno.exe. Wine reports no private
    bytes for another process, so the kernel's figures stand in: anonymous memory is the process's own."""
    with open("/proc/%d/cmdline" % varno.proc.pid, "rb") as cmdline:
        if b"varno.exe" not in cmdline.read():
            raise RuntimeError("process %d does not run varno.exe" % varno.proc.pid)
    fields = {}
    with open("/proc/%d/status" % varno.proc.pid) as status:
        for line in status:
            name, _, value = line.partition(":")
            fields[name] = value.split()[0] if value.split() else ""
    return int(fields["RssAnon"]), int(fields["VmRSS"])


def soak(driver, work_dir, copies, text):
    varno = start_varno(driver, work_dir, html=False)
    try:
        # Entries that fit before the buffer would be full; a clear then starts it again.
        clear_every = (2000000 // (len(text) + len(harness.DEFAULT_TEXT_SEPARATOR))) - 1
        stream(driver, varno.hwnd, WARM_UP, text)
        varno.command(IDM_CLEAR_BUFFER)
        varno.wait_caption(b"0 bytes")
        before = memory(varno)
        result = stream(driver, varno.hwnd, copies, text, clear_every)
        full = memory(varno)
        varno.command(IDM_CLEAR_BUFFER)
        varno.wait_caption(b"0 bytes")
        after = memory(varno)
        return result, clear_every, before, full, after
    finally:
        close_varno(varno)


def row(name, streams, bare_streams=None):
    """One line of the table; the share of the bare viewer's rate is the median of the rounds' shares, as each
    round measures both under the same load."""
    rate = statistics.median(s.rate for s in streams)
    mean = statistics.median(s.mean_us for s in streams) / 1000
    p50 = statistics.median(s.p50_us for s in streams) / 1000
    p95 = statistics.median(s.p95_us for s in streams) / 1000
    worst = max(s.max_us for s in streams) / 1000
    missed = sum(s.missed for s in streams)
    if bare_streams:
        share = "%6.1f %%" % (100 * statistics.median(s.rate / b.rate for s, b in zip(streams, bare_streams)))
    else:
        share = "(limit)"
    return "| %-18s | %8.0f | %8s | %7.2f | %6.2f | %6.2f | %6.1f | %6d |" % (
        name, rate, share, mean, p50, p95, worst, missed)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--copies", type=int, default=1000, help="copies per measured stream")
    parser.add_argument("--rounds", type=int, default=3, help="rounds of bare viewer, Text and HTML, interleaved")
    parser.add_argument("--size", type=int, default=1024, help="bytes per copied text")
    parser.add_argument("--soak", type=int, default=10000, help="copies of the soak (0: none)")
    args = parser.parse_args()

    build_bare_viewer()
    harness.ensure_wine_env()
    text = sample_text(args.size)
    driver = harness.Driver()
    work_dir = tempfile.mkdtemp(prefix="varno-bench-")
    try:
        results = {"bare": [], "text": [], "html": []}
        load_before = os.getloadavg()[0]
        for round_number in range(1, args.rounds + 1):
            print("round %d of %d ..." % (round_number, args.rounds), file=sys.stderr, flush=True)
            runs = [("bare", lambda: measure_bare(driver, args.copies, text)),
                    ("text", lambda: measure_varno(driver, work_dir, args.copies, text, html=False)),
                    ("html", lambda: measure_varno(driver, work_dir, args.copies, text, html=True))]
            # Each round starts with another one, so no viewer always runs first after a quiet spell.
            shift = (round_number - 1) % len(runs)
            for name, run in runs[shift:] + runs[:shift]:
                results[name].append(run())

        print("Copies of %d bytes from another Wine program, %d per stream, median of %d rounds "
              "(load average %.1f before, %.1f after):"
              % (args.size, args.copies, args.rounds, load_before, os.getloadavg()[0]))
        print()
        print("| viewer             | copies/s |  of bare | mean ms | p50 ms | p95 ms | max ms | missed |")
        print("|--------------------|---------:|---------:|--------:|-------:|-------:|-------:|-------:|")
        print(row("bare viewer", results["bare"]))
        print(row("Varno, Text format", results["text"], results["bare"]))
        print(row("Varno, HTML format", results["html"], results["bare"]))

        if args.soak:
            print("soak of %d copies ..." % args.soak, file=sys.stderr, flush=True)
            result, clear_every, before, full, after = soak(driver, work_dir, args.soak, text)
            print()
            print("Soak: %d copies of %d bytes in Text format, Clear after every %d: %.0f copies/s, %d missed."
                  % (args.soak, args.size, clear_every, result.rate, result.missed))
            print()
            print("| Varno's memory (KiB)        | private (RssAnon) | resident (VmRSS) |")
            print("|-----------------------------|------------------:|-----------------:|")
            for name, figures in (("before (empty buffer)", before), ("after the last copy", full),
                                  ("after a final Clear", after)):
                print("| %-27s | %17d | %16d |" % (name, figures[0], figures[1]))
    finally:
        driver.close()


if __name__ == "__main__":
    main()
