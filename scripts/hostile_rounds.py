"""Plays the hostile clipboard owners of tests/platform/test_owner against the whole program, a
number of rounds each (HOSTILE_ROUNDS, 100 by default), and prints what reached the history:
secrets stored (must be 0) and normal copies lost (must be 0), with the peak resident size."""

import os
import subprocess
import sys
import tempfile
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "tests" / "e2e"))
from harness import Display, Kobako  # noqa: E402

TEST_OWNER = os.environ["TEST_OWNER"]
ROUNDS = int(os.environ.get("HOSTILE_ROUNDS", "100"))
SETTINGS = b" 1 \r\n32767\r\n18\r\n0\r\n1\r\n"


def owner(display, *args):
    """Starts a test owner and returns once it owns the clipboard."""
    process = subprocess.Popen([TEST_OWNER, *args], env=display.env, stdout=subprocess.PIPE,
                               stderr=subprocess.DEVNULL)
    process.stdout.readline()
    return process


def play(name, round_of):
    """Runs the rounds on one program; returns the history's texts and its peak RSS in MiB."""
    display = Display()
    directory = tempfile.TemporaryDirectory()
    (Path(directory.name) / "kobako.f2").write_bytes(SETTINGS)
    program = Kobako(display, directory.name)
    try:
        for i in range(ROUNDS):
            round_of(display, i)
        time.sleep(1)
        peak = next(int(line.split()[1]) for line in
                    Path(f"/proc/{program.process.pid}/status").read_text().splitlines()
                    if line.startswith("VmHWM:")) / 1024
        program.stop()
        stored = (Path(directory.name) / "kobako.f3").read_bytes().decode().split(
            "\r\nText Start Point\r\n")
        return set(stored), peak
    finally:
        program.kill()
        display.close()
        directory.cleanup()


def secret_then(taker):
    """A password manager copies a secret; `taker` takes the clipboard a moment later."""
    def round_of(display, i):
        manager = owner(display, "secret", f"secret-{i}")
        taker(display, i)
        time.sleep(0.05)
        manager.kill()
        manager.wait()
    return round_of


def xclip_takes(display, i):
    display.copy(f"normal-{i}")


def any_target_takes(display, i):
    # test_owner's own hand-over: a window that answers any request with "next".
    process = owner(display, "secret-then-any", f"secret-late-{i}")
    time.sleep(0.05)
    display.copy(f"normal-{i}")
    process.kill()
    process.wait()


def normal_from(mode, wait):
    def round_of(display, i):
        process = owner(display, mode, f"normal-{i}")
        time.sleep(wait)
        display.copy(f"after-{i}")  # the next copy, so that each round ends its owner
        time.sleep(0.05)
        process.kill()
        process.wait()
    return round_of


def endless(display, i):
    process = owner(display, "incr-endless")
    time.sleep(1.5)
    process.kill()
    process.wait()
    display.copy(f"normal-{i}")
    time.sleep(0.1)


def report(name, stored, peak, secrets, normals):
    leaked = sum(1 for text in stored if text.startswith(secrets))
    lost = sum(1 for i in range(ROUNDS) for prefix in normals if f"{prefix}{i}" not in stored)
    print(f"{name:<44} rounds {ROUNDS:>4}   secrets stored {leaked:>3}   normal copies lost "
          f"{lost:>3}   peak RSS {peak:7.1f} MiB")


def main():
    cases = [
        ("secret, then xclip a moment later", secret_then(xclip_takes), ("secret",), ("normal-",)),
        ("secret, then an owner answering any target", any_target_takes, ("secret",),
         ("normal-",)),
        ("owner that never answers TARGETS", normal_from("no-targets", 1.5), (), ("normal-",)),
        ("owner that answers TARGETS after 3.5 s", normal_from("slow-targets", 4.0), (),
         ("normal-",)),
        ("endless transfer in pieces, then a copy", endless, (), ("normal-",)),
    ]
    for name, round_of, secrets, normals in cases:
        stored, peak = play(name, round_of)
        report(name, stored, peak, secrets or ("\0",), normals)


if __name__ == "__main__":
    main()
