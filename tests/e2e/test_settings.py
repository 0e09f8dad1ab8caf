"""The caption buttons and the settings window, used with the mouse and keyboard."""

import time
import unittest

from harness import DesktopTest, records, wait_until

CAPTION = 24  # the caption bar, and each of its square buttons, in pixels


def twips(value):
    return round(value / 15)


class Settings(DesktopTest):
    def window_named(self, name):
        def find():
            found = self.display.run("xdotool", "search", "--onlyvisible", "--name", f"^{name}$",
                                     check=False).stdout.split()
            return found[0].decode() if found else None
        window = wait_until(find, what=f"the window {name}")
        values = dict(line.split("=") for line in
                      self.display.xdotool("getwindowgeometry", "--shell", window).split())
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    def click(self, x, y):
        self.display.xdotool("mousemove", str(x), str(y), "click", "1")
        time.sleep(0.3)

    def caption_button(self, program, left, number):
        x, y, w, _ = program.geometry()
        offset = number * CAPTION + CAPTION // 2
        return (x + offset if left else x + w - offset), y + CAPTION // 2

    def test_settings_edited_with_keyboard_and_mouse_are_saved_and_read_back(self):
        program = self.start()
        self.copy_all("first")
        self.click(*self.caption_button(program, True, 0))
        sx, sy, _, _ = self.window_named("設定")
        self.click(sx + twips(5145) + 10, sy + twips(2340) + 8)  # the list maximum
        self.display.xdotool("key", "ctrl+a", "type", "7")
        self.click(sx + twips(150 + 2130) + 8, sy + twips(2775 + 735) + 9)  # top left
        self.click(sx + twips(5085) + 30, sy + twips(4275) + 15)  # OK
        self.assertEqual(program.file("kobako.f2"), b" 1 \r\n7\r\n18\r\n0\r\n3\r\n")
        program.stop()

        (self.directory / "kobako.f3").unlink()
        again = self.start()
        self.display.copy("second")
        x, y, _, _ = again.geometry()
        self.assertEqual((x, y), (0, 0))

    def test_capture_button_pauses_and_resumes(self):
        program = self.start()
        self.copy_all("before")
        self.click(*self.caption_button(program, True, 2))
        self.copy_all("while paused")
        self.click(*self.caption_button(program, True, 2))
        self.copy_all("after")
        program.stop()
        self.assertEqual(program.file("kobako.f3"), records("after", "before"))

    def test_clear_all_empties_the_history_and_soon_the_file(self):
        program = self.start(kobako_f3=records("old"))
        self.copy_all("new")
        self.click(*self.caption_button(program, False, 2))
        self.display.xdotool("key", "Return")  # Yes
        # What the user cleared stays cleared, also if the session ends without an exit.
        wait_until(lambda: program.file("kobako.f3") == b"", timeout=3,
                   what="the cleared history written")
        program.stop()
        self.assertEqual(program.file("kobako.f3"), b"")


if __name__ == "__main__":
    unittest.main()
