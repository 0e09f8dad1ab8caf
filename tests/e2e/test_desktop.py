"""The installed program on a desktop with a window manager (openbox): placement, moving by the
caption, resizing by an edge, staying in front, closing, and the menu entry."""

import os
import stat
import subprocess
import tempfile
import unittest
from pathlib import Path

from harness import (CAPTION, KOBAKO, SCREEN_HEIGHT, SCREEN_WIDTH, DesktopTest, Kobako, records,
                     wait_until)


class WindowManager(DesktopTest):
    def setUp(self):
        super().setUp()
        self.wm = subprocess.Popen(["openbox", "--sm-disable"], env=self.display.env,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(self.wm.wait, 10)
        self.addCleanup(self.wm.terminate)
        wait_until(lambda: b"_NET_SUPPORTING_WM_CHECK" in self.display.run(
            "xprop", "-root", check=False).stdout, what="the window manager")

    def drag(self, start, end):
        """The window managers follow the pointer in steps."""
        steps = [arg for step in range(1, 6) for arg in
                 ("mousemove", str(start[0] + (end[0] - start[0]) * step // 5),
                  str(start[1] + (end[1] - start[1]) * step // 5))]
        self.display.xdotool("mousemove", str(start[0]), str(start[1]), "mousedown", "1",
                             *steps, "mouseup", "1")

    def test_place_move_by_the_caption_and_resize_by_an_edge(self):
        program = self.start()
        self.copy(program, "first")
        x, y, w, h = program.geometry()
        self.assertEqual((x + w, y), (SCREEN_WIDTH, SCREEN_HEIGHT // 2 - h // 2))
        self.drag((x + w // 2, y + CAPTION // 2), (x + w // 2 - 300, y + CAPTION // 2 + 100))
        wait_until(lambda: program.geometry()[:2] == (x - 300, y + 100), what="the window moved")
        self.drag((x - 300 + w // 2, y + 100 + h - 2), (x - 300 + w // 2, y + 100 + h + 60))
        wait_until(lambda: program.geometry()[3] >= h + 50, what="the window resized")

    def test_the_menu_entry_keeps_the_files_in_the_users_data_directory(self):
        entry = Path(KOBAKO).resolve().parent.parent / "share/applications/kobako.desktop"
        exec_line = next(line.split("=", 1)[1] for line in entry.read_text().splitlines()
                         if line.startswith("Exec="))
        command, *options = exec_line.split()
        self.assertEqual(command, "kobako")
        home = tempfile.TemporaryDirectory()
        self.addCleanup(home.cleanup)
        env = dict(self.display.env, HOME=home.name)
        env.pop("XDG_DATA_HOME", None)
        program = Kobako(self.display, self.tmp.name, options=options, env=env)
        self.addCleanup(program.kill)
        self.copy(program, "kept in the data directory")
        self.assertEqual(program.stop(), 0)
        data = Path(home.name) / ".local/share/kobako"
        self.assertEqual(stat.S_IMODE(data.stat().st_mode), 0o700)
        self.assertEqual(sorted(p.name for p in data.iterdir()),
                         ["kobako.f1", "kobako.f3"])  # the settings file comes with OK
        self.assertEqual((data / "kobako.f3").read_bytes(), records("kept in the data directory"))
        self.assertEqual(os.listdir(self.tmp.name), [])

    def test_always_in_front_stays_above_another_window(self):
        program = self.start()
        self.copy(program, "first")
        x, y, w, h = program.geometry()
        window = self.open_other_window(f"400x300+{x - 100}+{y - 20}")
        order = self.stacking_order()
        kobako = [int(w) for w in program.window_ids(visible=True)]
        top_kobako = max(order.index(k) for k in kobako if k in order)
        self.assertGreater(top_kobako, order.index(int(window)),
                           "the other window was raised above Kobako")

    def close(self, program):
        """A close request, as the window manager makes it for its close button or Alt+F4."""
        window = wait_until(lambda: program.window_ids(visible=True), what="the window")[0]
        self.display.run("wmctrl", "-i", "-c", window)

    def test_a_close_request_saves_and_ends_and_asks_first_when_the_save_fails(self):
        # With a history the window starts minimized, once the file is read: only then is the
        # file made impossible to replace (earlier, it would be unreadable at start instead).
        program = self.start(kobako_f3=records("older"))
        wait_until(lambda: any(b"Iconic" in self.display.run("xprop", "-id", window, "WM_STATE",
                                                             check=False).stdout
                               for window in program.window_ids()), what="the minimized window")
        (self.directory / "kobako.f3").unlink()
        (self.directory / "kobako.f3").mkdir()
        self.copy(program, "precious")
        self.close(program)
        wait_until(lambda: len(program.own_windows()) > 1, what="the question")
        self.display.xdotool("key", "Escape")  # No: keep running
        wait_until(lambda: len(program.own_windows()) == 1, what="the question answered")
        (self.directory / "kobako.f3").rmdir()
        self.close(program)
        self.assertEqual(program.process.wait(timeout=10), 0)
        self.assertEqual(program.file("kobako.f3"), records("precious", "older"))


if __name__ == "__main__":
    unittest.main()
