"""Kobako on a Wayland desktop, through XWayland: weston, its X11 back end drawing into an Xvfb,
runs XWayland for the program. A copy made by a Wayland client (wl-copy) and one made by an X
client (xclip) are both captured, the window is on the screen, a copy leaves the keyboard where it
is, and minimizing (which hides the window there) and copying keep one native window."""

import os
import re
import shutil
import signal
import subprocess
import tempfile
import unittest
from pathlib import Path

from harness import SCREEN_HEIGHT, SCREEN_WIDTH, Display, Kobako, records, wait_until

SOCKET = "kobako-test"
HIGHLIGHT = "srgb(48,140,198)"  # of the Fusion style, which Qt uses outside a desktop


class XWaylandDisplay(Display):
    """The X server that weston starts for X clients."""

    def __init__(self, env, name):
        self.name = name
        self.env = dict(env, DISPLAY=name)
        self.env.pop("WAYLAND_DISPLAY", None)

    def close(self):
        pass  # weston ends it


class UnderWeston(unittest.TestCase):
    def setUp(self):
        missing = [tool for tool in ("weston", "Xwayland", "wl-copy") if not shutil.which(tool)]
        if missing:
            self.skipTest(f"not installed: {', '.join(missing)}")
        self.outer = Display()
        self.addCleanup(self.outer.close)
        runtime = tempfile.TemporaryDirectory()
        self.addCleanup(runtime.cleanup)
        os.chmod(runtime.name, 0o700)
        env = dict(self.outer.env, XDG_RUNTIME_DIR=runtime.name)
        log = Path(runtime.name) / "weston.log"
        self.weston = subprocess.Popen(
            ["weston", "--backend=x11-backend.so", "--xwayland", f"--socket={SOCKET}",
             f"--width={SCREEN_WIDTH}", f"--height={SCREEN_HEIGHT}", "--idle-time=0",
             f"--log={log}"],
            env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            start_new_session=True)
        self.addCleanup(self.weston.wait, 10)
        self.addCleanup(os.killpg, self.weston.pid, signal.SIGTERM)
        listening = wait_until(
            lambda: log.exists() and re.search(r"xserver listening on display (:\d+)",
                                               log.read_text(errors="replace")),
            timeout=15, what="weston's X server")
        self.display = XWaylandDisplay(env, listening.group(1))
        self.wayland_env = dict(env, WAYLAND_DISPLAY=SOCKET)
        self.wayland_env.pop("DISPLAY")
        self.tmp = tempfile.TemporaryDirectory()
        self.addCleanup(self.tmp.cleanup)

    def shown_highlight(self):
        """The box, in the compositor's output, of what is drawn in the highlight colour of Qt's
        own style: the history window's caption and its newest entry. X coordinates say nothing
        here: weston places XWayland windows itself."""
        shot = Path(self.tmp.name) / "screen.png"
        self.outer.run("import", "-window", "root", str(shot))
        box = self.outer.run("convert", str(shot), "-fill", "black", "+opaque", HIGHLIGHT,
                             "-trim", "-format", "%@", "info:").stdout.decode()
        match = re.fullmatch(r"(\d+)x(\d+)\+(\d+)\+(\d+)", box.strip())
        return tuple(map(int, match.groups())) if match else None

    def test_copies_from_wayland_and_x_clients_are_captured_and_the_window_comes_on_screen(self):
        program = Kobako(self.display, self.tmp.name)
        self.addCleanup(program.kill)
        program.copied(lambda: self.display.copy("from an X client"), b"from an X client")
        # The caption and the selected newest entry, the whole width of the window.
        width, _, x, y = wait_until(lambda: (box := self.shown_highlight()) and box[0] >= 200
                                    and box, timeout=10, what="the window on the screen")
        self.assertLessEqual(x + width, SCREEN_WIDTH)
        self.assertLess(y, SCREEN_HEIGHT)
        # wl-copy stays behind to serve the text, as xclip does; weston hands it to XWayland.
        program.copied(lambda: subprocess.run(
            ["wl-copy", "from a Wayland client"], env=self.wayland_env, stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL, timeout=10, check=True), b"from a Wayland client")
        self.assertEqual(program.stop(), 0)
        self.assertEqual(program.file("kobako.f3"),
                         records("from a Wayland client", "from an X client"))

    def test_a_copy_leaves_the_keyboard_where_it_is_and_the_window_stays_one(self):
        program = Kobako(self.display, self.tmp.name)
        self.addCleanup(program.kill)
        # Weston cannot minimize: the window is on screen from the start.
        window = wait_until(lambda: self.managed(program), what="the window mapped")
        other = subprocess.Popen(["xmessage", "-geometry", "300x200+40+40", "other"],
                                 env=self.display.env, stdout=subprocess.DEVNULL,
                                 stderr=subprocess.DEVNULL)
        self.addCleanup(other.wait)
        self.addCleanup(other.kill)
        active = wait_until(lambda: (w := self.active_window()) and w != window and w,
                            what="the other window active")
        program.copied(lambda: self.display.copy("while shown"), b"while shown")
        self.assertEqual(self.active_window(), active)
        for cycle in range(3):
            with self.subTest(cycle=cycle):
                x, y, w, _ = self.client_area(window)
                self.display.xdotool("mousemove", str(x + w - 36), str(y + 12), "click", "1")
                wait_until(lambda: not self.viewable(window), what="the window hidden")
                program.copied(lambda: self.display.copy(f"copy {cycle}"), b"copy 0")
                wait_until(lambda: self.viewable(window), what="the window back")
                self.assertEqual(self.managed(program), window)

    def managed(self, program):
        """The history window as weston's window manager manages it, once mapped."""
        return next((w for w in program.window_ids() if self.viewable(w)), None)

    def viewable(self, window):
        return b"IsViewable" in self.display.run("xwininfo", "-id", window).stdout

    def client_area(self, window):
        info = self.display.run("xwininfo", "-id", window).stdout.decode()
        return tuple(int(info.split(name + ":")[1].split()[0]) for name in
                     ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"))

    def active_window(self):
        active = self.display.run("xprop", "-root", "_NET_ACTIVE_WINDOW").stdout.decode()
        return str(int(active.split("#")[1], 16)) if "#" in active else None


if __name__ == "__main__":
    unittest.main()
