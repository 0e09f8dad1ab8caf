"""Giving texts back with the mouse and the keyboard, as a user does, read back with xclip."""

import time
import unittest

from harness import CAPTION, DesktopTest, first_row, records, slot_point, text_box_settings


class ListGestures(DesktopTest):
    def click(self, x, y, *keys, button=1):
        self.click_at((x, y), *keys, button=button)

    def test_click_ctrl_alt_and_right_click(self):
        program = self.start()
        self.copy_all("c", "b", "a")
        x, y, _, _ = program.geometry()
        start, pitch = first_row(self.display, program, CAPTION)
        row = lambda i: (x + 20, y + CAPTION + start + pitch * i + pitch // 2)

        self.click(*row(1))
        self.assertEqual(self.display.clipboard(), b"b")
        self.click(*row(2), "ctrl")
        self.assertEqual(self.display.clipboard(), b"bc")
        self.click(*row(0), "alt")
        self.assertEqual(self.display.clipboard(), b"abc")
        # Shift is no gesture: the clipboard stays as it was.
        self.click(*row(1), "shift")
        self.assertEqual(self.display.clipboard(), b"abc")

        self.click(*row(0))
        self.click(*row(2), "ctrl")
        self.click(*row(1), button=3)  # deletes the selected entries: a and c
        program.stop()
        self.assertEqual(program.file("kobako.f3"), records("b"))


class SlotGestures(DesktopTest):
    def slot_point(self, program, index):
        return slot_point(program, index)

    def click(self, point, *keys, button=1):
        self.click_at(point, *keys, button=button)

    def test_check_boxes_pick_join_and_delete(self):
        program = self.start(kobako_f2=text_box_settings())
        self.copy_all("three", "two", "one")
        check = lambda i: self.slot_point(program, i)[0]
        self.click(check(1))
        self.assertEqual(self.display.clipboard(), b"two")
        self.click(check(2), "ctrl")
        self.assertEqual(self.display.clipboard(), b"twothree")
        self.click(check(0), "alt")
        self.assertEqual(self.display.clipboard(), b"onetwothree")
        self.click(check(1))
        self.click(check(1), button=3)
        program.stop()
        self.assertEqual(program.file("kobako.f3"), records("one", "three"))

    def test_typing_into_a_checked_slot_puts_its_text_first(self):
        program = self.start(kobako_f2=text_box_settings())
        self.copy_all("abc")
        _, text = self.slot_point(program, 0)
        self.click(text)  # a click on the text picks the slot
        self.assertEqual(self.display.clipboard(), b"abc")
        self.display.xdotool("key", "End", "d")
        time.sleep(0.3)
        self.assertEqual(self.display.clipboard(), b"abc")
        program.stop()
        self.assertEqual(program.file("kobako.f3"), records("abcd"))


if __name__ == "__main__":
    unittest.main()
