"""Capture from other programs: what enters the history, and the capture button."""

import unittest

from harness import CAPTION, DesktopTest, records


class Capture(DesktopTest):
    def test_large_japanese_and_line_break_texts_arrive_intact(self):
        program = self.start(kobako_f2=b" 1 \r\n10\r\n18\r\n0\r\n1\r\n")
        big = "".join(f"line {i:07d} 日本語\n" for i in range(60000))  # about 1.3 MB
        self.copy(program, "改行\r\nあり\r\n三行目", "lone\rcr", "lone\nlf", "tab\there", big)
        # A lone CR would end a line: that text is written in the escaped form.
        self.saved(program, records(big, "tab\there", "lone\nlf") +
                   b"lone%0Dcr\r\nText Start Point%\r\n" + records("改行\r\nあり\r\n三行目"))

    def test_images_and_paused_capture_change_nothing(self):
        program = self.start()
        png = self.display.run("convert", "-size", "4x4", "xc:red", "png:-").stdout
        self.display.copy(png, target="image/png")
        program.wait_for_changes(1)
        self.assertEqual(program.on_screen(), [])
        self.copy(program, "before")
        x, y, _, _ = program.geometry()
        capture = (x + 2 * CAPTION + CAPTION // 2, y + CAPTION // 2)
        self.click_at(capture)
        self.display.copy("while paused")
        program.wait_for_changes(3)
        self.click_at(capture)
        self.copy(program, "after")
        self.saved(program, records("after", "before"))


if __name__ == "__main__":
    unittest.main()
