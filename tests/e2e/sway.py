"""Sway, headless, as an unprivileged user (sway refuses root): the Wayland desktop of the tests
and the benchmarks."""

import json
import os
import subprocess
import tempfile
from pathlib import Path

from harness import Display, end_group, reachable, wait_until

NOBODY = 65534


class Sway:
    """Sway, headless, as the user the tests' other programs run as."""

    def __init__(self, xwayland, activation=False):
        self.runtime = tempfile.TemporaryDirectory()
        runtime = Path(self.runtime.name)
        self.as_user = ["setpriv", f"--reuid={NOBODY}", f"--regid={NOBODY}",
                        "--clear-groups"] if os.geteuid() == 0 else []
        # The X display sway's XWayland takes, written where the tests read it. With
        # `activation`, a window asking for the keyboard gets it, as the README has users of
        # `kobako --show` set.
        config = runtime / "config"
        config.write_text(("xwayland enable\n" if xwayland else "xwayland disable\n") +
                          ("focus_on_window_activation focus\n" if activation else "") +
                          f'exec sh -c "echo \\$DISPLAY > {runtime}/display"\n')
        if self.as_user:
            for path in (runtime, config):
                os.chown(path, NOBODY, NOBODY)
        os.chmod(runtime, 0o700)
        self.env = {"PATH": os.environ["PATH"], "XDG_RUNTIME_DIR": str(runtime),
                    "HOME": str(runtime), "WAYLAND_DISPLAY": "wayland-1"}
        # Sway keeps key maps in shared memory (/dev/shm), which a session has writable; in a bare
        # root it is not, and as root the tests give sway a /dev/shm of its own.
        own_shm = ["unshare", "--mount", "--propagation", "unchanged", "sh", "-c",
                   'mount -t tmpfs -o mode=1777 kobako-shm /dev/shm && exec "$@"',
                   "sh"] if self.as_user else []
        self.process = subprocess.Popen(
            [*own_shm, *self.as_user, "sway", "-c", str(config)],
            env=dict(self.env, WLR_BACKENDS="headless", WLR_LIBINPUT_NO_DEVICES="1",
                     WLR_RENDERER="pixman"),
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
        wait_until((runtime / "display").exists, timeout=15, what="sway")
        self.x_display = (runtime / "display").read_text().strip()

    def reachable(self, program):
        return reachable(program, self.runtime.name)

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

    def focused(self):
        """The app_id of the Wayland window that has the keyboard, the name of an X one, or
        None."""
        socket = next(Path(self.runtime.name).glob("sway-ipc.*.sock"))
        nodes = [json.loads(self.run("swaymsg", "-s", str(socket), "-t", "get_tree",
                                     out=True).stdout)]
        while nodes:
            node = nodes.pop()
            if node.get("focused"):
                return node.get("app_id") or node.get("window_properties") and node.get("name")
            nodes += node.get("nodes", []) + node.get("floating_nodes", [])
        return None

    def stop(self):
        end_group(self.process.pid)
        self.process.wait(timeout=10)
        self.runtime.cleanup()


class XWayland(Display):
    """Sway's X display, used as the tests use their Xvfb displays."""

    def __init__(self, sway):
        self.name, self.prefix = sway.x_display, sway.as_user
        self.env = dict(sway.env, DISPLAY=sway.x_display)
