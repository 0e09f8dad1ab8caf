"""The installed program on a desktop with a window manager (openbox): placement, moving by the
caption, resizing by an edge, staying in front and closing."""

import unittest

from harness import CAPTION, SCREEN_HEIGHT, SCREEN_WIDTH, records, wait_until
from test_window_managers import UnderAWindowManager


class WindowManager(UnderAWindowManager):
    name = "openbox"
    command = ["openbox", "--sm-disable"]

    def test_place_move_by_the_caption_and_resize_by_an_edge(self):
        program = self.start()
        self.copy(program, "first")
        x, y, w, h = program.geometry()
        self.assertEqual((x + w, y), (SCREEN_WIDTH, SCREEN_HEIGHT // 2 - h // 2))
        self.drag((x + w // 2, y + CAPTION // 2), (x + w // 2 - 300, y + CAPTION // 2 + 100))
        wait_until(lambda: program.geometry()[:2] == (x - 300, y + 100), what="the window moved")
        self.drag((x - 300 + w // 2, y + 100 + h - 2), (x - 300 + w // 2, y + 100 + h + 60))
        wait_until(lambda: program.geometry()[3] >= h + 50, what="the window resized")

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
        # The wait has the start's own allowance.
        program = self.start(kobako_f3=records("older"))
        wait_until(lambda: any(b"Iconic" in self.display.run("xprop", "-id", window, "WM_STATE",
                                                             check=False).stdout
                               for window in program.window_ids()), 10, what="the minimized window")
        (self.directory / "kobako.f3").unlink()
        (self.directory / "kobako.f3").mkdir()
        self.copy(program, "precious")
        self.close(program)
        program.answer("Escape")  # No: keep running
        (self.directory / "kobako.f3").rmdir()
        self.close(program)
        self.assertEqual(program.process.wait(timeout=10), 0)
        self.assertEqual(program.file("kobako.f3"), records("precious", "older"))


if __name__ == "__main__":
    unittest.main()
