"""The Windows program under wine on Xvfb, with xclip and the tests' X11 owner as the other
programs: wine hands the X clipboard to the Windows clipboard and back."""

import getpass
import os
import re
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
        self.prefix = WinePrefix(self.display.env)
        self.addCleanup(self.prefix.close)
        self.env = dict(self.prefix.env, LANG="C.UTF-8")
        self.log = tempfile.TemporaryFile()
        self.addCleanup(self.log.close)

    def start(self, program=FOLDER / "kobako.exe", *args):
        self.process = subprocess.Popen(["wine", str(program), "--verbose", *args],
                                        cwd=self.directory, env=self.env,
                                        stdout=subprocess.DEVNULL, stderr=self.log)
        self.addCleanup(self.process.wait, 10)
        self.addCleanup(self.process.kill)
        self.window = self.display.shown_window("Kobako", timeout=30)

    def click_in_caption(self, left_of_right_edge=None):
        """Clicks the caption's first button (the wrench), or the one that far from its right."""
        x, y, width, _ = self.display.client_area(self.window)
        across = CAPTION // 2 if left_of_right_edge is None else width - left_of_right_edge
        self.click_at((x + across, y + CAPTION // 2))

    def wine(self, *args):
        return subprocess.run(["wine", *args], env=self.env, capture_output=True, timeout=120)

    def history_file(self):
        return self.history.read_bytes() if self.history.exists() else None

    def owner_copy(self, mode, text):
        start_owner(self, [TEST_OWNER, mode, text], self.display.env)

    def copy_and_wait(self, text):
        """One copy, taken in before the next: xclip serves it only until the next copy."""
        self.copied(lambda: self.display.copy(text), text.encode(), timeout=30)

    def test_installed_it_keeps_copies_starts_at_login_and_goes_leaving_the_history(self):
        home = Path(self.prefix.folder.name, "drive_c/users", getpass.getuser(), "AppData")
        folder = home / "Local/Programs/Kobako"
        shortcut = home / "Roaming/Microsoft/Windows/Start Menu/Programs/Kobako.lnk"
        uninstall = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kobako"
        run = [r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run", "/v", "Kobako"]
        self.assertEqual(self.wine(str(FOLDER.parent / "kobako-setup.exe"), "/S").returncode, 0)
        self.assertIn("--data-home".encode("utf-16-le"), shortcut.read_bytes())
        self.assertIn(b"uninstall.exe", self.wine("reg", "query", uninstall).stdout)
        self.history = home / "Roaming/Kobako/kobako.f3"
        self.history.parent.mkdir(parents=True)
        self.history.with_suffix(".f2").write_bytes(
            b" 1 \r\n5\r\n18\r\n0\r\n1\r\npaste-after-pick=1\r\n")
        self.start(folder / "kobako.exe", "--data-home")
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
        # A click picks, leaves the keyboard with the program the user types in and pastes there
        # (the setting is on): what is typed next follows the pick, and the copy comes back.
        editor = subprocess.Popen(["wine", "notepad"], env=self.env)
        self.addCleanup(editor.wait, 10)
        self.addCleanup(editor.kill)
        self.display.shown_window("Untitled - Notepad", timeout=30)
        area = self.display.client_area(self.window)
        self.picked(list_rows(self.display, self.window, area)(2), texts[0].encode())
        self.display.xdotool("mousemove", "300", "300", "type", "typed on")  # over notepad
        self.copied(lambda: self.display.xdotool("key", "ctrl+a", "ctrl+c"), b"onetyped on")
        # The call key, registered with the system, brings the minimized window back.
        self.click_in_caption(CAPTION + CAPTION // 2)  # minimize
        iconic = lambda: b"Iconic State" in self.display.run("xprop", "-id", self.window,
                                                             "WM_HINTS").stdout
        wait_until(iconic, what="the window minimized")
        self.display.xdotool("key", "ctrl+alt+h")
        wait_until(lambda: not iconic(), what="the window called back")
        wait_until(lambda: "called, with the keyboard" in self.said(), what="the call")

        # Marked copies: a Linux password manager's, and a Windows one's (wine hands X targets
        # over as Windows formats of the same name); then the same mark allowing it. Each is
        # decided before the next is made: wine drops an X copy made while a Windows program
        # holds the clipboard open, as the program does while it reads the one before.
        for mode, text in [("secret", "hunter2"), ("history-off", "kept out")]:
            decided = self.changes()
            self.owner_copy(mode, text)
            self.wait_for_changes(decided + 1)
        self.copied(lambda: self.owner_copy("history-on", "allowed"), b"allowed")

        # Start at login, twice: the box shows the Run value as it is, also removed by hand.
        for _ in range(2):
            self.wine("reg", "delete", *run, "/f")
            self.click_in_caption()
            settings = self.display.shown_window("設定")
            sx, sy, _, _ = self.display.client_area(settings)
            self.click_at((sx + 260, sy + 106))  # start at login
            self.click_at((sx + 369, sy + 300))  # OK
            wait_until(lambda: b"IsViewable" not in self.display.run(
                "xwininfo", "-id", settings, check=False).stdout and b'kobako.exe" --data-home'
                in self.wine("reg", "query", *run).stdout, what="the settings gone, the Run value")

        # The exit button, in the caption bar's right corner, saves and ends.
        self.click_in_caption(CAPTION // 2)
        self.assertEqual(self.process.wait(timeout=20), 0)
        # The uninstaller runs on from a copy of itself.
        self.assertEqual(self.wine(str(folder / "uninstall.exe"), "/S").returncode, 0)
        wait_until(lambda: not folder.exists(), timeout=30, what="the program removed")
        self.assertFalse(shortcut.exists())
        for key in ([uninstall], run):
            self.assertNotEqual(self.wine("reg", "query", *key).returncode, 0, key)
        self.assertEqual(self.history_file(), records("allowed", "onetyped on", *reversed(texts)))

    def test_the_end_of_the_session_saves_and_ends(self):
        self.start()
        self.history = self.directory / "kobako.f3"
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


class ProgramFile(unittest.TestCase):
    def test_it_carries_its_icon_at_every_size_and_its_version(self):
        program, icon = str(FOLDER / "kobako.exe"), tempfile.NamedTemporaryFile()
        self.addCleanup(icon.close)
        subprocess.run(["wrestool", "-x", "--type=14", "-o", icon.name, program], check=True)
        sizes = subprocess.run(["icotool", "-l", icon.name], capture_output=True).stdout
        self.assertEqual(re.findall(rb"--width=(\d+)", sizes), [b"16", b"24", b"32", b"48", b"64",
                                                                 b"128", b"256"])
        self.assertIn("1.3.0".encode("utf-16-le"), subprocess.run(
            ["wrestool", "-x", "--raw", "--type=16", program], capture_output=True).stdout)


if __name__ == "__main__":
    unittest.main()
