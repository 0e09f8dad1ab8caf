"""The Windows program under wine on Xvfb, with xclip and the tests' X11 owner as the other
programs: wine hands the X clipboard to the Windows clipboard and back."""

import os
import subprocess
import sys
import time
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "e2e"))
from harness import CAPTION, DesktopTest, WinePrefix, first_row, records, wait_until  # noqa: E402

FOLDER = Path(os.environ["KOBAKO_WINDOWS_FOLDER"])
TEST_OWNER = os.environ["TEST_OWNER"]  # the Linux build's X11 owner (tests/platform)


class WindowsProgram(DesktopTest):
    def setUp(self):
        super().setUp()
        # A prefix of its own, whose desktop process (which carries the clipboard between X and
        # Windows) is on this display.
        prefix = WinePrefix(self.display.env)
        self.addCleanup(prefix.close)
        self.env = dict(prefix.env, LANG="C.UTF-8")
        self.process = subprocess.Popen(["wine", str(FOLDER / "kobako.exe")], cwd=self.directory,
                                        env=self.env, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        self.addCleanup(self.end)
        self.window = wait_until(self.history_window, timeout=30, what="the history window")

    def end(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait(timeout=10)

    def history_window(self):
        found = self.display.run("xdotool", "search", "--name", "^Kobako$",
                                 check=False).stdout.split()
        return found[0].decode() if found else None

    def window_ids(self, visible=True):
        return [self.window]

    def geometry(self):
        values = {}
        for line in self.display.xdotool("getwindowgeometry", "--shell",
                                         self.window).splitlines():
            key, _, value = line.partition("=")
            values[key] = int(value)
        return values["X"], values["Y"], values["WIDTH"], values["HEIGHT"]

    def history_file(self):
        path = self.directory / "kobako.f3"
        return path.read_bytes() if path.exists() else None

    def owner_copy(self, mode, text):
        owner = subprocess.Popen([TEST_OWNER, mode, text], env=self.display.env,
                                 stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.addCleanup(owner.wait)
        self.addCleanup(owner.kill)
        self.addCleanup(owner.stdout.close)
        self.assertEqual(owner.stdout.readline().strip(), b"owned")
        time.sleep(1.0)

    def visible(self):
        return self.display.run("xdotool", "search", "--onlyvisible", "--name", "^Kobako$",
                                check=False).stdout.split()

    def start_watching(self):
        """Copies until the program takes one in (its window then comes up): wine's clipboard
        bridge starts a moment after the window. The text taken in."""
        for attempt in range(30):
            text = f"ready {attempt}"
            self.display.copy(text)
            try:
                wait_until(self.visible, timeout=1, what="the window")
                return text
            except AssertionError:
                continue
        self.fail("no copy was taken in")

    def copy_and_wait(self, text):
        """One copy, taken in before the next: xclip serves it only until the next copy."""
        self.display.copy(text)
        wait_until(lambda: (self.history_file() or b"").startswith(records(text)), timeout=10,
                   what=f"{text!r} in the history file")

    def test_copies_are_kept_picked_and_saved_on_exit(self):
        ready = self.start_watching()
        texts = ["one", "二つ目の テキスト", "three\nlines"]
        for text in texts:
            self.copy_and_wait(text)
        # Newest first, byte for byte.
        wait_until(lambda: self.history_file() == records(*reversed(texts), ready), timeout=10,
                   what="the history file")

        x, y, width, _ = self.geometry()
        start, pitch = first_row(self.display, self, CAPTION)
        self.click_at((x + 20, y + CAPTION + start + pitch * 2 + pitch // 2))
        wait_until(lambda: self.display.clipboard() == texts[0].encode(), timeout=5,
                   what="the oldest text back on the clipboard")

        # Marked copies: a Linux password manager's, and a Windows one's (wine hands X targets
        # over as Windows formats of the same name); then the same mark allowing it.
        self.owner_copy("secret", "hunter2")
        self.owner_copy("history-off", "kept out")
        self.owner_copy("history-on", "allowed")
        wait_until(lambda: self.history_file().startswith(records("allowed")), timeout=10,
                   what="the allowed copy in the history file")

        # The exit button, in the caption bar's right corner, saves and ends.
        self.click_at((x + width - CAPTION // 2, y + CAPTION // 2))
        self.assertEqual(self.process.wait(timeout=20), 0)
        self.assertEqual(self.history_file(), records("allowed", *reversed(texts), ready))

    def test_the_end_of_the_session_saves_and_ends(self):
        ready = self.start_watching()
        self.copy_and_wait("last words")
        self.assertFalse((self.directory / "kobako.f1").exists())
        # Windows may end the process as soon as it has answered the end of the session (wine
        # kills what is left), so the saving is done while answering, and the exit status is
        # not the program's to give.
        subprocess.run(["wineboot", "--end-session"], env=self.env, check=True, timeout=60)
        self.process.wait(timeout=20)
        self.assertEqual(self.history_file(), records("last words", ready))
        # Only the end writes the window's size.
        self.assertTrue((self.directory / "kobako.f1").exists())

if __name__ == "__main__":
    unittest.main()
