"""The three files across restarts, signals, crashes, failing writes, hand-written and hostile
contents and other users."""

import os
import random
import signal
import time
import unittest

from harness import CAPTION, SCREEN_HEIGHT, SCREEN_WIDTH, DesktopTest, records, wait_until

NOBODY = 65534


def run_as(user, directory, *files):
    """Gives the directory and files to `user` (nobody, when the tests run as root, who can
    read and write anything)."""
    for path in (directory, *files):
        if user is not None:
            os.chown(path, user, user)
    return user


class Persistence(DesktopTest):
    def test_hand_written_files_place_size_and_fill_the_window(self):
        program = self.start(
            kobako_f1=b" 3000 \r\n 2400 \r\n",
            kobako_f2=b" 1 \r\n3\r\n18\r\n1\r\n5\r\n",  # text boxes, 3 slots, bottom left
            kobako_f3=records("stored 1", "stored 2", "stored 3", "stored 4"))
        self.copy(program, "new 1", "new 2")
        self.assertEqual(program.geometry(), (0, SCREEN_HEIGHT - 200, 160, 200))
        self.assertEqual(program.stop(), 0)
        self.assertEqual(program.file("kobako.f3"), records("new 2", "new 1", "stored 1"))
        self.assertEqual(program.file("kobako.f1"), b" 3000 \r\n 2400 \r\n")
        self.assertEqual(program.file("kobako.f2"), b" 1 \r\n3\r\n18\r\n1\r\n5\r\n")

    def test_every_ending_saves_and_a_restart_reads_it_back(self):
        for sig in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
            program = self.start()
            self.copy(program, f"text for {sig.name}")
            self.assertEqual(program.stop(sig), 0)
            stored = program.file("kobako.f3")
            self.assertTrue(stored.startswith(records(f"text for {sig.name}")))
        # The X server gone, the saves made a second after each change have kept every copy.
        program = self.start()
        self.copy(program, "one", "two")
        self.saved(program, records("two", "one") + stored)
        self.display.close()
        program.process.wait(timeout=10)
        self.assertEqual(program.file("kobako.f3"), records("two", "one") + stored)

    def test_a_kill_during_a_save_never_leaves_a_cut_file(self):
        old = records(*[f"{i:05d} " + "x" * 1000 for i in range(3000)])
        (self.directory / "kobako.f2").write_bytes(b" 1 \r\n5000\r\n18\r\n0\r\n1\r\n")
        (self.directory / "kobako.f3").write_bytes(old)
        random.seed(7)
        for attempt in range(6):
            program = self.start()
            self.copy(program, f"attempt {attempt}")
            before = program.file("kobako.f3")
            program.process.send_signal(signal.SIGTERM)
            time.sleep(random.uniform(0, 0.03))  # the kill comes at any moment of the save
            program.kill()
            self.assertIn(program.file("kobako.f3"), (before, records(f"attempt {attempt}") + before))
            for leftover in self.directory.glob(".kobako.f3.*"):
                leftover.unlink()  # a temporary file the kill interrupted

    def test_failing_writes_are_said_and_no_keeps_the_history(self):
        user = run_as(NOBODY if os.geteuid() == 0 else None, self.directory)
        os.chmod(self.directory, 0o555)  # the user's own directory, which they cannot write
        self.addCleanup(os.chmod, self.directory, 0o755)
        program = self.start(user=user)
        # Said at once, before any copy brings the window.
        program.answer()
        self.copy(program, "keep me")
        x, y, w, _ = program.geometry()
        self.click_at((x + w - CAPTION // 2, y + CAPTION // 2))  # the exit button
        # The question names the file; Escape answers No, and the program runs on.
        program.answer("Escape")
        self.copy(program, "still capturing")
        self.assertEqual(os.listdir(self.directory), [])

    def test_an_unreadable_history_is_said_and_never_written_over(self):
        history = self.directory / "kobako.f3"
        history.write_bytes(records("old"))
        os.chmod(history, 0o200)
        program = self.start(user=run_as(NOBODY if os.geteuid() == 0 else None, self.directory,
                                         history))
        program.answer()
        self.copy(program, "new")
        self.assertEqual(program.stop(), 0, program.said())
        self.assertIn("kobako.f3", program.said())
        os.chmod(history, 0o600)
        self.assertEqual(history.read_bytes(), records("old"))

    def test_a_second_start_brings_the_first_forward_and_ends(self):
        first = self.start()
        self.assertEqual(first.on_screen(), [])  # parked and minimized before any copy
        before = sorted(os.listdir(self.directory))
        second = self.start()
        x, y, w, h = first.geometry()  # placed as a copy would place it
        self.assertEqual((x + w, y), (SCREEN_WIDTH, SCREEN_HEIGHT // 2 - h // 2))
        wait_until(second.own_windows, what="the message")
        # Copies made while the message waits do not pile up in it: it never watched.
        self.assertNotIn("clipboard read", second.said())
        self.display.xdotool("key", "Return")
        self.assertEqual(second.process.wait(timeout=10), 1)
        again = self.start()  # a signal ends its message too
        self.assertEqual(again.stop(signal.SIGHUP), 1)
        self.assertEqual(sorted(os.listdir(self.directory)), before)
        self.assertIsNone(first.process.poll())


@unittest.skipUnless(os.geteuid() == 0, "needs root to start the program as another user")
class OtherUsers(DesktopTest):
    def test_another_users_directory_is_refused_and_left_as_it_was(self):
        (self.directory / "kobako.f3").write_bytes(records("theirs"))
        run_as(NOBODY, self.directory, self.directory / "kobako.f3")
        # Root (sudo kobako in the user's directory) and the user in root's: each is told.
        for user, owner in ((None, "nobody"), (NOBODY, "root")):
            if user:
                os.chown(self.directory, 0, 0)
                os.chmod(self.directory, 0o755)
            program = self.start(user=user)
            program.answer()
            self.assertEqual(program.process.wait(timeout=10), 1)
            self.assertIn(str(self.directory), program.said())
            self.assertIn(owner, program.said())
        self.assertEqual(sorted(os.listdir(self.directory)), ["kobako.f3"])
        self.assertEqual((self.directory / "kobako.f3").read_bytes(), records("theirs"))
        self.assertEqual(os.stat(self.directory / "kobako.f3").st_uid, NOBODY)


if __name__ == "__main__":
    unittest.main()
