"""What the program says about the system it runs on."""

import tempfile
import unittest
from pathlib import Path

from harness import DesktopTest, Kobako


class Environment(DesktopTest):
    def test_without_a_japanese_font_it_says_which_package_to_install(self):
        fonts = tempfile.TemporaryDirectory()
        self.addCleanup(fonts.cleanup)
        # A fontconfig that knows only one Latin font.
        config = Path(fonts.name) / "fonts.conf"
        config.write_text(
            '<?xml version="1.0"?><!DOCTYPE fontconfig SYSTEM "fonts.dtd"><fontconfig>'
            '<dir>/usr/share/fonts/truetype/dejavu</dir>'
            f'<cachedir>{fonts.name}/cache</cachedir></fontconfig>')
        program = Kobako(self.display, self.tmp.name,
                         env=dict(self.display.env, FONTCONFIG_FILE=str(config), LANG="C.UTF-8"))
        self.addCleanup(program.kill)
        program.stop()
        program.log.seek(0)
        said = program.log.read().decode()
        self.assertIn("fonts-noto-cjk", said)
        self.assertIn("日本語のフォントがありません", said)

    def test_with_the_fonts_of_the_package_it_says_nothing_about_fonts(self):
        program = self.start()
        program.stop()
        program.log.seek(0)
        self.assertNotIn("fonts-noto-cjk", program.log.read().decode())


if __name__ == "__main__":
    unittest.main()
