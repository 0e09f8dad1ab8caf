"""Runs a command on a fresh Xvfb display of its own: with_display.py COMMAND [ARGS...]"""

import subprocess
import sys

from harness import Display

display = Display()
try:
    sys.exit(subprocess.run(sys.argv[1:], env=display.env).returncode)
finally:
    display.close()
