"""The Windows program under wine on Xvfb, with xclip and the tests' X11 owner as the other
programs: wine hands the X clipboard to the Windows clipboard and back."""

import os
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "e2e"))
from harness import (CAPTION, DesktopTest, SaysOnStderr, WinePrefix, list_rows,  # noqa: E402
                     records, start_owner, wait_until)

FOLDER = Path(os.environ["KOBAKO_WINDOWS_FOLDER"])
TEST_OWNER = os.environ["TEST_OWNER"]  # the Linux build's X11 owner (tests/platform)


class WindowsProgram(DesktopTest, SaysOnStderr):
    def setUp(self):
        super().setUp()
        # A prefix of its own, whose desktop process (which carries the clipboard between X and
        # Windows) is on this display.
        prefix = WinePrefix(self.display.env)
        self.addCleanup(prefix.close)
        self.env = dict(prefix.env, LANG="C.UTF-8")
        self.log = tempfile.TemporaryFile()
        self.addCleanup(self.log.close)
        self.process = subprocess.Popen(["wine", str(FOLDER / "kobako.exe"), "--verbose"],
                                        cwd=self.directory, env=self.env,
                                        stdout=subprocess.DEVNULL, stderr=self.log)
        self.addCleanup(self.process.wait, 10)
        self.addCleanup(self.process.kill)
        self.window = self.display.shown_window("Kobako", timeout=30)

    def history_file(self):
        path = self.directory / "kobako.f3"
        return path.read_bytes() if path.exists() else None

    def owner_copy(self, mode, text):
        start_owner(self, [TEST_OWNER, mode, text], self.display.env)

    def copy_and_wait(self, text):
        """One copy, taken in before the next: xclip serves it only until the next copy."""
        self.copied(lambda: self.display.copy(text), text.encode(), timeout=30)

    def test_copies_are_kept_picked_and_saved_on_exit(self):
        # Before any copy the window is minimized, in the taskbar, as on Linux: wine shows it
        # so on the X side.
        wait_until(lambda: b"Iconic State" in self.display.run("xprop", "-id", self.window,
                                                               "WM_HINTS").stdout and
                   b"IsViewable" in self.display.run("xwininfo", "-id", self.window).stdout,
                   timeout=10, what="the window minimized")
        texts = ["one", "二つ目の テキスト", "three\nlines"]
        for text in texts:
            self.copy_and_wait(text)
        # Newest first, byte for byte.
        wait_until(lambda: self.history_file() == records(*reversed(texts)), timeout=10,
                   what="the history file")

        x, y, width, _ = area = self.display.client_area(self.window)
        self.picked(list_rows(self.display, self.window, area)(2), texts[0].encode())

        # Marked copies: a Linux password manager's, and a Windows one's (wine hands X targets
        # over as Windows formats of the same name); then the same mark allowing it.
        # Wine tells of an X copy carrying such a mark only with the next change: the marked
        # copies are judged by the time the allowed one is taken in.
        self.owner_copy("secret", "hunter2")
        self.owner_copy("history-off", "kept out")
        self.copied(lambda: self.owner_copy("history-on", "allowed"), b"allowed")

        # The exit button, in the caption bar's right corner, saves and ends.
        self.click_at((x + width - CAPTION // 2, y + CAPTION // 2))
        self.assertEqual(self.process.wait(timeout=20), 0)
        self.assertEqual(self.history_file(), records("allowed", *reversed(texts)))

    def test_the_end_of_the_session_saves_and_ends(self):
        self.copy_and_wait("last words")
        self.assertFalse((self.directory / "kobako.f1").exists())
        # Windows may end the process as soon as it has answered the end of the session (wine
        # kills what is left), so the saving is done while answering, and the exit status is
        # not the program's to give.
        subprocess.run(["wineboot", "--end-session"], env=self.env, check=True, timeout=60)
        self.process.wait(timeout=20)
        self.assertEqual(self.history_file(), records("last words"))
        # Only the end writes the window's size.
        self.assertTrue((self.directory / "kobako.f1").exists())

if __name__ == "__main__":
    unittest.main()
