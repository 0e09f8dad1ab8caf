"""Runs the real program under Xvfb and plays the other programs of a desktop with xclip and
xdotool. Each test gets a display and a directory of its own. Every wait is on a condition: the
program says with --verbose what it made of each copy, and the tests wait for that."""

import os
import shutil
import signal
import subprocess
import tempfile
import time
import unittest
from pathlib import Path

KOBAKO = os.environ.get("KOBAKO", "kobako")
# How many times longer than usual the program may take: built with sanitizers, on a machine busy
# with other tests, a start has taken over ten seconds.
SLOWDOWN = float(os.environ.get("KOBAKO_TEST_SLOWDOWN", "1"))
SCREEN_WIDTH, SCREEN_HEIGHT = 1280, 800
CAPTION = 24  # the caption bar, and each of its square buttons: 18 units of 20 twips, in pixels


def wait_until(predicate, timeout=5.0, interval=0.05, what="condition"):
    deadline = time.monotonic() + timeout * SLOWDOWN
    while not (value := predicate()):
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out waiting for {what}")
        time.sleep(interval)
    return value


class Display:
    """A fresh Xvfb server on a free display number; `prefix` runs its clients as another user."""

    prefix = ()

    def __init__(self):
        read_end, write_end = os.pipe()
        self.server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0",
             f"{SCREEN_WIDTH}x{SCREEN_HEIGHT}x24", "-nolisten", "tcp",
             # Without it the server resets whenever its last client leaves (a probing xprop),
             # and a client that connects meanwhile is turned away.
             "-noreset"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as numbers:
            self.name = ":" + numbers.readline().strip()
        self.env = dict(os.environ, DISPLAY=self.name)
        self.env.pop("WAYLAND_DISPLAY", None)
        self.env.pop("QT_QPA_PLATFORM", None)

    def run(self, *args, input_bytes=None, timeout=10, check=True, output=subprocess.PIPE):
        return subprocess.run([*self.prefix, *args], input=input_bytes, env=self.env,
                              stdout=output, stderr=output, timeout=timeout, check=check)

    def copy(self, text, target=None, selection="clipboard"):
        """Another program copies: xclip serves the text until the next copy (given no pipe)."""
        self.run("xclip", "-selection", selection, "-i", *(["-t", target] if target else []),
                 input_bytes=text.encode() if isinstance(text, str) else text,
                 output=subprocess.DEVNULL)

    def clipboard(self):
        result = self.run("xclip", "-selection", "clipboard", "-o", check=False, timeout=5)
        return result.stdout if result.returncode == 0 else None

    def xdotool(self, *args):
        return self.run("xdotool", *args).stdout.decode()

    def shown_window(self, name, timeout=5):
        """Waits for a shown window of that name; its id."""
        return wait_until(lambda: self.run("xdotool", "search", "--onlyvisible", "--name",
                                           f"^{name}$", check=False).stdout.split(),
                          timeout=timeout, what=name)[0].decode()

    def client_area(self, window):
        """Where a window's client area is (xdotool counts a reparenting frame twice)."""
        info = self.run("xwininfo", "-id", window).stdout.decode()
        return tuple(int(info.split(name + ":")[1].split()[0]) for name in
                     ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"))

    def close(self):
        if hasattr(self, "server"):
            self.server.terminate()
            self.server.wait(timeout=10)


class WinePrefix:
    """A fresh wine prefix, made and ready; `variables` run a wine program in it."""

    def __init__(self, env=None):
        self.folder = tempfile.TemporaryDirectory()
        # No .NET or HTML engine is offered for download: the program needs neither.
        self.variables = {"WINEPREFIX": self.folder.name, "WINEDEBUG": "-all",
                          "WINEDLLOVERRIDES": "mscoree,mshtml="}
        self.env = dict(env or os.environ, **self.variables)
        subprocess.run(["wineboot", "--init"], env=self.env, check=True, timeout=120,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        # The prefix is made by processes that go on after wineboot returns: a program started
        # meanwhile fails to start.
        subprocess.run(["wineserver", "--wait"], env=self.env, check=True, timeout=120)

    def close(self):
        subprocess.run(["wineserver", "--kill"], env=self.env, timeout=30, check=False)
        self.folder.cleanup()


class SaysOnStderr:
    """What a program started with --verbose says on standard error (in `self.log`) of the
    clipboard changes it decided on."""

    def said(self):
        self.log.seek(0)  # Windows' text streams end lines with CR LF
        return self.log.read().decode(errors="replace").replace("\r\n", "\n")

    def changes(self):
        said = self.said()
        return said.count(" taken in\n") + said.count(" left alone\n")

    def wait_for_changes(self, count, timeout=10):
        self.wait_saying(lambda: self.changes() >= count, timeout,
                         f"{count} clipboard changes decided")

    def wait_saying(self, predicate, timeout, what):
        """Waits until `predicate`; a failure says what the program said."""
        try:
            wait_until(predicate, timeout=timeout, what=what)
        except AssertionError as error:
            raise AssertionError(f"{error}; the program said:\n{self.said()}") from None

    def taken(self, data):
        """How many copies of the size of `data` the program took in."""
        return self.said().count(f" a copy of {len(data)} bytes taken in\n")

    def copied(self, copy, data, timeout=5):
        """Runs `copy` and waits until the program has taken in one more copy of `data`'s size."""
        before = self.taken(data)
        copy()
        self.wait_saying(lambda: self.taken(data) > before, timeout,
                         f"a copy of {len(data)} bytes")


def end_group(pid):
    """Ends a process and everything it started in its session."""
    try:
        os.killpg(pid, signal.SIGKILL)
    except ProcessLookupError:
        pass


def reachable(program, directory):
    """A copy of a program in `directory` that any user can run: the build tree may lie in a
    home directory that other users cannot enter."""
    copy = Path(directory) / Path(program).name
    shutil.copy(Path(program).resolve(), copy)
    os.chmod(copy, 0o755)
    return str(copy)


class Kobako(SaysOnStderr):
    """The program started in a directory, as a user starts it there, saying what it does."""

    def __init__(self, display, directory, user=None, env=None, limit_files=None):
        self.display = display
        self.directory = Path(directory)
        args = [KOBAKO, "--verbose"]
        if user:
            self.copy = tempfile.TemporaryDirectory()
            os.chmod(self.copy.name, 0o755)
            args = ["setpriv", f"--reuid={user}", f"--regid={user}", "--clear-groups",
                    reachable(KOBAKO, self.copy.name), "--verbose"]
        if limit_files:
            args = ["prlimit", f"--nofile={limit_files}:{limit_files}", *args]
        self.log = tempfile.TemporaryFile()
        self.command, self.env = args, env or display.env
        self.process = subprocess.Popen(args, cwd=directory, env=self.env,
                                        stdout=subprocess.DEVNULL, stderr=self.log)
        self.wait_saying(self.window_ids, 10, "the history window")

    def start_again(self, *options):
        """A second start in the same directory, as the same user: its exit status."""
        return subprocess.run([*self.command[:-1], *options], cwd=self.directory, env=self.env,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                              timeout=10).returncode

    def window_ids(self, visible=False):
        """This process's windows named Kobako: another instance's bear the same name."""
        args = (["search", "--all", "--pid", str(self.process.pid)] +
                (["--onlyvisible"] if visible else []) + ["--name", "^Kobako$"])
        return self.display.run("xdotool", *args, check=False).stdout.decode().split()

    def own_windows(self):
        """This process's windows on the screen, whatever their names."""
        return self.display.run("xdotool", "search", "--onlyvisible", "--pid",
                                str(self.process.pid), check=False).stdout.decode().split()

    def messages(self):
        """This process's shown message boxes (without a window manager the minimized history
        window is shown too, from the start)."""
        return [window for window in self.own_windows() if b"_DIALOG" in self.display.run(
            "xprop", "-id", window, "_NET_WM_WINDOW_TYPE", check=False).stdout]

    def answer(self, key="Return"):
        """Waits for the program's message, answers it with `key` and waits until it is gone."""
        wait_until(self.messages, what="the message")
        self.display.xdotool("key", key)
        wait_until(lambda: not self.messages(), what="the message answered")

    def on_screen(self):
        """Geometries of the history window where it can be seen: mapped and on the screen.
        Without a window manager a minimized window stays mapped, parked beyond the corner."""
        shown = []
        for window in self.window_ids(visible=True):
            try:
                x, y, w, h = self.display.client_area(window)
            except subprocess.CalledProcessError:
                continue  # gone meanwhile
            if x < SCREEN_WIDTH and y < SCREEN_HEIGHT and x + w > 0 and y + h > 0:
                shown.append((x, y, w, h))
        return shown

    def geometry(self):
        """The shown history window's x, y, width and height in pixels, once two looks agree:
        the first capture places it, then sizes it, then places it again."""
        seen = []

        def settled():
            seen.append(self.on_screen()[:1])
            return seen[-1] and len(seen) > 1 and seen[-2] == seen[-1] and seen[-1][0]
        return wait_until(settled, timeout=10, interval=0.15, what="the window settled")

    def rows(self):
        return list_rows(self.display, self.window_ids(visible=True)[0], self.geometry())

    def stop(self, sig=signal.SIGTERM):
        self.process.send_signal(sig)
        self.process.wait(timeout=10)
        return self.process.returncode

    def file(self, name):
        return (self.directory / name).read_bytes()

    def kill(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait(timeout=10)
        self.log.close()
        if hasattr(self, "copy"):
            self.copy.cleanup()


def list_rows(display, window, geometry):
    """The middle of each row of a shown list, in screen pixels, from the highlight of the newest
    capture (the list's frame lies above it)."""
    x, y, _, height = geometry
    shot = display.run("import", "-window", window, "-crop",
                       f"1x{height - CAPTION}+3+{CAPTION}", "txt:-")
    colours = [line.split()[-1] for line in shot.stdout.decode().splitlines()[1:]]
    start = next(i for i in range(len(colours) - 4) if len(set(colours[i:i + 4])) == 1)
    pitch = next(i for i in range(start, len(colours)) if colours[i] != colours[start]) - start
    return lambda i: (x + 20, y + CAPTION + start + pitch * i + pitch // 2)


def start_owner(test, args, env, says="owned"):
    """Starts a clipboard owner of the tests, ended with the test, once it says `says`."""
    owner = subprocess.Popen(args, env=env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    test.addCleanup(owner.wait)
    test.addCleanup(owner.kill)
    test.addCleanup(owner.stdout.close)
    while (line := owner.stdout.readline().strip()) != says.encode():
        test.assertTrue(line, f"{args} ended before saying {says}")
    return owner


def records(*texts):
    """The history file holding these texts, newest first."""
    return b"".join(text.encode() + b"\r\nText Start Point\r\n" for text in texts)


class DesktopTest(unittest.TestCase):
    def setUp(self):
        self.display = Display()
        self.addCleanup(self.display.close)
        self.tmp = tempfile.TemporaryDirectory()
        self.addCleanup(self.tmp.cleanup)
        self.directory = Path(self.tmp.name)

    def start(self, user=None, **files):
        for name, content in files.items():
            (self.directory / name.replace("_", ".")).write_bytes(content)
        program = Kobako(self.display, self.directory, user=user)
        self.addCleanup(program.kill)
        return program

    def copy(self, program, *texts):
        """Copies each text, each taken in by the program before the next."""
        for text in texts:
            data = text.encode() if isinstance(text, str) else text
            program.copied(lambda: self.display.copy(data), data)

    def click_at(self, point, *keys, button=1):
        """A click with modifier keys held, as a user makes it."""
        args = ["mousemove", str(point[0]), str(point[1])]
        args += [arg for key in keys for arg in ("keydown", key)] + ["click", str(button)]
        self.display.xdotool(*args, *[arg for key in keys for arg in ("keyup", key)])

    def drag(self, start, end, button="1"):
        """Presses, moves in steps (as window managers and Qt follow the pointer) and releases."""
        steps = [arg for step in range(1, 6) for arg in
                 ("mousemove", str(start[0] + (end[0] - start[0]) * step // 5),
                  str(start[1] + (end[1] - start[1]) * step // 5))]
        self.display.xdotool("mousemove", str(start[0]), str(start[1]), "mousedown", button,
                             *steps, "mouseup", button)

    def picked(self, point, expected, *keys):
        """Clicks and waits until the clipboard holds what the click gives back."""
        self.click_at(point, *keys)
        wait_until(lambda: self.display.clipboard() == expected, what=f"{expected!r} given back")

    def saved(self, program, expected):
        """Waits until the history file, saved a second after a change, holds `expected`."""
        path = program.directory / "kobako.f3"
        wait_until(lambda: path.exists() and path.read_bytes() == expected,
                   what="the history file")

    def open_other_window(self, geometry):
        """Another program's window (xmessage), made the active one; its X window id."""
        other = subprocess.Popen(["xmessage", "-geometry", geometry, "another program"],
                                 env=self.display.env)
        self.addCleanup(other.kill)
        window = self.display.shown_window("xmessage")
        self.display.xdotool("windowactivate", "--sync", window)
        return window

    def stacking_order(self):
        """The managed windows, bottom to top, as the window manager stacks them."""
        stacking = self.display.run("xprop", "-root", "_NET_CLIENT_LIST_STACKING").stdout.decode()
        return [int(w, 16) for w in stacking.split("#")[1].replace(",", " ").split()]
