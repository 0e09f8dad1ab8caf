"""A desktop's half of the global shortcuts portal, for the tests: the real xdg-desktop-portal
hands it what programs ask for. It prints each binding as a line of JSON and, for each line read
on standard input, activates every shortcut bound, as a desktop does when the user presses one."""

import json
import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

NAME = "org.freedesktop.impl.portal.desktop.kobakotest"
PATH = "/org/freedesktop/portal/desktop"
SHORTCUTS = "org.freedesktop.impl.portal.GlobalShortcuts"


class Session(dbus.service.Object):
    def __init__(self, bus, path, sessions):
        super().__init__(bus, path)
        self.path, self.sessions, self.shortcuts = path, sessions, []
        sessions[path] = self

    @dbus.service.method("org.freedesktop.impl.portal.Session")
    def Close(self):
        del self.sessions[self.path]
        self.remove_from_connection()


class Desktop(dbus.service.Object):
    def __init__(self, bus):
        super().__init__(bus, PATH)
        self.bus, self.sessions = bus, {}

    @dbus.service.method(SHORTCUTS, in_signature="oosa{sv}", out_signature="ua{sv}")
    def CreateSession(self, handle, session, app_id, options):
        Session(self.bus, session, self.sessions)
        return 0, {"session_handle": dbus.String(session)}

    @dbus.service.method(SHORTCUTS, in_signature="ooa(sa{sv})sa{sv}", out_signature="ua{sv}")
    def BindShortcuts(self, handle, session, shortcuts, parent_window, options):
        self.sessions[session].shortcuts = [str(id) for id, _ in shortcuts]
        print(json.dumps([dict({k: str(v) for k, v in properties.items()}, id=str(id))
                          for id, properties in shortcuts], ensure_ascii=False), flush=True)
        return 0, {"shortcuts": shortcuts}

    @dbus.service.signal(SHORTCUTS, signature="osta{sv}")
    def Activated(self, session, shortcut, timestamp, options):
        pass

    def press(self, *_):
        line = sys.stdin.readline()
        if not line:
            loop.quit()
            return False
        for session in self.sessions.values():
            for shortcut in session.shortcuts:
                self.Activated(session.path, shortcut, dbus.UInt64(0), {})
        return True


DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()
desktop = Desktop(bus)
name = dbus.service.BusName(NAME, bus)
print("ready", flush=True)
loop = GLib.MainLoop()
GLib.io_add_watch(sys.stdin, GLib.IO_IN | GLib.IO_HUP, desktop.press)
loop.run()
