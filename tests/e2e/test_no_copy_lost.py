"""Sequences in which a copy used to be lost or damaged: every text the user copied is in the
history file, byte for byte and in order, minus what the user deleted."""

import os
import signal
import time
import unittest

from harness import (CAPTION, DesktopTest, Kobako, first_row, records, slot_point,
                     text_box_settings, wait_until)


class CopiesAfterPicks(DesktopTest):
    def test_copies_after_a_plain_and_a_ctrl_pick_are_all_kept(self):
        program = self.start()
        self.copy_all("alpha", "beta")
        x, y, _, _ = program.geometry()
        start, pitch = first_row(self.display, program, CAPTION)
        row = lambda i: (x + 20, y + CAPTION + start + pitch * i + pitch // 2)
        self.click_at(row(1))
        self.click_at(row(0), "ctrl")
        self.assertEqual(self.display.clipboard(), b"alphabeta")
        self.copy_all("gamma", "delta", "epsilon")
        program.stop()
        self.assertEqual(program.file("kobako.f3"),
                         records("epsilon", "delta", "gamma", "beta", "alpha"))

    def test_the_copy_after_a_click_on_the_newest_entry_is_kept(self):
        program = self.start()
        self.copy_all("one")
        x, y, _, _ = program.geometry()
        start, pitch = first_row(self.display, program, CAPTION)
        newest = (x + 20, y + CAPTION + start + pitch // 2)
        expected = ["one"]
        for round_ in range(3):
            self.click_at(newest)
            text = f"next {round_}"
            self.copy_all(text)
            expected.insert(0, text)
        program.stop()
        self.assertEqual(program.file("kobako.f3"), records(*expected))


class CopiesInsideKobako(DesktopTest):
    def test_ctrl_c_in_a_checked_slot_is_captured(self):
        program = self.start(kobako_f2=text_box_settings())
        self.copy_all("hello world")
        _, text = slot_point(program, 0)
        self.click_at(text)  # checks the slot and picks it
        self.display.xdotool("key", "ctrl+Home", "shift+Right", "shift+Right", "shift+Right",
                             "shift+Right", "shift+Right", "ctrl+c")
        time.sleep(0.4)
        self.assertEqual(self.display.clipboard(), b"hello")
        program.stop()
        self.assertEqual(program.file("kobako.f3"), records("hello", "hello world"))


class SlotsChangeOnlyByTyping(DesktopTest):
    def test_no_primary_paste_and_no_drop_into_a_slot(self):
        program = self.start(kobako_f2=text_box_settings())
        self.copy_all("second", "first")
        self.display.copy("PRIMARY", selection="primary")
        self.click_at(slot_point(program, 1)[1], button=2)
        # Select "first" in slot 0 and drag the selection onto slot 1.
        self.click_at(slot_point(program, 0)[1])
        self.display.xdotool("key", "ctrl+Home", "shift+End")
        (x0, y0), (x1, y1) = slot_point(program, 0)[1], slot_point(program, 1)[1]
        self.display.xdotool("mousemove", str(x0 - 45), str(y0), "mousedown", "1")
        for step in range(1, 6):
            self.display.xdotool("mousemove", str(x0 - 45), str(y0 + (y1 - y0) * step // 5))
            time.sleep(0.05)
        self.display.xdotool("mouseup", "1")
        time.sleep(0.4)
        program.stop()
        self.assertEqual(program.file("kobako.f3"), records("first", "second"))


class SizeFile(DesktopTest):
    def test_a_size_never_shown_is_not_written_over(self):
        program = self.start(kobako_f1=b" 900 \r\n 600 \r\n")
        program.stop()
        self.assertEqual(program.file("kobako.f1"), b" 900 \r\n 600 \r\n")

    def test_without_a_file_the_size_is_the_one_a_shown_window_writes(self):
        shown = self.start()
        self.copy_all("x")
        shown.geometry()
        shown.stop()
        after_a_copy = shown.file("kobako.f1")
        os.remove(self.directory / "kobako.f1")
        never_shown = self.start()
        never_shown.stop()
        self.assertEqual(never_shown.file("kobako.f1"), after_a_copy)


class EndingWithoutAnExit(DesktopTest):
    def test_losing_the_x_server_keeps_every_copy(self):
        program = self.start(kobako_f3=records("old"))
        self.copy_all("one", "two", "three")
        time.sleep(3)
        self.display.close()
        program.process.wait(timeout=10)
        self.assertEqual(program.file("kobako.f3"), records("three", "two", "one", "old"))

    def test_a_history_file_that_cannot_be_read_is_reported_and_kept(self):
        user = 65534 if os.geteuid() == 0 else None  # nobody: root reads any file
        history = self.directory / "kobako.f3"
        history.write_bytes(records("old"))
        os.chmod(history, 0o200)
        if user is not None:
            os.chown(self.directory, user, user)
            os.chown(history, user, user)
        program = Kobako(self.display, self.directory, user=user)
        self.addCleanup(program.kill)
        # The message names the file at once; Return closes it.
        wait_until(lambda: program.window_ids(visible=True), what="the message")
        self.display.xdotool("key", "Return")
        self.copy_all("new 1", "new 2")
        time.sleep(1.5)  # past the delay of the saves made after a change
        program.process.send_signal(signal.SIGTERM)
        program.process.wait(timeout=10)
        program.log.seek(0)
        self.assertIn("kobako.f3", program.log.read().decode())
        os.chmod(history, 0o600)
        self.assertEqual(history.read_bytes(), records("old"))


if __name__ == "__main__":
    unittest.main()
