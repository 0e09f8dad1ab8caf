"""Kobako on a Wayland desktop through the compositor's data control: sway, headless, as an
unprivileged user (sway refuses root), and Kobako's window on an Xvfb of its own, so that no
XWayland bridge carries anything. Wayland programs (wl-copy, wl-paste, the tests' own Wayland
owner) copy and paste; X programs copy through sway's own XWayland in a case of their own."""

import os
import shutil
import subprocess
import time
import unittest
from pathlib import Path

from harness import CAPTION, DesktopTest, Kobako, first_row, records, wait_until
from sway import NOBODY, Sway

WAYLAND_OWNER = os.environ.get("WAYLAND_OWNER")


@unittest.skipUnless(shutil.which("sway") and shutil.which("wl-copy") and WAYLAND_OWNER,
                     "needs sway, wl-clipboard and Kobako built with Wayland")
class UnderSway(DesktopTest):
    xwayland = False

    def setUp(self):
        super().setUp()
        self.sway = Sway(self.xwayland)
        self.addCleanup(self.sway.stop)
        if os.geteuid() == 0:
            os.chown(self.directory, NOBODY, NOBODY)
        self.owner = self.sway.reachable(WAYLAND_OWNER)

    def start(self):
        # Room for every copy a case makes.
        (self.directory / "kobako.f2").write_bytes(b" 1 \r\n1000\r\n18\r\n0\r\n1\r\n")
        if os.geteuid() == 0:
            os.chown(self.directory / "kobako.f2", NOBODY, NOBODY)
        env = dict(self.display.env, **self.sway.env)
        program = Kobako(self.display, self.directory, env=env, options=["--verbose"],
                         user=NOBODY if os.geteuid() == 0 else None)
        self.addCleanup(program.kill)
        return program

    def stored(self, program):
        program.stop()
        return program.file("kobako.f3")

    def own(self, mode, text):
        """The tests' Wayland owner copies; once it owns the clipboard."""
        process = subprocess.Popen([*self.sway.as_user, str(self.owner), mode, text],
                                   env=self.sway.env, stdout=subprocess.PIPE,
                                   stderr=subprocess.DEVNULL)
        self.addCleanup(process.wait)
        self.addCleanup(process.kill)
        process.stdout.readline()
        return process


class WaylandCopies(UnderSway):
    def test_copies_and_picks_go_through_the_compositor(self):
        program = self.start()
        for text in ("one", "two", "three"):
            self.sway.copy(text)
            time.sleep(0.3)
        x, y, _, _ = program.geometry()
        start, pitch = first_row(self.display, program, CAPTION)
        row = lambda i: (x + 20, y + CAPTION + start + pitch * i + pitch // 2)
        self.click_at(row(1))
        self.assertEqual(self.sway.paste(), b"two")
        self.click_at(row(2), "ctrl")
        self.assertEqual(self.sway.paste(), b"twoone")
        self.click_at(row(0), "alt")
        self.assertEqual(self.sway.paste(), b"threetwoone")
        self.sway.copy("two")  # a copy elsewhere of a picked text is a copy all the same
        time.sleep(0.5)
        self.assertEqual(self.stored(program), records("two", "three", "two", "one"))
        program.log.seek(0)
        self.assertIn(b"zwlr_data_control_manager_v1", program.log.read())

    def test_secrets_are_never_stored_and_hostile_owners_stop_nothing(self):
        program = self.start()
        for mode in ("secret", "secret-refuse", "secret-exit", "secret-then"):
            self.own(mode, f"hidden {mode}")
            time.sleep(0.3)
        for mode in ("never", "drip", "huge", "die"):
            self.own(mode, f"hostile {mode} " + "x" * 100)
            time.sleep(0.3)
            self.sway.copy(f"after {mode}")
            time.sleep(0.3)
        time.sleep(1.5)  # the huge one refused at 256 MiB
        self.assertIsNone(program.process.poll())
        peak = next(int(line.split()[1]) for line in Path(
            f"/proc/{program.process.pid}/status").read_text().splitlines()
            if line.startswith("VmHWM:"))
        self.assertLess(peak, 600 << 10, "kB at the peak")
        texts = self.stored(program).decode().split("\r\nText Start Point\r\n")
        short = [text[:40] for text in texts]  # a failure names them, not megabytes of them
        self.assertFalse([text for text in short if "hidden" in text], short)
        for mode in ("never", "drip", "huge", "die"):
            self.assertIn(f"after {mode}", short)

    def test_the_compositor_going_away_saves_and_ends(self):
        program = self.start()
        self.sway.copy("kept when sway goes")
        program.geometry()
        self.sway.stop()
        self.assertEqual(program.process.wait(timeout=10), 0)
        self.assertEqual(program.file("kobako.f3"), records("kept when sway goes"))


class XCopiesThroughXWayland(UnderSway):
    xwayland = True

    def test_x_and_wayland_copies_are_each_kept_once(self):
        program = self.start()
        # Sway shares an X program's copy while an X window has the keyboard, as when the user
        # copies in it.
        focused = subprocess.Popen([*self.sway.as_user, "xmessage", "an X program"],
                                   env=dict(self.sway.env, DISPLAY=self.sway.x_display),
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(focused.wait)
        self.addCleanup(focused.kill)
        time.sleep(1.5)
        self.sway.copy("from Wayland")
        time.sleep(0.5)
        subprocess.run([*self.sway.as_user, "xclip", "-selection", "clipboard", "-i"],
                       input=b"from X", env=dict(self.sway.env, DISPLAY=self.sway.x_display),
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=10,
                       check=True)
        wait_until(lambda: self.sway.paste() == b"from X", what="the X copy shared")
        time.sleep(0.5)
        self.sway.copy("Wayland again")
        time.sleep(0.5)
        self.assertEqual(self.stored(program),
                         records("Wayland again", "from X", "from Wayland"))


if __name__ == "__main__":
    unittest.main()
