"""Takes the screenshots in docs/ from the real program under Xvfb.

    KOBAKO=build/app/kobako python3 scripts/screenshots.py docs/
"""

import sys
import tempfile
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "tests" / "e2e"))
from harness import Display, Kobako  # noqa: E402

TEXTS = ["Hello, Kobako", "日本語のテキスト", "複数行の\r\nテキスト", "git status", "クリップボード履歴"]


def shoot(display, program, out):
    x, y, w, h = program.geometry()
    time.sleep(0.3)
    display.run("import", "-window", "root", "-crop", f"{w}x{h}+{x}+{y}", str(out))


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
            program.kill()
        display.close()


if __name__ == "__main__":
    main(Path(sys.argv[1] if len(sys.argv) > 1 else "docs"))
