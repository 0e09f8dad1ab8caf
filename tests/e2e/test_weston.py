"""Kobako under weston: its X11 back end draws into an Xvfb and runs XWayland for the program.
Its window manager can neither minimize a window nor move one it has shown: the minimize button
hides the window, and a copy brings it back where the settings place it, cycle after cycle."""

import os
import re
import shutil
import signal
import subprocess
import tempfile
import unittest
from pathlib import Path

from harness import SCREEN_HEIGHT, SCREEN_WIDTH, Display, Kobako, wait_until

SOCKET = "kobako-test"


class XWaylandDisplay(Display):
    """The X server that weston starts for X clients; weston ends it."""

    def __init__(self, env, name):
        self.name = name
        self.env = dict(env, DISPLAY=name)

    def close(self):
        pass


@unittest.skipUnless(shutil.which("weston") and shutil.which("Xwayland"),
                     "needs weston and XWayland")
class UnderWeston(unittest.TestCase):
    def setUp(self):
        self.outer = Display()
        self.addCleanup(self.outer.close)
        runtime = tempfile.TemporaryDirectory()
        self.addCleanup(runtime.cleanup)
        os.chmod(runtime.name, 0o700)
        log = Path(runtime.name) / "weston.log"
        weston = subprocess.Popen(
            ["weston", "--backend=x11-backend.so", "--xwayland", f"--socket={SOCKET}",
             f"--width={SCREEN_WIDTH}", f"--height={SCREEN_HEIGHT}", "--idle-time=0",
             f"--log={log}"],
            env=dict(self.outer.env, XDG_RUNTIME_DIR=runtime.name), stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL, start_new_session=True)
        self.addCleanup(weston.wait, 10)
        self.addCleanup(os.killpg, weston.pid, signal.SIGTERM)
        listening = wait_until(
            lambda: log.exists() and re.search(r"xserver listening on display (:\d+)",
                                               log.read_text(errors="replace")),
            timeout=15, what="weston's X server")
        self.display = XWaylandDisplay(dict(self.outer.env, XDG_RUNTIME_DIR=runtime.name),
                                       listening.group(1))
        self.tmp = tempfile.TemporaryDirectory()
        self.addCleanup(self.tmp.cleanup)

    def shown(self, program):
        """The history window's place and size once it is on screen."""
        return self.display.client_area(wait_until(lambda: program.window_ids(visible=True),
                                                   what="the window shown")[0])

    def assert_in_place(self, program, place):
        # Weston maps a window's frame at the corner before it moves it into place.
        try:
            wait_until(lambda: self.shown(program) == place, what="the window in place")
        except AssertionError:
            self.assertEqual(self.shown(program), place)

    def test_a_hidden_window_comes_back_where_the_settings_place_it(self):
        program = Kobako(self.display, self.tmp.name)
        self.addCleanup(program.kill)
        program.copied(lambda: self.display.copy("first"), b"first")
        _, _, w, h = self.shown(program)
        x, y = SCREEN_WIDTH - w, SCREEN_HEIGHT // 2 - h // 2  # middle right, the default
        self.assert_in_place(program, (x, y, w, h))
        for cycle in range(3):
            with self.subTest(cycle=cycle):
                self.display.xdotool("mousemove", str(x + w - 36), str(y + 12), "click", "1")
                wait_until(lambda: not program.window_ids(visible=True), what="the window hidden")
                program.copied(lambda: self.display.copy(f"copy {cycle}"), f"copy {cycle}".encode())
                self.assert_in_place(program, (x, y, w, h))

if __name__ == "__main__":
    unittest.main()
