"""Kobako on a Wayland desktop through the compositor's data control: sway, headless, as an
unprivileged user (sway refuses root). Kobako's window lies on an Xvfb of its own, so that only the
data control carries Wayland programs' copies and picks, or on sway's own XWayland, where X
programs copy too. wl-copy, wl-paste, xclip and the tests' own Wayland program (wayland_owner,
behaving or attacking) are the other programs."""

import os
import shutil
import subprocess
import unittest
from pathlib import Path

from harness import DesktopTest, Kobako, records, start_owner, wait_until
from portal import PORTAL, DesktopPortal
from sway import NOBODY, Sway, XWayland

WAYLAND_OWNER = os.environ.get("WAYLAND_OWNER")
TEST_OWNER = os.environ.get("TEST_OWNER")


@unittest.skipUnless(shutil.which("sway") and shutil.which("wl-copy") and WAYLAND_OWNER,
                     "needs sway, wl-clipboard and Kobako built with Wayland")
class UnderSway(DesktopTest):
    xwayland = False
    activation = False

    def setUp(self):
        super().setUp()
        self.sway = Sway(self.xwayland, self.activation)
        self.addCleanup(self.sway.stop)
        if os.geteuid() == 0:
            os.chown(self.directory, NOBODY, NOBODY)
        self.owner = self.sway.reachable(WAYLAND_OWNER)
        if self.xwayland:
            self.display = XWayland(self.sway)

    def start(self, limit_files=None, more_settings=b""):
        # Room for every copy a case makes.
        (self.directory / "kobako.f2").write_bytes(b" 1 \r\n1000\r\n18\r\n0\r\n1\r\n" +
                                                   more_settings)
        if os.geteuid() == 0:
            os.chown(self.directory / "kobako.f2", NOBODY, NOBODY)
        env = dict(self.display.env, **self.sway.env, DISPLAY=self.display.name)
        self.program = Kobako(self.display, self.directory, env=env, limit_files=limit_files,
                              user=NOBODY if os.geteuid() == 0 else None)
        self.addCleanup(self.program.kill)

    def copy(self, text, copier=None):
        """wl-copy (or `copier`) copies, and the program takes it in before anything else."""
        data = text.encode() if isinstance(text, str) else text
        self.program.copied(lambda: (copier or self.sway.copy)(data), data)

    def own(self, mode, text="", wait_for="owned"):
        """The tests' Wayland program copies (or pastes); once it says `wait_for`."""
        return start_owner(self, [*self.sway.as_user, str(self.owner), mode, text], self.sway.env,
                           wait_for)

    def pick(self, row):
        """Clicks the list's row: its text becomes the clipboard's."""
        self.click_at(self.program.rows()(row))

    def stored(self):
        self.assertEqual(self.program.stop(), 0)
        return self.program.file("kobako.f3")


class WaylandCopies(UnderSway):
    def test_copies_and_picks_go_through_the_compositor(self):
        self.start()
        for text in ("one", "two", "three"):
            self.copy(text)
        self.pick(1)
        wait_until(lambda: self.sway.paste() == b"two", what="the pick on the clipboard")
        self.copy("two")  # a copy elsewhere of a picked text is a copy all the same
        self.assertEqual(self.stored(), records("two", "three", "two", "one"))
        self.assertIn("zwlr_data_control_manager_v1", self.program.said())

    def test_secrets_are_never_stored_and_hostile_owners_stop_nothing(self):
        self.start()
        for mode in ("secret", "secret-refuse", "secret-exit", "secret-then", "never", "drip",
                     "huge", "die"):
            self.own(mode, f"hidden {mode} " + "x" * 100)
            self.copy(f"after {mode}")
        texts = self.stored().decode().split("\r\nText Start Point\r\n")
        short = [text[:40] for text in texts]  # a failure names them, not megabytes of them
        self.assertFalse([text for text in short if text.startswith("hidden secret")], short)
        for mode in ("secret", "never", "drip", "huge", "die"):
            self.assertIn(f"after {mode}", short)

    def test_a_slow_owners_copy_goes_below_the_newer_one(self):
        self.start()
        self.own("slow", "slow copy")
        self.copy("fast")
        wait_until(lambda: self.program.taken(b"slow copy"), what="the slow copy")
        self.assertEqual(self.stored(), records("fast", "slow copy"))

    def test_a_copy_of_thousands_of_types_leaves_it_listening(self):
        self.start()
        for mode, count in (("types", "10000"), ("long-types", "120")):
            self.own(mode, count).wait()
            self.copy(f"after {mode}")
        # Whether the compositor passes such an offer whole depends on how fast it is read: the
        # copy itself may be kept or never seen, the copies after it are kept either way.
        self.assertEqual(self.stored().replace(records("many types"), b""),
                         records("after long-types", "after types"))

    def test_handles_stay_bounded_and_the_last_save_finds_one(self):
        self.start(limit_files=1024)
        self.own("unanswered", "1500")
        self.copy("p" * 100_000)  # more than a pipe holds: a paste keeps its pipe open
        self.pick(0)
        self.own("paste-idle", "1500", wait_for="asked")
        self.copy("after the handles")
        self.assertEqual(self.stored(), records("after the handles", "p" * 100_000))

    def test_the_copies_being_read_share_one_budget_of_memory(self):
        self.start()
        for _ in range(8):
            self.own("endless", wait_for="asked")
        wait_until(lambda: "512 MiB" in self.program.said(), timeout=30,
                   what="the largest transfer dropped")
        self.copy("after the flood of bytes")
        status = Path(f"/proc/{self.program.process.pid}/status").read_text()
        peak = next(int(line.split()[1]) for line in status.splitlines()
                    if line.startswith("VmHWM:"))
        # AddressSanitizer's shadow memory and its quarantine of freed blocks are no figure of
        # the program's own: the peak is a figure of the program built without it.
        if "ASAN_OPTIONS" not in os.environ:
            self.assertLess(peak, (512 + 100) << 10, "kB at the peak")
        self.assertTrue(self.stored().startswith(records("after the flood of bytes")))

    def test_a_program_that_pastes_late_gets_the_whole_pick(self):
        self.start()
        text = b"0123456789abcdef" * (50 << 16)  # 50 MiB
        self.copy(text)
        self.copy("other")
        self.pick(1)
        wait_until(lambda: self.sway.paste()[:16] == text[:16], what="the pick on the clipboard")
        # wl-paste asks at once, and stops reading while what it wrote waits 6 s to be read.
        late = subprocess.run([*self.sway.as_user, "sh", "-c",
                               "wl-paste --no-newline | (sleep 6; cat)"],
                              env=self.sway.env, capture_output=True, timeout=60)
        self.assertEqual(len(late.stdout), len(text))
        self.assertEqual(late.stdout, text)

    def test_without_the_compositor_the_x_clipboard_is_read_alone(self):
        self.start()
        self.copy("kept when sway goes")
        self.sway.stop()
        wait_until(lambda: "X clipboard alone" in self.program.said() or
                   "X のクリップボードだけ" in self.program.said(), what="the program saying so")
        self.copy("copied on X afterwards", self.display.copy)
        self.assertEqual(self.stored(), records("copied on X afterwards", "kept when sway goes"))


@unittest.skipUnless(TEST_OWNER, "needs the tests' X owner")
class XCopiesThroughXWayland(UnderSway):
    xwayland = True

    def test_x_copies_are_kept_once_and_their_secrets_never(self):
        self.start()
        # Sway shares an X program's copy while an X window has the keyboard, as when the user
        # copies in it: the xmessage, or Kobako's own window, which sway offers the keyboard when
        # it maps it (slowed by the sanitizers, Kobako may answer so late that it takes the
        # keyboard after the xmessage came).
        focused = subprocess.Popen([*self.sway.as_user, "xmessage", "an X program"],
                                   env=self.display.env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        self.addCleanup(focused.kill)
        wait_until(lambda: self.display.run("xdotool", "getwindowfocus", "getwindowname",
                                            check=False).stdout.strip()
                   in (b"xmessage", b"Kobako"), what="an X window with the keyboard")
        self.copy("from Wayland")
        decided = self.program.changes()
        start_owner(self, [*self.sway.as_user, self.sway.reachable(TEST_OWNER), "secret",
                           "hunter2"], self.display.env)
        # Decided on both sides: by the X11 reader and, once shared, by the data control.
        self.program.wait_for_changes(decided + 2)
        self.copy("from X", self.display.copy)
        self.copy("Wayland again")
        self.pick(1)
        wait_until(lambda: self.display.clipboard() == b"from X", what="the pick pasted on X")
        self.assertEqual(self.stored(), records("Wayland again", "from X", "from Wayland"))

    @unittest.skipUnless(shutil.which("foot"), "needs foot")
    def test_with_the_setting_a_pick_is_pasted_into_the_wayland_program_that_types(self):
        self.start(more_settings=b"paste-after-pick=1\r\n")
        self.copy("一行目\n二行目\n")
        self.copy("two")
        typed = self.directory / "typed"
        terminal = subprocess.Popen([*self.sway.as_user, "foot", "sh", "-c", f"cat > {typed}"],
                                    env=dict(self.sway.env, LANG="C.UTF-8"),
                                    cwd=self.directory,  # one the user of the desktop may enter
                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(terminal.kill)
        wait_until(lambda: self.sway.focused() == "foot" and typed.exists(),
                   what="foot with the keyboard")
        self.pick(1)
        # foot pastes the primary selection by Shift+Insert: it came from Kobako too.
        wait_until(lambda: typed.read_text() == "一行目\n二行目\n", what="the pick pasted")
        self.assertEqual(self.sway.paste(), "一行目\n二行目\n".encode())


@unittest.skipUnless(shutil.which("foot"), "needs foot")
class CalledThroughXWayland(UnderSway):
    """Sway set to give a window that asks for it the keyboard, as for `kobako --show`."""
    xwayland = True
    activation = True

    def test_a_start_with_show_calls_it_with_the_keyboard_from_a_wayland_program(self):
        self.start()
        self.copy("from Wayland")
        terminal = subprocess.Popen([*self.sway.as_user, "foot", "cat"], env=self.sway.env,
                                    cwd=self.directory, stdout=subprocess.DEVNULL,
                                    stderr=subprocess.DEVNULL)
        self.addCleanup(terminal.kill)
        wait_until(lambda: self.sway.focused() == "foot", what="foot with the keyboard")
        # The key a user binds in sway's configuration runs this.
        self.assertEqual(self.program.start_again("--show"), 0)
        wait_until(lambda: self.sway.focused() == "Kobako", what="Kobako with the keyboard")


@unittest.skipUnless(shutil.which("foot") and os.path.exists(PORTAL), "needs foot and the portal")
class CalledThroughThePortal(UnderSway):
    """A desktop whose portal offers global shortcuts, set to give the keyboard to the window the
    shortcut calls."""
    xwayland = True
    activation = True

    def setUp(self):
        super().setUp()
        self.portal = DesktopPortal(self.sway)
        self.addCleanup(self.portal.stop)

    def test_the_key_the_desktop_gives_calls_it_with_the_keyboard(self):
        self.start(more_settings=b"hotkey=Ctrl+Shift+F5\r\n")
        self.assertEqual(self.portal.bound(),
                         [{"id": "call", "description": "Kobako を呼び出す",
                           "preferred_trigger": "CTRL+SHIFT+F5"}])
        terminal = subprocess.Popen([*self.sway.as_user, "foot", "cat"], env=self.sway.env,
                                    cwd=self.directory, stdout=subprocess.DEVNULL,
                                    stderr=subprocess.DEVNULL)
        self.addCleanup(terminal.kill)
        wait_until(lambda: self.sway.focused() == "foot", what="foot with the keyboard")
        self.portal.press()
        wait_until(lambda: self.sway.focused() == "Kobako", what="Kobako with the keyboard")


if __name__ == "__main__":
    unittest.main()
