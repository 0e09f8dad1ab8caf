"""Files in the start directory that are damaged, odd or hostile, and other users: the program
starts, answers and ends, and keeps what it had."""

import os
import tempfile
import time
import unittest
from pathlib import Path

from harness import SCREEN_HEIGHT, SCREEN_WIDTH, DesktopTest, Kobako, records, wait_until


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


NOBODY = 65534


@unittest.skipUnless(os.geteuid() == 0, "needs root to start the program as another user")
class OtherUsers(DesktopTest):
    def test_another_users_directory_is_refused_and_left_as_it_was(self):
        (self.directory / "kobako.f3").write_bytes(records("theirs"))
        os.chown(self.directory / "kobako.f3", NOBODY, NOBODY)
        os.chown(self.directory, NOBODY, NOBODY)
        # Root (sudo kobako in the user's directory) and the user in root's: each is told.
        for user, owner in ((None, "nobody"), (NOBODY, "root")):
            with self.subTest(user=user):
                if user:
                    os.chown(self.directory, 0, 0)
                    os.chmod(self.directory, 0o755)
                program = Kobako(self.display, self.directory, user=user)
                self.addCleanup(program.kill)
                self.display.xdotool("key", "Return")  # the message, the only window
                self.assertEqual(program.process.wait(timeout=10), 1)
                program.log.seek(0)
                said = program.log.read().decode()
                self.assertIn(str(self.directory), said)
                self.assertIn(owner, said)
        self.assertEqual(sorted(os.listdir(self.directory)), ["kobako.f3"])
        self.assertEqual((self.directory / "kobako.f3").read_bytes(), records("theirs"))
        self.assertEqual(os.stat(self.directory / "kobako.f3").st_uid, NOBODY)

    def test_a_lock_place_another_user_made_first_is_passed_over(self):
        temporary = tempfile.TemporaryDirectory()
        self.addCleanup(temporary.cleanup)
        os.chmod(temporary.name, 0o1777)
        squatted = Path(temporary.name) / f"kobako-{os.geteuid()}"
        squatted.mkdir(mode=0o700)
        os.chown(squatted, NOBODY, NOBODY)
        env = dict(self.display.env, TMPDIR=temporary.name)
        env.pop("XDG_RUNTIME_DIR", None)
        mine = Kobako(self.display, self.directory, env=env)
        self.addCleanup(mine.kill)
        self.copy_all("captured")
        mine.geometry()
        second = Kobako(self.display, self.directory, env=env)  # told the first one runs
        self.addCleanup(second.kill)
        wait_until(second.own_windows, what="the message")
        self.display.xdotool("key", "Return")
        self.assertEqual(second.process.wait(timeout=10), 1)
        self.assertEqual(mine.stop(), 0)
        self.assertEqual(mine.file("kobako.f3"), records("captured"))
        self.assertEqual(os.listdir(squatted), [])


if __name__ == "__main__":
    unittest.main()
