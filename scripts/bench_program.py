"""Measures the whole program under Xvfb with clipbench and prints one line per figure."""

import ctypes
import os
import re
import select
import signal
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "tests" / "e2e"))
from harness import Display, Kobako, WinePrefix, records, wait_until  # noqa: E402
from sway import NOBODY, Sway  # noqa: E402

CLIPBENCH = os.environ.get("CLIPBENCH", "clipbench")
WAYLAND_CLIPBENCH = os.environ.get("WAYLAND_CLIPBENCH")
RUNS = 5
SETTINGS_1000 = b" 1 \r\n1000\r\n18\r\n0\r\n1\r\n"


def clipbench(display, *args, timeout=120):
    out = subprocess.run([CLIPBENCH, *map(str, args)], env=display.env, capture_output=True,
                         timeout=timeout, check=True).stdout.decode()
    return dict(re.findall(r"(\w+)=([\d./-]+)", out))


def rss_kib(pid):
    for line in Path(f"/proc/{pid}/status").read_text().splitlines():
        if line.startswith("VmRSS:"):
            return int(line.split()[1])
    raise RuntimeError("no VmRSS")


def history_count(directory):
    return (Path(directory) / "kobako.f3").read_bytes().count(b"Text Start Point\r\n")


class Session:
    """A fresh display and directory, with the program started in it."""

    def __init__(self, files=None):
        self.display = Display()
        self.tmp = tempfile.TemporaryDirectory()
        for name, content in (files or {}).items():
            (Path(self.tmp.name) / name).write_bytes(content)
        self.program = None

    def start(self):
        self.program = Kobako(self.display, self.tmp.name)
        return self.program

    def close(self):
        if self.program:
            self.program.kill()
        self.display.close()
        self.tmp.cleanup()


class MapWatch:
    """Reports, on the monotonic clock, when the clipboard first changes hands and when the
    history window is first shown on the screen."""

    def __init__(self, display):
        self.process = subprocess.Popen([os.environ["MAP_WATCH"]], env=display.env,
                                        stdout=subprocess.PIPE)
        assert self.process.stdout.readline().strip() == b"ready"
        self.copied = None

    def shown_at(self, timeout):
        """The time it was shown, or nothing when it was not within `timeout` seconds."""
        deadline = time.monotonic() + timeout
        while True:
            left = deadline - time.monotonic()
            ready, _, _ = select.select([self.process.stdout], [], [], max(left, 0))
            if not ready:
                return None
            what, at = self.process.stdout.readline().split()
            if what == b"copied":
                self.copied = float(at)
            else:
                return float(at)

    def close(self):
        self.process.kill()
        self.process.wait()


def repeat(measure, runs=RUNS):
    values = []
    for _ in range(runs):
        values.append(measure())
    return values


def report(name, values, unit, target):
    numbers = [v for v in values if v is not None]
    median = statistics.median(numbers)
    print(f"{name:<52} median {median:>9.2f} {unit:<5} min {min(numbers):>9.2f} "
          f"max {max(numbers):>9.2f}   target {target}")


def latency():
    session = Session({"kobako.f2": SETTINGS_1000})
    try:
        session.start()
        result = clipbench(session.display, "latency", 100)
        return float(result["median_ms"]), float(result["p95_ms"]), result["served"]
    finally:
        session.close()


def wayland_latency():
    """The same rounds through sway's data control, the window on an Xvfb of its own."""
    session = Session({"kobako.f2": SETTINGS_1000})
    sway = Sway(xwayland=False)
    try:
        user = NOBODY if os.geteuid() == 0 else None
        if user:
            for path in (Path(session.tmp.name), Path(session.tmp.name) / "kobako.f2"):
                os.chown(path, user, user)
        session.program = Kobako(session.display, session.tmp.name, user=user,
                                 env=dict(session.display.env, **sway.env))
        sway.run("wl-copy", "ready")
        session.program.geometry()  # shown: the copy came in
        out = sway.run(sway.reachable(WAYLAND_CLIPBENCH), "100", out=True).stdout.decode()
        result = dict(re.findall(r"(\w+)=([\d./-]+)", out))
        return float(result["median_ms"]), float(result["p95_ms"]), result["served"]
    finally:
        sway.stop()
        session.close()


def burst(interval):
    session = Session({"kobako.f2": SETTINGS_1000})
    try:
        program = session.start()
        result = clipbench(session.display, "burst", 200, interval)
        program.stop()
        return int(result["fetched"].split("/")[0]), history_count(session.tmp.name)
    finally:
        session.close()


def startup(files=None, command=None):
    """Launch to the first fetch of a copy made right after launch, and RSS 2 s later."""
    session = Session(files)
    try:
        # The launched program keeps what it inherits open: give it no pipe to wait on.
        with tempfile.TemporaryFile() as out:
            subprocess.run([CLIPBENCH, "--retry", "25", "ready", "--",
                            *(command or [os.environ["KOBAKO"]])],
                           env=session.display.env, cwd=session.tmp.name, stdout=out,
                           stderr=subprocess.DEVNULL, timeout=60, check=True)
            out.seek(0)
            result = dict(re.findall(r"(\w+)=([\d./-]+)", out.read().decode()))
        pid = int(result["pid"])
        time.sleep(2)
        rss = rss_kib(pid) / 1024
        os.kill(pid, signal.SIGKILL)
        return float(result["content_request_ms"]), rss
    finally:
        session.close()


def qt_floor_rss():
    """RSS 2 s after a window that shows a one-row list, with Qt and nothing else, appeared."""
    session = Session()
    watch = MapWatch(session.display)
    try:
        process = subprocess.Popen([os.environ["QT_FLOOR"]], env=session.display.env,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        watch.shown_at(10)
        time.sleep(2)
        rss = rss_kib(process.pid) / 1024
        process.kill()
        process.wait()
        return rss
    finally:
        watch.close()
        session.close()


def memory_growth(size, count, interval):
    session = Session({"kobako.f2": SETTINGS_1000})
    try:
        program = session.start()
        clipbench(session.display, "latency", 1)  # the window is shown: its first paint is done
        time.sleep(0.5)
        before = rss_kib(program.process.pid)
        clipbench(session.display, "--size", size, "--pause", interval, "latency", count,
                  timeout=600)
        time.sleep(1)
        return (rss_kib(program.process.pid) - before) / 1024
    finally:
        session.close()


def big_history_startup_and_save():
    """Launch to the window shown with a copy made right at launch, the history loaded first;
    then from SIGTERM to the history file written (its modification time)."""
    stored = records(*[f"{i:05d} " + "x" * 1018 for i in range(10000)])
    settings = b" 1 \r\n32767\r\n18\r\n0\r\n1\r\n"
    session = Session({"kobako.f2": settings, "kobako.f3": stored})
    watch = MapWatch(session.display)
    try:
        began = time.monotonic()
        process = subprocess.Popen([os.environ["KOBAKO"]], cwd=session.tmp.name,
                                   env=session.display.env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        # Copy again and again, as clipbench's ready does, until the window shows one.
        shown = None
        for attempt in range(400):
            session.display.copy(f"copied at launch {attempt}")
            shown = watch.shown_at(0.025)
            if shown:
                break
        time.sleep(0.5)
        signalled = time.time_ns()
        process.send_signal(signal.SIGTERM)
        process.wait(timeout=10)
        written = (Path(session.tmp.name) / "kobako.f3").stat().st_mtime_ns
        return (shown - began) * 1000, (written - signalled) / 1e6
    finally:
        watch.close()
        session.close()


def big_copy():
    """The copy of a 10 MB text: how long its owner took to answer the first request, and the
    time to the window showing it, from the copy itself and from starting the copying program
    (which first builds the 10 MB text)."""
    session = Session({"kobako.f2": SETTINGS_1000})
    try:
        session.start()
        watch = MapWatch(session.display)
        began = time.monotonic()
        result = clipbench(session.display, "--size", 10 << 20, "latency", 1)
        shown = watch.shown_at(10)
        watch.close()
        return float(result["median_ms"]), (shown - watch.copied) * 1000, (shown - began) * 1000
    finally:
        session.close()


def longest_block(display, program, seconds, action):
    """The longest time, in ms, that the window's user-interface thread left a ping unanswered
    while `action` ran and for `seconds` after."""
    window = max(program.window_ids(visible=True), key=int)
    probe = subprocess.Popen([os.environ["UI_PING"], window, str(seconds)], env=display.env,
                             stdout=subprocess.PIPE)
    time.sleep(0.2)  # the probe's first pings answered
    action()
    out = probe.communicate(timeout=seconds + 30)[0].decode()
    return float(re.search(r"longest_ms=([\d.]+)", out).group(1))


def status_kib(pid, field):
    for line in Path(f"/proc/{pid}/status").read_text().splitlines():
        if line.startswith(field + ":"):
            return int(line.split()[1])
    raise RuntimeError(f"no {field}")


def save_block():
    """A history of 288 MB (288 texts of 1 MiB): the window's longest pause while a copy is
    taken in and the history saved after it."""
    stored = records(*[f"{i:03d} " + "s" * ((1 << 20) - 4) for i in range(288)])
    session = Session({"kobako.f2": SETTINGS_1000, "kobako.f3": stored})
    try:
        program = session.start()
        session.display.copy("shows the window")
        program.geometry()
        time.sleep(2)  # its own save after that copy is done
        return longest_block(session.display, program, 3,
                             lambda: session.display.copy("saved with 288 MB"))
    finally:
        session.close()


def pick_block():
    """A history whose newest text is 100 MB: the window's longest pause while a click puts it
    back on the clipboard."""
    stored = records("p" * (100 << 20), "small")
    session = Session({"kobako.f2": SETTINGS_1000, "kobako.f3": stored})
    try:
        program = session.start()
        again = Kobako(session.display, session.tmp.name)  # brings the window, and ends
        again.stop()
        x, y, _, _ = program.geometry()
        time.sleep(1)
        longest = longest_block(session.display, program, 3, lambda: session.display.xdotool(
            "mousemove", str(x + 30), str(y + 32), "click", "1"))
        given_back = session.display.run("xclip", "-selection", "clipboard", "-o", timeout=60)
        assert len(given_back.stdout) == 100 << 20, "the click gave back another text"
        return longest
    finally:
        session.close()


def paste_latency():
    """Under openbox, with the paste after a pick on: from the release of the mouse button on an
    entry to the text in a terminal that has the keyboard (cat writing it to a file)."""
    session = Session({"kobako.f2": SETTINGS_1000 + b"paste-after-pick=1\r\n"})
    env = session.display.env
    wm = subprocess.Popen(["openbox"], env=env, stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL)
    typed = Path(session.tmp.name, "typed")
    terminal = None
    try:
        wait_until(lambda: b"_NET_SUPPORTING_WM_CHECK" in session.display.run(
            "xprop", "-root", check=False).stdout, timeout=30, what="openbox")
        program = session.start()
        terminal = subprocess.Popen(["xterm", "-T", "typing", "-geometry", "40x10+40+40", "-e",
                                     "sh", "-c", f"cat > {typed}"], env=dict(env, LANG="C.UTF-8"),
                                    stderr=subprocess.DEVNULL)
        session.display.xdotool("windowactivate", "--sync", session.display.shown_window("typing"))
        for text in (b"first\n", b"second\n"):
            program.copied(lambda: session.display.copy(text), text)
        row = program.rows()
        wait_until(typed.exists, what="the terminal's file")
        times = []
        for round_ in range(40):
            before = typed.stat().st_size
            session.display.xdotool("mousemove", *map(str, row(round_ % 2)), "mousedown", "1")
            session.display.xdotool("mouseup", "1")
            released = time.perf_counter()
            while typed.stat().st_size == before:
                time.sleep(0.0002)
            times.append((time.perf_counter() - released) * 1000)
        return statistics.median(times)
    finally:
        if terminal:
            terminal.kill()
        session.close()
        wm.kill()
        wm.wait()


class FakeKeyboard:
    """Presses keys through the XTEST extension from this process: an xdotool started for each
    keystroke would itself take longer than what is measured."""

    def __init__(self, display_name):
        self.x11 = ctypes.CDLL("libX11.so.6")
        self.xtest = ctypes.CDLL("libXtst.so.6")
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        self.x11.XStringToKeysym.restype = ctypes.c_ulong
        self.x11.XFlush.argtypes = [ctypes.c_void_p]
        self.xtest.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int,
                                                 ctypes.c_ulong]
        self.display = self.x11.XOpenDisplay(display_name.encode())

    def press(self, *names):
        """Presses the keys in order, then lets them go in the reverse order."""
        codes = [self.x11.XKeysymToKeycode(self.display, self.x11.XStringToKeysym(name.encode()))
                 for name in names]
        for code, down in [(c, True) for c in codes] + [(c, False) for c in reversed(codes)]:
            self.xtest.XTestFakeKeyEvent(self.display, code, down, 0)
        self.x11.XFlush(self.display)


def call_latency():
    """Under openbox: from Ctrl+Alt+H, pressed while a terminal has the keyboard and the window
    is minimized, to the window shown with the keyboard (the window manager's active window, as
    `xprop -spy` reports its change). Esc gives the keyboard back before the next round."""
    session = Session({"kobako.f2": SETTINGS_1000})
    env = session.display.env
    wm = subprocess.Popen(["openbox"], env=env, stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL)
    processes = []
    try:
        wait_until(lambda: b"_NET_SUPPORTING_WM_CHECK" in session.display.run(
            "xprop", "-root", check=False).stdout, timeout=30, what="openbox")
        program = session.start()
        program.copied(lambda: session.display.copy(b"first"), b"first")
        processes.append(subprocess.Popen(["xterm", "-T", "typing", "-e", "cat"], env=env,
                                          stderr=subprocess.DEVNULL))
        terminal = int(session.display.shown_window("typing"), 0)
        kobako = int(session.display.xdotool("search", "--onlyvisible", "--name",
                                             "^Kobako$").split()[0])
        spy = subprocess.Popen(["stdbuf", "-oL", "xprop", "-root", "-spy", "_NET_ACTIVE_WINDOW"],
                               env=env, stdout=subprocess.PIPE, text=True)
        processes.append(spy)

        def active(wanted):
            while int(spy.stdout.readline().split()[-1], 16) != wanted:
                pass

        session.display.xdotool("windowminimize", "--sync", str(kobako))
        session.display.xdotool("windowactivate", "--sync", str(terminal))
        active(terminal)
        keyboard = FakeKeyboard(session.display.name)
        times = []
        for _ in range(20):
            pressed = time.perf_counter()
            keyboard.press("Control_L", "Alt_L", "h")
            active(kobako)
            times.append((time.perf_counter() - pressed) * 1000)
            keyboard.press("Escape")
            active(terminal)
        return statistics.median(times)
    finally:
        for process in processes:
            process.kill()
        session.close()
        wm.kill()
        wm.wait()


def endless_transfer_peak():
    """Peak RSS, in MiB, while an owner that announces a small text sends pieces of 1 MiB for
    ever (300 MB and more), and once it is dropped."""
    session = Session({"kobako.f2": SETTINGS_1000})
    try:
        program = session.start()
        owner = subprocess.Popen([os.environ["TEST_OWNER"], "incr-endless"], env=session.display.env,
                                 stdout=subprocess.DEVNULL)
        time.sleep(8)
        owner.kill()
        owner.wait()
        return status_kib(program.process.pid, "VmHWM") / 1024
    finally:
        session.close()


def private_dirty_at_rest():
    """Private dirty memory, in MiB, a few seconds after three copies were taken in."""
    session = Session({"kobako.f2": SETTINGS_1000})
    try:
        program = session.start()
        for i in range(3):
            session.display.copy(f"copy {i}")
            time.sleep(0.3)
        program.geometry()
        time.sleep(3)
        rollup = Path(f"/proc/{program.process.pid}/smaps_rollup").read_text()
        return int(re.search(r"Private_Dirty:\s+(\d+)", rollup).group(1)) / 1024
    finally:
        session.close()


def report_startup():
    starts = repeat(startup)
    report("start-up: launch to fetching a copy", [s for s, _ in starts], "ms", "<= 50")
    report("RSS 2 s after start", [r for _, r in starts], "MiB", "<= 30")


def report_windows_startup():
    """The Windows program under wine, in a prefix of its own that one start has already made
    (the user's own prefix may be of another wine, or half made)."""
    prefix = WinePrefix()
    try:
        command = ["env", *(f"{name}={value}" for name, value in prefix.variables.items()),
                   "wine", os.environ["KOBAKO_WINDOWS"]]
        startup(command=command)
        starts = repeat(lambda: startup(command=command))
    finally:
        prefix.close()
    report("Windows program under wine: launch to fetching a copy", [s for s, _ in starts],
           "ms", "")
    report("Windows program under wine: RSS 2 s after start", [r for _, r in starts], "MiB", "")


def report_blocks():
    report("window's longest pause: save of a 288 MB history", repeat(save_block, 3), "ms",
           "<= 100")
    report("window's longest pause: pick of a 100 MB text", repeat(pick_block, 3), "ms",
           "<= 100")
    report("peak RSS while a 300 MB text comes in pieces", repeat(endless_transfer_peak, 3),
           "MiB", "<= 512")
    report("private dirty memory at rest after 3 copies", repeat(private_dirty_at_rest), "MiB",
           "<= 3")


def report_latency():
    for name, measure, target, p95_target in (
            ("capture latency", latency, "<= 0.2", "<= 1.5"),
            ("  via Wayland data control", wayland_latency, "<= X11's + 0.5", "")):
        if measure is wayland_latency and not WAYLAND_CLIPBENCH:
            continue
        lat = repeat(measure)
        report(f"{name}, median of 100 rounds", [m for m, _, _ in lat], "ms", target)
        report(f"{name}, p95 of 100 rounds", [p for _, p, _ in lat], "ms", p95_target)
        print(f"{'  served':<52} {', '.join(s for _, _, s in lat)}")
    report("paste after a pick: release to the text pasted", repeat(paste_latency), "ms",
           "<= 30")
    report("call key: pressed to the window shown with the keyboard", repeat(call_latency),
           "ms", "<= 50")


def main():
    if os.environ.get("BENCH_ONLY") == "startup":  # the quick figure, after a change to the start
        report_startup()
        if os.environ.get("KOBAKO_WINDOWS"):
            report_windows_startup()
        return None
    if os.environ.get("BENCH_ONLY") == "blocks":  # the window's pauses and memory with large texts
        return report_blocks()
    if os.environ.get("BENCH_ONLY") == "latency":  # X11's and Wayland's paths side by side
        return report_latency()
    report_latency()
    for interval, target in ((20, "200/200"), (5, "200/200"), (1, ">= 150")):
        results = repeat(lambda: burst(interval))
        report(f"burst of 200 at {interval} ms: fetched", [f for f, _ in results], "", target)
        report(f"burst of 200 at {interval} ms: entries in the history",
               [h for _, h in results], "", target)
    report_startup()
    if os.environ.get("KOBAKO_WINDOWS"):
        report_windows_startup()
    report("  for comparison: Qt alone, a one-row list window", repeat(qt_floor_rss), "MiB", "")
    report("RSS added by 1,000 captures of 1 KB",
           repeat(lambda: memory_growth(1024, 1000, 2)), "MiB", "<= 4")
    report("RSS added by 20 captures of 1 MiB",
           repeat(lambda: memory_growth(1 << 20, 20, 50)), "MiB", "<= 25")
    big = repeat(big_history_startup_and_save)
    report("history of 10,000 x 1 KB: launch to window shown", [s for s, _ in big], "ms",
           "<= 150")
    report("history of 10,000 x 1 KB: SIGTERM to history written", [s for _, s in big], "ms",
           "<= 50")
    copies = repeat(big_copy)
    report("10 MB copy: first request, as its owner saw it", [c[0] for c in copies], "ms",
           "")
    report("10 MB copy: copied to shown", [c[1] for c in copies], "ms", "<= 200")
    report("10 MB copy: copying program started to shown", [c[2] for c in copies], "ms", "")
    report_blocks()


if __name__ == "__main__":
    main()
