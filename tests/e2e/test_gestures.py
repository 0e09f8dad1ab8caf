"""Giving texts back with the mouse and the keyboard, as a user does, read back with xclip; and
the copies made after picks and inside the program's own text boxes, which are all kept."""

import unittest

from harness import CAPTION, DesktopTest, records, wait_until

TEXT_BOXES = b" 1 \r\n5\r\n18\r\n1\r\n1\r\n"  # five slots


def slot_point(program, index):
    """The middle of a slot's check box and of its text, in screen pixels."""
    x, y, _, h = program.geometry()
    top = y + CAPTION + round((h * 15 - 18 * 20) / 5 / 15 * index)
    return (x + 6, top + 8), (x + 60, top + 10)


class ListGestures(DesktopTest):
    def test_click_ctrl_alt_and_right_click(self):
        program = self.start()
        self.copy(program, "c", "b", "a")
        row = program.rows()
        self.picked(row(1), b"b")
        self.picked(row(2), b"bc", "ctrl")
        self.picked(row(0), b"abc", "alt")
        self.picked(row(0), b"a")
        self.picked(row(2), b"ac", "ctrl")
        self.click_at(row(1), button=3)  # deletes the selected entries: a and c
        self.saved(program, records("b"))

    def test_copies_after_picks_are_all_kept(self):
        program = self.start()
        self.copy(program, "alpha", "beta")
        row = program.rows()
        self.picked(row(1), b"alpha")
        self.picked(row(0), b"alphabeta", "ctrl")
        self.copy(program, "gamma")
        self.picked(row(0), b"gamma")  # the newest, given back: the next copy is kept all the same
        self.copy(program, "delta")
        self.saved(program, records("delta", "gamma", "beta", "alpha"))


class SlotGestures(DesktopTest):
    def test_check_boxes_pick_join_and_delete(self):
        program = self.start(kobako_f2=TEXT_BOXES)
        self.copy(program, "three", "two", "one")
        check = lambda i: slot_point(program, i)[0]
        self.picked(check(1), b"two")
        self.picked(check(2), b"twothree", "ctrl")
        self.picked(check(0), b"onetwothree", "alt")
        self.picked(check(1), b"two")
        self.click_at(check(1), button=3)
        self.saved(program, records("one", "three"))

    def test_a_slot_changes_only_by_typing_and_its_ctrl_c_is_a_copy(self):
        program = self.start(kobako_f2=TEXT_BOXES)
        self.copy(program, "second", "hello world")
        self.display.copy("PRIMARY", selection="primary")
        self.click_at(slot_point(program, 1)[1], button=2)  # no primary paste
        text = slot_point(program, 0)[1]
        self.picked(text, b"hello world")  # a click on the text checks and picks the slot
        # A selection dragged onto another slot drops nothing there.
        self.display.xdotool("key", "ctrl+Home", "shift+End")
        self.drag((text[0] - 45, text[1]), (text[0] - 45, slot_point(program, 1)[1][1]))
        self.display.xdotool("key", "End", "d")  # typing puts the slot's text first
        wait_until(lambda: self.display.clipboard() == b"hello world", what="the text first")
        program.copied(lambda: self.display.xdotool("key", "ctrl+Home", *["shift+Right"] * 5,
                                                    "ctrl+c"), b"hello")
        self.saved(program, records("hello", "hello worldd", "second"))


if __name__ == "__main__":
    unittest.main()
