"""The history window under the window managers users run (openbox, xfwm4, fluxbox, icewm):
brought back by a taskbar (_NET_ACTIVE_WINDOW alone) before any copy and after a minimize, and by
a copy without taking the focus, always at its saved size where the settings place it, in one
native window for the whole session. Its dialogs are centred and stacked above it."""

import os
import shutil
import subprocess
import tempfile
import unittest
from pathlib import Path

from harness import CAPTION, DesktopTest, Kobako, end_group, list_rows, wait_until

TEXT_WINDOW = os.environ.get("TEXT_WINDOW")
SIZE_FILE = b" 4500 \r\n 4200 \r\n"  # height and width in twips
SAVED_SIZE = (280, 300)  # width and height in pixels


class UnderAWindowManager(DesktopTest):
    """A display with a window manager running, and what the cases ask of it."""

    command = None

    def setUp(self):
        super().setUp()
        if not shutil.which(self.name):
            self.skipTest(f"{self.name} is not installed")
        # A session of its own, so that what it starts (xfwm4's session bus and settings
        # service) ends with it.
        log = tempfile.TemporaryFile()
        self.addCleanup(log.close)
        self.wm = subprocess.Popen(self.command, env=self.display.env, stdout=log, stderr=log,
                                   start_new_session=True)
        self.addCleanup(self.wm.wait, 10)
        self.addCleanup(end_group, self.wm.pid)
        try:
            wait_until(lambda: b"_NET_SUPPORTING_WM_CHECK" in self.display.run(
                "xprop", "-root", check=False).stdout, timeout=30, what="the window manager")
        except AssertionError:
            log.seek(0)
            self.fail(f"{self.name} did not start (exit {self.wm.poll()}): {log.read()[-500:]}")

    def history_window(self, program):
        """The history window itself, as the window manager manages it (Qt keeps an unmapped
        leader window beside it)."""
        return wait_until(lambda: [w for w in program.window_ids() if self.display.run(
            "xprop", "-id", w, "WM_STATE", check=False).stdout.startswith(b"WM_STATE(")],
            what="the history window managed")[0]

    def presence(self, window):
        """The window's ICCCM state, whether the X server shows it, and its place and size."""
        state = self.display.run("xprop", "-id", window, "WM_STATE").stdout.decode()
        return (state.split("window state: ")[1].split()[0] if "window state:" in state else None,
                b"IsViewable" in self.display.run("xwininfo", "-id", window).stdout,
                self.display.client_area(window))

    def wait_for(self, window, wanted, place_and_size=lambda area: True):
        """Waits until the window manager, then the program answering it, have put the window
        in the wanted state and place."""
        try:
            wait_until(lambda: (p := self.presence(window))[:2] == wanted and
                       place_and_size(p[2]), what=f"{wanted}")
        except AssertionError:
            self.fail(f"{self.presence(window)}, not {wanted}")

    def assert_shown_at_saved_size(self, window):
        """Normal, viewable, at the saved size, middle right within the screen less its panels
        (the place the settings give)."""
        ax, ay, aw, ah = self.work_area()
        self.wait_for(window, ("Normal", True), lambda area: (
            area[2:] == SAVED_SIZE and area[0] + area[2] == ax + aw and
            abs(area[1] + area[3] / 2 - (ay + ah / 2)) <= 1))

    def work_area(self):
        """The screen less the window manager's panels."""
        area = self.display.run("xprop", "-root", "_NET_WORKAREA").stdout.decode()
        return tuple(int(v) for v in area.split("=")[1].split(",")[:4])

    def minimize_by_the_caption_button(self, window):
        x, y, w, _ = self.display.client_area(window)
        self.display.xdotool("mousemove", str(x + w - CAPTION - CAPTION // 2),
                             str(y + CAPTION // 2), "click", "1")
        self.wait_for(window, ("Iconic", False))


class Cases:
    """What a user sees, run by one subclass for each window manager."""

    def test_it_comes_back_by_activation_and_by_a_copy_without_the_focus(self):
        program = self.start(kobako_f1=SIZE_FILE)
        editor = self.open_other_window("300x200+40+40")  # an editor the user types in
        window = self.history_window(program)
        self.wait_for(window, ("Iconic", False))
        # A taskbar or a window list asks for _NET_ACTIVE_WINDOW, and nothing else.
        self.display.xdotool("windowactivate", window)  # before any copy
        self.assert_shown_at_saved_size(window)
        self.display.xdotool("windowactivate", "--sync", editor)
        self.copy(program, "first")
        for cycle in range(3):
            with self.subTest(cycle=cycle):
                self.minimize_by_the_caption_button(window)
                self.display.xdotool("windowactivate", window)
                self.assert_shown_at_saved_size(window)
                self.minimize_by_the_caption_button(window)
                self.display.xdotool("windowactivate", "--sync", editor)
                self.copy(program, f"copy {cycle}")
                self.assert_shown_at_saved_size(window)
                # Window managers differ in which of a program's windows they name active.
                self.assertEqual(self.display.xdotool("getactivewindow", "getwindowname").strip(),
                                 "xmessage")
        self.assertEqual(self.history_window(program), window)

    def terminal(self, title, command, *options):
        """An xterm running `command`, made the active window: the program the user types in."""
        process = subprocess.Popen(["xterm", "-T", title, "-geometry", "40x10+40+40", *options,
                                    "-e", "sh", "-c", command],
                                   env=dict(self.display.env, LANG="C.UTF-8"),
                                   stderr=subprocess.DEVNULL)
        self.addCleanup(process.kill)
        self.display.xdotool("windowactivate", "--sync", self.display.shown_window(title))

    def test_shift_click_joins_all_the_list_turns_grey_and_the_keyboard_stays(self):
        # They take Alt+click for moving windows: Shift+click is the way to join all.
        program = self.start()
        typed = self.directory / "typed"
        self.terminal("typing", f"cat > {typed}")
        self.copy(program, "a", "b", "c")
        window = self.history_window(program)
        area = self.display.client_area(window)
        empty = lambda: self.display.run("import", "-window", window, "-crop",
                                         f"1x1+{area[2] // 2}+{area[3] - 10}",
                                         "txt:-").stdout.decode().split()[-1]
        white = empty()
        self.picked(list_rows(self.display, window, area)(1), b"cba", "shift")
        wait_until(lambda: empty() != white, what="the list grey")
        self.assertEqual(self.display.xdotool("getactivewindow", "getwindowname").strip(),
                         "typing")
        # Without the setting nothing is pasted: what the user types next comes first.
        self.display.xdotool("type", "end\n")
        wait_until(lambda: typed.exists() and typed.read_text() == "end\n",
                   what="the typing alone")

    def test_with_the_setting_a_pick_is_pasted_where_the_user_types(self):
        program = self.start(kobako_f2=b" 1 \r\n5\r\n18\r\n0\r\n1\r\npaste-after-pick=1\r\n"
                                       b"paste-keystroke.Raw=Ctrl+V\r\n")
        typed = self.directory / "typed"
        self.terminal("typing", f"cat > {typed}")
        pasted = lambda: typed.exists() and typed.read_text()
        self.copy(program, "一行目\n二行目\n", "two\n")
        window = self.history_window(program)
        row = list_rows(self.display, window, self.display.client_area(window))
        self.picked(row(1), "一行目\n二行目\n".encode())
        wait_until(lambda: pasted() == "一行目\n二行目\n", what="the pick pasted")
        self.picked(row(0), "一行目\n二行目\ntwo\n".encode(), "ctrl")  # pasted once Ctrl is up
        wait_until(lambda: pasted() == "一行目\n二行目\n" * 2 + "two\n",
                   what="the join pasted")
        # A terminal of the class the settings give Ctrl+V, reading raw: it gets that keystroke.
        raw = self.directory / "raw"
        self.terminal("raw", f"stty raw -echo; cat > {raw}", "-class", "Raw")
        wait_until(raw.exists, what="the raw terminal")
        self.click_at(row(1))
        wait_until(lambda: raw.read_bytes() == b"\x16", what="Ctrl+V typed")
        if not TEXT_WINDOW:
            return
        # A Qt editor pastes the clipboard by Shift+Insert.
        edited = self.directory / "edited"
        editor = subprocess.Popen([TEXT_WINDOW, edited], env=self.display.env,
                                  stderr=subprocess.DEVNULL)
        self.addCleanup(editor.kill)
        self.display.xdotool("windowactivate", "--sync", self.display.shown_window("text window"))
        self.picked(row(0), b"two\n")
        wait_until(lambda: edited.exists() and edited.read_text() == "two\n",
                   what="the pick pasted in the Qt editor")

    def test_the_settings_window_is_centred_and_its_message_above_it(self):
        program = self.start()
        self.copy(program, "first")
        x, y, _, _ = program.geometry()
        self.click_at((x + CAPTION // 2, y + CAPTION // 2))  # the wrench
        settings = self.display.shown_window("設定")
        ax, ay, aw, ah = self.work_area()

        def off_centre():
            extents = self.display.run("xprop", "-id", settings, "_NET_FRAME_EXTENTS",
                                       check=False).stdout.decode()
            left, right, top, bottom = (int(v) for v in extents.split("=")[1].split(","))
            sx, sy, sw, sh = self.display.client_area(settings)
            return (sx - left + (left + sw + right) / 2 - (ax + aw / 2),
                    sy - top + (top + sh + bottom) / 2 - (ay + ah / 2))

        # A window manager that tells the frame only once the window is mapped sees it moved
        # into place just after.
        try:
            wait_until(lambda: max(map(abs, off_centre())) <= 1.5, timeout=2)
        except AssertionError:
            self.fail(f"the whole window is off the centre by {off_centre()}")
        # A message of the settings window is shown above it.
        sx, sy, _, _ = self.display.client_area(settings)
        self.click_at((sx + 353, sy + 164))  # the list maximum
        self.display.xdotool("key", "ctrl+a", "a")
        self.click_at((sx + 369, sy + 300))  # OK: the list maximum is no number
        message = wait_until(lambda: [w for w in program.messages() if w != settings],
                             what="the message")[0]
        self.assertEqual(self.stacking_order()[-1], int(message),
                         "the message is not the topmost window")
        self.display.xdotool("key", "Return")
        wait_until(lambda: message not in program.messages(), what="the message closed by Enter")


class Openbox(Cases, UnderAWindowManager):
    name = "openbox"
    command = ["openbox", "--sm-disable"]

    def active(self):
        return self.display.xdotool("getactivewindow").strip()

    def test_its_key_calls_it_to_find_and_paste_where_the_user_types(self):
        program = self.start()
        self.copy(program, "apple crumble\n", "banana split\n", "apple pie\n")
        window = self.history_window(program)
        self.minimize_by_the_caption_button(window)
        typed = self.directory / "typed"
        self.terminal("typing", f"cat > {typed}")
        xterm = self.active()
        self.display.xdotool("key", "ctrl+alt+h")
        self.wait_for(window, ("Normal", True))
        wait_until(lambda: self.active() == str(int(window, 0)), what="the keyboard in Kobako")
        # Two words: "app" alone would find the newest, apple pie, first.
        self.display.xdotool("type", "APP cru")
        self.display.xdotool("key", "Return")
        wait_until(lambda: typed.exists() and typed.read_text() == "apple crumble\n",
                   what="the entry found pasted")
        self.wait_for(window, ("Iconic", False))  # back where the key found it
        self.assertEqual(self.active(), xterm)
        # With Num Lock on the key still calls it; Esc gives the keyboard back at once.
        self.display.xdotool("key", "Num_Lock", "ctrl+alt+h")
        self.addCleanup(self.display.xdotool, "key", "Num_Lock")
        wait_until(lambda: self.active() == str(int(window, 0)), what="the keyboard again")
        self.display.xdotool("key", "Escape")
        wait_until(lambda: self.active() == xterm, what="the keyboard back")
        self.display.xdotool("type", "end\n")
        wait_until(lambda: typed.read_text() == "apple crumble\nend\n", what="typing goes on")
        # Another Kobako, in another directory, finds the key taken: it says so and works.
        elsewhere = tempfile.TemporaryDirectory()
        self.addCleanup(elsewhere.cleanup)
        other = Kobako(self.display, elsewhere.name)
        self.addCleanup(other.kill)
        wait_until(other.messages, what="the report of the key")
        self.assertIn("Ctrl+Alt+H", other.said())
        other.answer()
        self.copy(other, "after the report")


class Xfwm4(Cases, UnderAWindowManager):
    name = "xfwm4"
    # Its settings come from xfconf, over a session bus.
    command = ["dbus-run-session", "--", "xfwm4", "--compositor=off"]


class Fluxbox(Cases, UnderAWindowManager):
    name = "fluxbox"

    def setUp(self):
        # Without a wallpaper program its background setter puts up an xmessage, at a moment of
        # its own, which takes the keyboard from the cases' windows.
        settings = tempfile.TemporaryDirectory()
        self.addCleanup(settings.cleanup)
        overlay, init = Path(settings.name, "overlay"), Path(settings.name, "init")
        overlay.write_text("background: none\n")
        init.write_text(f"session.styleOverlay: {overlay}\n")
        self.command = ["fluxbox", "-rc", str(init)]
        super().setUp()


class IceWM(Cases, UnderAWindowManager):
    name = "icewm"

    def setUp(self):
        # Its own Ctrl+Alt+H (collapsing the taskbar) would keep Kobako's key, and Kobako's
        # report of it would stand over the cases' windows.
        settings = tempfile.NamedTemporaryFile("w", suffix=".preferences")
        self.addCleanup(settings.close)
        settings.write('KeySysCollapseTaskBar=""\n')
        settings.flush()
        self.command = ["icewm", "--config", settings.name]
        super().setUp()


if __name__ == "__main__":
    unittest.main()
