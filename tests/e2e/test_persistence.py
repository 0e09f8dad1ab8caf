"""The three files across restarts, signals, crashes and failing writes."""

import os
import random
import signal
import time
import unittest

from harness import SCREEN_HEIGHT, SCREEN_WIDTH, DesktopTest, Kobako, records, wait_until


class Persistence(DesktopTest):
    def test_hand_written_files_place_size_and_fill_the_window(self):
        program = self.start(
            kobako_f1=b" 3000 \r\n 2400 \r\n",
            kobako_f2=b" 1 \r\n3\r\n18\r\n1\r\n5\r\n",  # text boxes, 3 slots, bottom left
            kobako_f3=records("stored 1", "stored 2", "stored 3", "stored 4"))
        self.copy_all("new 1", "new 2")
        x, y, w, h = program.geometry()
        self.assertEqual((w, h), (160, 200))
        self.assertEqual((x, y), (0, SCREEN_HEIGHT - 200))
        program.stop()
        self.assertEqual(program.file("kobako.f3"), records("new 2", "new 1", "stored 1"))
        self.assertEqual(program.file("kobako.f1"), b" 3000 \r\n 2400 \r\n")
        self.assertEqual(program.file("kobako.f2"), b" 1 \r\n3\r\n18\r\n1\r\n5\r\n")
        for name in ("kobako.f1", "kobako.f3"):  # readable by their owner only
            self.assertEqual(os.stat(self.directory / name).st_mode & 0o777, 0o600, name)

    def test_every_signal_saves_and_a_restart_reads_it_back(self):
        for sig in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
            with self.subTest(signal=sig):
                program = self.start()
                self.copy_all(f"text for {sig.name}")
                self.assertEqual(program.stop(sig), 0)
                stored = program.file("kobako.f3")
                self.assertTrue(stored.startswith(f"text for {sig.name}\r\n".encode()))
                again = self.start()
                again.stop()
                self.assertEqual(again.file("kobako.f3"), stored)

    def test_kill_during_saving_never_leaves_a_truncated_file(self):
        old = records(*[f"{i:05d} " + "x" * 1000 for i in range(3000)])
        (self.directory / "kobako.f2").write_bytes(b" 1 \r\n5000\r\n18\r\n0\r\n1\r\n")
        (self.directory / "kobako.f3").write_bytes(old)
        random.seed(7)
        for attempt in range(6):
            program = Kobako(self.display, self.directory)
            self.display.copy(f"attempt {attempt}")
            wait_until(program.on_screen, what="the capture")
            before = (self.directory / "kobako.f3").read_bytes()
            program.process.send_signal(signal.SIGTERM)
            time.sleep(random.uniform(0, 0.03))
            program.kill()
            after = (self.directory / "kobako.f3").read_bytes()
            self.assertIn(after, (before, records(f"attempt {attempt}") + before),
                          f"attempt {attempt}: the history file was cut")
            for leftover in self.directory.glob("kobako.f3.*"):
                leftover.unlink()  # a temporary file the kill interrupted

    def test_a_failing_write_is_reported_and_no_keeps_the_history(self):
        user = 65534 if os.geteuid() == 0 else None  # nobody: root writes anywhere
        if user is not None:
            os.chown(self.directory, user, user)
        os.chmod(self.directory, 0o555)  # the user's own directory, which they cannot write
        self.addCleanup(os.chmod, self.directory, 0o755)
        program = Kobako(self.display, self.directory, user=user)
        self.addCleanup(program.kill)
        # Said at once, before any copy brings the window: the message is the one window on the
        # screen. The program then runs on.
        wait_until(program.on_screen, what="the message about the directory")
        self.display.xdotool("key", "Return")
        wait_until(lambda: not program.on_screen(), what="the message closed")
        self.copy_all("keep me")
        x, y, w, _ = program.geometry()
        self.display.xdotool("mousemove", str(x + w - 12), str(y + 12), "click", "1")
        # The question names the file; Escape answers No.
        wait_until(lambda: len(program.window_ids(visible=True)) > 1, what="the question")
        self.display.xdotool("key", "Escape")
        time.sleep(0.5)
        self.assertIsNone(program.process.poll(), "the program ended although No was answered")
        self.copy_all("still capturing")
        self.assertEqual(os.listdir(self.directory), [])

    def test_a_second_instance_in_the_same_directory_brings_the_first_forward_and_ends(self):
        first = self.start()
        self.assertEqual(first.on_screen(), [])  # parked and minimized before any copy
        before = sorted(os.listdir(self.directory))
        second = Kobako(self.display, self.directory, options=["--verbose"])
        self.addCleanup(second.kill)
        x, y, w, h = first.geometry()  # placed as a copy would place it
        self.assertEqual((x + w, y), (SCREEN_WIDTH, SCREEN_HEIGHT // 2 - h // 2))
        wait_until(second.own_windows, what="the message")
        # Copies made while the message waits do not pile up in it: it never watched.
        self.assertNotIn("clipboard read", second.said())
        self.display.xdotool("key", "Return")
        self.assertEqual(second.process.wait(timeout=10), 1)
        # Its message ends with a termination signal too, as the program does.
        for sig in (signal.SIGTERM, signal.SIGHUP):
            again = Kobako(self.display, self.directory)
            self.addCleanup(again.kill)
            self.assertEqual(again.stop(sig), 1, sig.name)
        self.assertEqual(sorted(os.listdir(self.directory)), before)
        self.assertIsNone(first.process.poll())


if __name__ == "__main__":
    unittest.main()
