"""Capture from other programs: what enters the history."""

import time
import unittest

from harness import DesktopTest, records


def settings_file(position, mode=0, list_max=5):
    return f" 1 \r\n{list_max}\r\n18\r\n{mode}\r\n{position}\r\n".encode()


class Capture(DesktopTest):
    def test_large_japanese_and_line_break_texts_arrive_intact(self):
        program = self.start(kobako_f2=settings_file(1, list_max=10))
        big = "".join(f"line {i:07d} 日本語\n" for i in range(60000))  # about 1.3 MB
        texts = ["改行\r\nあり\r\n三行目", "lone\rcr", "lone\nlf", "tab\there", big]
        # Each copy must be fetched before the next one takes the clipboard over.
        self.copy_all(*texts[:-1], pause=0.3)
        self.copy_all(big, pause=1.5)
        program.stop()
        # A lone CR would end a line: that text is written in the escaped form.
        self.assertEqual(program.file("kobako.f3"),
                         records(big, "tab\there", "lone\nlf") +
                         b"lone%0Dcr\r\nText Start Point%\r\n" + records("改行\r\nあり\r\n三行目"))

    def test_image_only_clipboard_changes_nothing(self):
        program = self.start()
        png = self.display.run("convert", "-size", "4x4", "xc:red", "png:-").stdout
        self.display.copy(png, target="image/png")
        time.sleep(0.5)
        self.assertEqual(program.on_screen(), [])
        program.stop()
        self.assertEqual(program.file("kobako.f3"), b"")


if __name__ == "__main__":
    unittest.main()
