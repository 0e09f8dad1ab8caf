"""The history window under the window managers users run (openbox, xfwm4, fluxbox, icewm): it
never takes the focus by itself, comes on screen when restored before any copy, and keeps one
native window for the whole session."""

import os
import shutil
import signal
import subprocess
import time
import unittest

from harness import SCREEN_HEIGHT, SCREEN_WIDTH, DesktopTest, wait_until

CAPTION = 24


def end_group(pid):
    """Ends a process and everything it started in its session."""
    try:
        os.killpg(pid, signal.SIGKILL)
    except ProcessLookupError:
        pass


class UnderAWindowManager:
    """The cases, run by one subclass for each window manager."""

    command = None

    def setUp(self):
        super().setUp()
        if not shutil.which(self.name):
            self.skipTest(f"{self.name} is not installed")
        # Now and then a window manager does not come up on a busy machine: started again.
        attempts = 3
        for attempt in range(attempts):
            # A session of its own, so that what it starts (xfwm4's session bus and settings
            # service) ends with it.
            self.wm = subprocess.Popen(self.command, env=self.display.env,
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                       start_new_session=True)
            self.addCleanup(self.wm.wait, 10)
            self.addCleanup(end_group, self.wm.pid)
            try:
                wait_until(lambda: b"_NET_SUPPORTING_WM_CHECK" in self.display.run(
                    "xprop", "-root", check=False).stdout, timeout=15, what="the window manager")
                break
            except AssertionError:
                end_group(self.wm.pid)
                if attempt == attempts - 1:
                    raise
        time.sleep(0.5)

    def active_window_name(self):
        """The name of the active window (window managers differ in which of a program's windows
        they name active)."""
        return self.display.run("xdotool", "getactivewindow", "getwindowname",
                                check=False).stdout.decode().strip()

    def kobako_window(self, program):
        """The history window itself (Qt keeps a hidden leader window beside it)."""
        return wait_until(lambda: program.window_ids(visible=True), what="the history window")[0]

    def test_a_copy_brings_the_same_window_back_without_taking_the_focus(self):
        program = self.start()
        editor = self.open_other_window("300x200+40+40")  # an editor the user types in
        self.assertEqual(self.active_window_name(), "xmessage")
        self.display.copy("first")
        program.geometry()
        self.assertEqual(self.active_window_name(), "xmessage")
        window = self.kobako_window(program)
        # Minimized by its caption button, then brought back by a copy: still not focused.
        x, y, w, _ = program.settled()
        self.display.xdotool("mousemove", str(x + w - CAPTION - CAPTION // 2),
                             str(y + CAPTION // 2), "click", "1")
        wait_until(lambda: not program.on_screen(), what="the window minimized")
        self.display.xdotool("windowactivate", "--sync", editor)
        self.display.copy("second")
        program.geometry()
        self.assertEqual(self.active_window_name(), "xmessage")
        self.assertEqual(self.kobako_window(program), window, "a new native window")

    def test_restored_before_any_copy_it_comes_wholly_on_screen(self):
        program = self.start()
        window = program.window_ids()[-1]
        # As a taskbar does: asked to activate it; and as ICCCM says: mapped again.
        for candidate in program.window_ids():
            self.display.run("xdotool", "windowactivate", candidate, check=False)
            self.display.run("xdotool", "windowmap", candidate, check=False)
        x, y, w, h = program.geometry()
        self.assertGreaterEqual(x, 0)
        self.assertGreaterEqual(y, 0)
        self.assertLessEqual(x + w, SCREEN_WIDTH)
        self.assertLessEqual(y + h, SCREEN_HEIGHT)
        self.assertTrue(window)
        self.display.copy("after")
        self.assertEqual(program.geometry(), (x, y, w, h))

    def open_settings(self, program):
        """Opens the settings window with the wrench; gives its id."""
        self.display.copy("first")
        x, y, _, _ = program.settled()
        self.display.xdotool("mousemove", str(x + CAPTION // 2), str(y + CAPTION // 2),
                             "click", "1")  # the wrench
        return wait_until(lambda: self.display.run(
            "xdotool", "search", "--onlyvisible", "--name", "^設定$", check=False
        ).stdout.split(), what="the settings window")[0].decode()

    def client_area(self, window):
        """Where a window's client area is (xdotool counts a reparenting frame twice, so
        xwininfo is asked)."""
        info = self.display.run("xwininfo", "-id", window).stdout.decode()
        values = {key.strip(): int(value) for key, value in
                  (line.split(":", 1) for line in info.splitlines()
                   if line.strip().startswith(("Absolute", "Width", "Height")))}
        return (values["Absolute upper-left X"], values["Absolute upper-left Y"],
                values["Width"], values["Height"])

    def test_the_settings_window_is_centred_with_its_frame(self):
        program = self.start()
        settings = self.open_settings(program)
        # The screen less the window manager's panels.
        area = self.display.run("xprop", "-root", "_NET_WORKAREA").stdout.decode()
        ax, ay, aw, ah = (int(v) for v in area.split("=")[1].split(",")[:4])

        def off_centre():
            extents = self.display.run("xprop", "-id", settings, "_NET_FRAME_EXTENTS",
                                       check=False).stdout.decode()
            left, right, top, bottom = (int(v) for v in extents.split("=")[1].split(","))
            sx, sy, sw, sh = self.client_area(settings)
            return (sx - left + (left + sw + right) / 2 - (ax + aw / 2),
                    sy - top + (top + sh + bottom) / 2 - (ay + ah / 2))

        # A window manager that tells the frame only once the window is mapped sees it moved
        # into place just after.
        try:
            wait_until(lambda: max(map(abs, off_centre())) <= 1.5, timeout=2)
        except AssertionError:
            self.fail(f"the whole window is off the centre by {off_centre()}")

    def test_a_message_of_the_settings_window_is_shown_above_it(self):
        program = self.start()
        settings = self.open_settings(program)
        sx, sy, _, _ = self.client_area(settings)
        self.display.xdotool("mousemove", str(sx + 5145 // 15 + 10), str(sy + 2340 // 15 + 8),
                             "click", "1", "key", "ctrl+a", "type", "abc")
        self.display.xdotool("mousemove", str(sx + 5085 // 15 + 30), str(sy + 4275 // 15 + 15),
                             "click", "1")  # OK: the list maximum is no number
        message = wait_until(lambda: [w for w in program.window_ids(visible=True)
                                      if w not in (settings,) and self.is_dialog(w)],
                             what="the message")[0]
        self.assertEqual(self.stacking_order()[-1], int(message),
                         "the message is not the topmost window")
        self.display.xdotool("key", "Return")
        wait_until(lambda: not self.is_dialog(message) or message not in
                   program.window_ids(visible=True), what="the message closed by Enter")

    def test_the_window_carries_the_program_icon(self):
        program = self.start()  # from the start, also while minimized
        icons = [self.display.run("xprop", "-id", window, "_NET_WM_ICON",
                                  check=False).stdout.decode() for window in program.window_ids()]
        self.assertTrue(any("Icon (64 x 64)" in icon for icon in icons), icons)

    def is_dialog(self, window):
        kind = self.display.run("xprop", "-id", window, "_NET_WM_WINDOW_TYPE",
                                check=False).stdout.decode()
        return "DIALOG" in kind


class Openbox(UnderAWindowManager, DesktopTest):
    name = "openbox"
    command = ["openbox", "--sm-disable"]


class Xfwm4(UnderAWindowManager, DesktopTest):
    name = "xfwm4"
    # Its settings come from xfconf, over a session bus.
    command = ["dbus-run-session", "--", "xfwm4", "--compositor=off"]


class Fluxbox(UnderAWindowManager, DesktopTest):
    name = "fluxbox"
    command = ["fluxbox"]


class IceWM(UnderAWindowManager, DesktopTest):
    name = "icewm"
    command = ["icewm"]


if __name__ == "__main__":
    unittest.main()
