"""A session bus for the tests' sway with the real xdg-desktop-portal on it, whose global shortcuts
the tests' own desktop half serves (shortcuts_desktop.py): what a Wayland desktop offering the
portal gives a program."""

import json
import select
import subprocess
from pathlib import Path

from harness import SLOWDOWN, end_group, wait_until

PORTAL = "/usr/libexec/xdg-desktop-portal"
DESKTOP = Path(__file__).with_name("shortcuts_desktop.py")
# Nothing is started on demand: the bus holds the portal and the desktop half alone.
BUS_CONFIG = """<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:path={runtime}/bus</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
"""


class DesktopPortal:
    """Adds the bus to the environment of what sway runs."""

    def __init__(self, sway):
        runtime = Path(sway.runtime.name)
        portals = runtime / "portals"
        portals.mkdir()
        (portals / "kobakotest.portal").write_text(
            "[portal]\nDBusName=org.freedesktop.impl.portal.desktop.kobakotest\n"
            "Interfaces=org.freedesktop.impl.portal.GlobalShortcuts;\nUseIn=kobakotest\n")
        config = runtime / "bus.conf"
        config.write_text(BUS_CONFIG.format(runtime=runtime))
        self.sway, self.processes = sway, []
        bus = self.start(sway.env, "dbus-daemon", f"--config-file={config}", "--nofork",
                         "--print-address=1")
        sway.env["DBUS_SESSION_BUS_ADDRESS"] = bus.stdout.readline().decode().strip()
        env = dict(sway.env, XDG_CURRENT_DESKTOP="kobakotest", XDG_DESKTOP_PORTAL_DIR=str(portals))
        self.desktop = self.start(env, "python3", sway.reachable(DESKTOP), says="ready")
        self.start(env, PORTAL)
        wait_until(lambda: self.has_owner("org.freedesktop.portal.Desktop"), timeout=15,
                   what="xdg-desktop-portal on the bus")

    def start(self, env, *args, says=None):
        process = subprocess.Popen([*self.sway.as_user, *args], env=env,
                                   stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                   stderr=subprocess.DEVNULL, start_new_session=True)
        self.processes.append(process)
        if says:
            assert process.stdout.readline().decode().strip() == says, f"{args} did not start"
        return process

    def has_owner(self, name):
        reply = self.sway.run("dbus-send", "--session", "--print-reply",
                              "--dest=org.freedesktop.DBus", "/org/freedesktop/DBus",
                              "org.freedesktop.DBus.NameHasOwner", f"string:{name}",
                              out=True).stdout
        return b"boolean true" in reply

    def bound(self, timeout=5):
        """The shortcuts of the next binding asked for: a dictionary of each one's properties."""
        ready, _, _ = select.select([self.desktop.stdout], [], [], timeout * SLOWDOWN)
        assert ready, "no shortcut was bound"
        return json.loads(self.desktop.stdout.readline())

    def press(self):
        """The user presses every shortcut bound."""
        self.desktop.stdin.write(b"press\n")
        self.desktop.stdin.flush()

    def stop(self):
        for process in reversed(self.processes):
            end_group(process.pid)
            process.wait(timeout=10)
            for stream in (process.stdin, process.stdout):
                stream.close()
