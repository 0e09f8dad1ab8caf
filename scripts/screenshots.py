"""Takes the screenshots in docs/ from the real program under Xvfb, and with KOBAKO_WINDOWS
(the path of kobako.exe) those of the Windows program under wine in docs/windows/.

    KOBAKO=build/app/kobako python3 scripts/screenshots.py docs/
"""

import os
import signal
import sys
import tempfile
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "tests" / "e2e"))
from harness import Display, Kobako, wait_until  # noqa: E402

TEXTS = ["Hello, Kobako", "日本語のテキスト", "複数行の\r\nテキスト", "git status", "クリップボード履歴"]


def shoot(display, program, out):
    x, y, w, h = program.geometry()
    time.sleep(0.3)
    display.run("import", "-window", "root", "-crop", f"{w}x{h}+{x}+{y}", str(out))


def window_named(display, name):
    window = display.xdotool("search", "--onlyvisible", "--name", f"^{name}$").split()[0]
    values = dict(line.split("=") for line in
                  display.xdotool("getwindowgeometry", "--shell", window).split())
    return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])


def shoot_dialogs(display, program, target):
    """The settings window opened with the wrench, and the version window from it."""
    x, y, _, _ = program.geometry()
    display.xdotool("mousemove", str(x + 12), str(y + 12), "click", "1")
    time.sleep(0.8)
    sx, sy, sw, sh = window_named(display, "設定")
    display.run("import", "-window", "root", "-crop", f"{sw}x{sh}+{sx}+{sy}",
                str(target / "settings-window.png"))
    # The version button lies at 3390, 3570 twips in the settings window.
    display.xdotool("mousemove", str(sx + 3390 // 15 + 20), str(sy + 3570 // 15 + 10), "click", "1")
    time.sleep(0.8)
    vx, vy, vw, vh = window_named(display, "バージョン情報")
    display.run("import", "-window", "root", "-crop", f"{vw}x{vh}+{vx}+{vy}",
                str(target / "version-window.png"))


def shoot_desktop(target):
    """The installed program under openbox: where it appears, moved, resized, minimized and
    back, and above another window."""
    import subprocess
    display = Display()
    wm = subprocess.Popen(["openbox", "--sm-disable"], env=display.env,
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    time.sleep(1)
    with tempfile.TemporaryDirectory() as directory:
        program = Kobako(display, directory)
        screen = lambda name: display.run("import", "-window", "root", str(target / name))
        for text in TEXTS:
            display.copy(text)
            time.sleep(0.2)
        x, y, w, h = program.geometry()
        screen("desktop-1-appeared.png")
        display.xdotool("mousemove", str(x + w // 2), str(y + 12), "mousedown", "1")
        for step in range(1, 6):
            display.xdotool("mousemove", str(x + w // 2 - 80 * step), str(y + 12 + 20 * step))
        display.xdotool("mouseup", "1")
        time.sleep(0.4)
        x, y, w, h = program.geometry()
        screen("desktop-2-moved.png")
        display.xdotool("mousemove", str(x + w // 2), str(y + h - 2), "mousedown", "1",
                        "mousemove", str(x + w // 2), str(y + h + 80), "mouseup", "1")
        time.sleep(0.4)
        x, y, w, h = program.geometry()
        screen("desktop-3-resized.png")
        display.xdotool("mousemove", str(x + w - 36), str(y + 12), "click", "1")
        time.sleep(0.5)
        screen("desktop-4-minimized.png")
        display.copy("戻ってきました")
        time.sleep(0.8)
        x, y, w, h = program.geometry()
        screen("desktop-5-back-after-a-copy.png")
        other = subprocess.Popen(["xmessage", "-geometry", f"420x300+{x - 150}+{y - 30}",
                                  "another window, activated"], env=display.env)
        time.sleep(0.8)
        window = display.xdotool("search", "--name", "^xmessage$").split()[0]
        display.xdotool("windowactivate", window)
        time.sleep(0.5)
        screen("desktop-6-in-front.png")
        other.kill()
        program.kill()
    wm.kill()
    display.close()


def client_area(display, window):
    """Where a window's client area is; xdotool counts a reparenting frame twice."""
    info = display.run("xwininfo", "-id", window).stdout.decode()
    values = {key.strip(): int(value) for key, value in
              (line.split(":", 1) for line in info.splitlines()
               if line.strip().startswith(("Absolute", "Width", "Height")))}
    return (values["Absolute upper-left X"], values["Absolute upper-left Y"],
            values["Width"], values["Height"])


def shoot_under(name, command, target):
    """Under a window manager: the history window after some copies, the settings window with a
    message above it, and the font dialog above the settings window."""
    import subprocess
    display = Display()
    wm = subprocess.Popen(command, env=display.env, stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL, start_new_session=True)
    time.sleep(1.5)
    screen = lambda suffix: display.run("import", "-window", "root",
                                        str(target / f"{name}-{suffix}.png"))
    with tempfile.TemporaryDirectory() as directory:
        program = Kobako(display, directory)
        for text in TEXTS:
            display.copy(text)
            time.sleep(0.2)
        x, y, _, _ = program.geometry()
        screen("history")
        time.sleep(0.5)
        display.xdotool("mousemove", str(x + 12), str(y + 12), "click", "1")
        time.sleep(1.0)
        settings = display.xdotool("search", "--onlyvisible", "--name", "^設定$").split()[0]
        sx, sy, _, _ = client_area(display, settings)
        display.xdotool("mousemove", str(sx + 5145 // 15 + 42), str(sy + 2340 // 15 + 8),
                        "click", "1", "key", "ctrl+a", "type", "abc")
        display.xdotool("mousemove", str(sx + 5085 // 15 + 30), str(sy + 4275 // 15 + 15),
                        "click", "1")
        time.sleep(1.0)
        screen("settings-message")
        display.xdotool("key", "Return")
        time.sleep(0.5)
        display.xdotool("mousemove", str(sx + 3405 // 15 + 40), str(sy + 4275 // 15 + 15),
                        "click", "1")
        time.sleep(1.5)
        screen("font-dialog")
        program.kill()
    os.killpg(wm.pid, signal.SIGKILL)
    display.close()


def shoot_locales(target):
    """The settings window with a message above it, under a Japanese, the C and an English
    locale."""
    import subprocess
    for name, lang in (("ja", "ja_JP.UTF-8"), ("c", "C.UTF-8"), ("en", "en_US.UTF-8")):
        display = Display()
        wm = subprocess.Popen(["openbox", "--sm-disable"], env=display.env,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                              start_new_session=True)
        time.sleep(1.5)
        with tempfile.TemporaryDirectory() as directory:
            env = dict(display.env, LANG=lang)
            env.pop("LC_ALL", None)
            env.pop("LANGUAGE", None)
            program = Kobako(display, directory, env=env)
            for text in TEXTS:
                display.copy(text)
                time.sleep(0.2)
            x, y, _, _ = program.geometry()
            time.sleep(0.5)
            display.xdotool("mousemove", str(x + 12), str(y + 12), "click", "1")
            time.sleep(1.0)
            # The one visible window besides the history window (its title depends on the
            # language, and on how the locale lets xdotool read it).
            settings = [w for w in display.xdotool("search", "--onlyvisible", "--name", ".").split()
                        if w not in program.window_ids()][0]
            sx, sy, _, _ = client_area(display, settings)
            # The list maximum (the right of its box, which English pushes right), then OK by
            # the keyboard: an English window is laid out wider.
            display.xdotool("mousemove", str(sx + 5145 // 15 + 42), str(sy + 2340 // 15 + 8),
                            "click", "1", "key", "ctrl+a", "type", "abc")
            display.xdotool("key", "Tab", "Tab", "Tab", "space")
            time.sleep(1.0)
            display.run("import", "-window", "root", "-crop", "760x480+260+160",
                        str(target / f"settings-{name}.png"))
            program.kill()
        os.killpg(wm.pid, signal.SIGKILL)
        display.close()


def main(target):
    target.mkdir(parents=True, exist_ok=True)
    for name, settings in (("list-mode.png", b" 1 \r\n8\r\n18\r\n0\r\n1\r\n"),
                           ("text-box-mode.png", b" 1 \r\n5\r\n18\r\n1\r\n1\r\n")):
        display = Display()
        with tempfile.TemporaryDirectory() as directory:
            (Path(directory) / "kobako.f2").write_bytes(settings)
            program = Kobako(display, directory)
            for text in TEXTS:
                display.copy(text)
                time.sleep(0.2)
            shoot(display, program, target / name)
            if name == "list-mode.png":
                shoot_dialogs(display, program, target)
            program.kill()
        display.close()


def shoot_finding(target):
    """The list found by typing half-width kana, which find the full-width ones, marked."""
    display = Display()
    with tempfile.TemporaryDirectory() as directory:
        (Path(directory) / "kobako.f2").write_bytes(b" 1 \r\n8\r\n18\r\n0\r\n1\r\n")
        program = Kobako(display, directory)
        for text in TEXTS + ["テキストエディター", "Text"]:
            display.copy(text)
            time.sleep(0.2)
        display.xdotool("key", "ctrl+alt+h")
        time.sleep(0.5)
        display.xdotool("type", "ﾃｷｽﾄ")
        time.sleep(0.5)
        shoot(display, program, target / "find-by-typing.png")
        program.kill()
    display.close()


def shoot_slots(target):
    """Ten slots at the window's size as designed, at 1x and as Qt scales it for a 2x screen."""
    for name, scale in (("ten-slots-1x.png", "1"), ("ten-slots-2x.png", "2")):
        display = Display()
        with tempfile.TemporaryDirectory() as directory:
            (Path(directory) / "kobako.f2").write_bytes(b" 1 \r\n10\r\n18\r\n1\r\n1\r\n")
            program = Kobako(display, directory, env=dict(display.env, QT_SCALE_FACTOR=scale))
            for text in TEXTS * 2:
                program.copied(lambda: display.copy(text + " "), (text + " ").encode())
            shoot(display, program, target / name)
            program.kill()
        display.close()


def wine_window(display, named):
    """A shown window of wine's whose name `named` accepts: under a Japanese locale wine names
    its X windows in a way that xdotool's search does not match."""
    return [w for w in display.xdotool("search", "--onlyvisible", "--name", ".").split()
            if named(display.xdotool("getwindowname", w).strip())][0]


def shoot_windows(target):
    """The Windows program under wine, in a prefix of its own: the list after some copies, the
    settings window, and the installer's first page."""
    import subprocess
    display = Display()
    with tempfile.TemporaryDirectory() as prefix, tempfile.TemporaryDirectory() as directory:
        env = dict(display.env, WINEPREFIX=prefix, WINEDEBUG="-all", LANG="ja_JP.UTF-8",
                   WINEDLLOVERRIDES="mscoree,mshtml=")
        subprocess.run(["wineboot", "--init"], env=env, check=True, capture_output=True)
        subprocess.run(["wineserver", "--wait"], env=env)  # the prefix is made by then
        (Path(directory) / "kobako.f2").write_bytes(b" 1 \r\n8\r\n18\r\n0\r\n1\r\n")
        program = subprocess.Popen(["wine", os.environ["KOBAKO_WINDOWS"]], cwd=directory,
                                   env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        # Minimized before any copy, as wine shows it on the X side.
        wait_until(lambda: display.run("xdotool", "search", "--onlyvisible", "--name", ".",
                                       check=False).stdout, timeout=60, what="the program")
        for text in TEXTS:
            display.copy(text)
            time.sleep(1)
        x, y, w, h = client_area(display, wine_window(display, lambda name: name == "Kobako"))
        display.run("import", "-window", "root", "-crop", f"{w}x{h}+{x}+{y}",
                    str(target / "list-mode.png"))
        display.xdotool("mousemove", str(x + 12), str(y + 12), "click", "1")
        time.sleep(2)
        sx, sy, sw, sh = client_area(display, wine_window(display, lambda name: name == "設定"))
        display.run("import", "-window", "root", "-crop", f"{sw}x{sh}+{sx}+{sy}",
                    str(target / "settings.png"))
        program.kill()
        # The installer's first page, as a Japanese Windows shows it.
        setup = Path(os.environ["KOBAKO_WINDOWS"]).parents[1] / "kobako-setup.exe"
        installer = subprocess.Popen(["wine", str(setup)], env=env, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL)
        time.sleep(5)
        ix, iy, iw, ih = client_area(display, wine_window(display, lambda name: "セットアップ" in name))
        display.run("import", "-window", "root", "-crop", f"{iw}x{ih}+{ix}+{iy}",
                    str(target / "installer.png"))
        installer.kill()
        subprocess.run(["wineserver", "--kill"], env=env)
    display.close()


if __name__ == "__main__":
    out = Path(sys.argv[1] if len(sys.argv) > 1 else "docs")
    main(out)
    shoot_finding(out)
    shoot_slots(out)
    shoot_desktop(out)
    (out / "window-managers").mkdir(exist_ok=True)
    shoot_under("openbox", ["openbox", "--sm-disable"], out / "window-managers")
    shoot_under("xfwm4", ["dbus-run-session", "--", "xfwm4", "--compositor=off"],
                out / "window-managers")
    (out / "locales").mkdir(exist_ok=True)
    shoot_locales(out / "locales")
    if os.environ.get("KOBAKO_WINDOWS"):
        (out / "windows").mkdir(exist_ok=True)
        shoot_windows(out / "windows")
