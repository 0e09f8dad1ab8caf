"""Files in the start directory that are damaged, odd or hostile, and other users: the program
starts, answers and ends, and keeps what it had."""

import os
import time
import unittest

from harness import SCREEN_HEIGHT, SCREEN_WIDTH, DesktopTest, Kobako, records


class HostileFiles(DesktopTest):
    def test_fifos_in_place_of_the_files_are_taken_for_missing_ones(self):
        for name in ("kobako.f1", "kobako.f2", "kobako.f3"):
            os.mkfifo(self.directory / name)
        program = self.start()
        self.copy_all("through")
        program.geometry()
        self.assertEqual(program.stop(), 0)

    def test_absurd_numbers_give_a_window_on_the_screen(self):
        program = self.start(kobako_f1=b" 100000000 \r\n 1e30 \r\n",
                             kobako_f2=b" 1 \r\n5\r\n32767\r\n0\r\n1\r\n")
        self.copy_all("seen")
        x, y, w, h = program.geometry()
        self.assertLessEqual(w, SCREEN_WIDTH)
        self.assertLessEqual(h, SCREEN_HEIGHT)
        self.assertGreaterEqual(y, 0)
        started = time.monotonic()
        self.assertEqual(program.stop(), 0)
        self.assertLess(time.monotonic() - started, 5)
        height, width = (float(v) for v in program.file("kobako.f1").split())
        self.assertLessEqual(height, SCREEN_HEIGHT * 15)
        self.assertLessEqual(width, SCREEN_WIDTH * 15)

    def test_temporaries_of_a_killed_save_are_removed_at_the_next_start(self):
        left = self.directory / ".kobako.f3.Ab12Cd.tmp"
        left.write_bytes(records("half a save"))
        users = self.directory / "kobako.f3.notes"
        users.write_bytes(b"the user's own file")
        program = self.start()
        self.assertFalse(left.exists())
        self.assertTrue(users.exists())
        self.copy_all("x")
        program.stop()
        self.assertEqual(sorted(p.name for p in self.directory.iterdir()),
                         ["kobako.f1", "kobako.f3", "kobako.f3.notes"])


@unittest.skipUnless(os.geteuid() == 0, "needs root to start the program as another user")
class OtherUsers(DesktopTest):
    def test_another_user_cannot_keep_kobako_from_starting(self):
        os.chmod(self.directory, 0o755)
        other = Kobako(self.display, self.directory, user=65534)
        self.addCleanup(other.kill)
        mine = self.start()
        self.assertIsNone(mine.process.poll())
        self.assertEqual(mine.stop(), 0)


if __name__ == "__main__":
    unittest.main()
