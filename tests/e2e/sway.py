"""Sway, headless, as an unprivileged user (sway refuses root): the Wayland desktop of the tests
and the benchmarks."""

import os
import shutil
import signal
import subprocess
import tempfile
from pathlib import Path

from harness import wait_until

NOBODY = 65534


class Sway:
    """Sway, headless, as the user the tests' other programs run as."""

    def __init__(self, xwayland):
        self.runtime = tempfile.TemporaryDirectory()
        runtime = Path(self.runtime.name)
        self.as_user = ["setpriv", f"--reuid={NOBODY}", f"--regid={NOBODY}",
                        "--clear-groups"] if os.geteuid() == 0 else []
        # The X display sway's XWayland takes, written where the tests read it.
        config = runtime / "config"
        config.write_text(("xwayland enable\n" if xwayland else "xwayland disable\n") +
                          f'exec sh -c "echo \\$DISPLAY > {runtime}/display"\n')
        if self.as_user:
            for path in (runtime, config):
                os.chown(path, NOBODY, NOBODY)
        os.chmod(runtime, 0o700)
        self.env = {"PATH": os.environ["PATH"], "XDG_RUNTIME_DIR": str(runtime),
                    "HOME": str(runtime), "WAYLAND_DISPLAY": "wayland-1"}
        self.process = subprocess.Popen(
            [*self.as_user, "sway", "-c", str(config)],
            env=dict(self.env, WLR_BACKENDS="headless", WLR_LIBINPUT_NO_DEVICES="1",
                     WLR_RENDERER="pixman"),
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
        wait_until((runtime / "display").exists, timeout=15, what="sway")
        self.x_display = (runtime / "display").read_text().strip()

    def reachable(self, program):
        """A copy of a program where the desktop's user can run it: the build tree may lie in a
        home directory that other users cannot enter."""
        copy = Path(self.runtime.name) / Path(program).name
        shutil.copy(program, copy)
        os.chmod(copy, 0o755)
        return copy

    def run(self, *args, out=False, check=True, input_bytes=None):
        """Runs a Wayland (or, with DISPLAY, X) program of the desktop."""
        return subprocess.run([*self.as_user, *args], env=dict(self.env, DISPLAY=self.x_display),
                              input=input_bytes,
                              stdout=subprocess.PIPE if out else subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL, timeout=20, check=check)

    def copy(self, text):
        # wl-copy stays behind to serve the text, as xclip does.
        self.run("wl-copy", input_bytes=text.encode() if isinstance(text, str) else text)

    def paste(self):
        return self.run("wl-paste", "--no-newline", out=True, check=False).stdout

    def stop(self):
        try:
            os.killpg(self.process.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        self.process.wait(timeout=10)
        self.runtime.cleanup()


class XWayland:
    """Sway's X display, used as the tests use their Xvfb displays."""

    def __init__(self, sway):
        self.sway = sway
        self.name = sway.x_display
        self.env = dict(sway.env, DISPLAY=sway.x_display)

    def run(self, *args, input_bytes=None, timeout=10, check=True):
        return subprocess.run([*self.sway.as_user, *args], input=input_bytes, env=self.env,
                              capture_output=True, timeout=timeout, check=check)

    def copy(self, text):
        subprocess.run([*self.sway.as_user, "xclip", "-selection", "clipboard", "-i"],
                       input=text.encode() if isinstance(text, str) else text, env=self.env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=10, check=True)

    def clipboard(self):
        result = self.run("xclip", "-selection", "clipboard", "-o", check=False)
        return result.stdout if result.returncode == 0 else None

    def xdotool(self, *args):
        return self.run("xdotool", *args).stdout.decode()
