"""The X11 reader against clipboard owners that behave and owners that do not (test_owner): each
copy gives its text or none, a secret never, and no owner stops the copies after it."""

import os
import subprocess
import unittest
from pathlib import Path

from harness import DesktopTest, records, start_owner

TEST_OWNER = os.environ.get("TEST_OWNER")


@unittest.skipUnless(TEST_OWNER, "needs the tests' X owner")
class X11Owners(DesktopTest):
    def setUp(self):
        super().setUp()
        self.program = self.start(kobako_f2=b" 1 \r\n1000\r\n18\r\n0\r\n1\r\n")
        self.kept = []

    def owner(self, *args, decided=True):
        """test_owner copies, and goes on serving until it is replaced or killed; with
        `decided`, until the program has decided on its copy, and no longer."""
        before = self.program.changes()
        owner = start_owner(self, [TEST_OWNER, *args], self.display.env)
        if decided:
            self.program.wait_for_changes(before + 1)
            owner.kill()
        return owner

    def after(self, kept=None):
        """What the owner before should have given, then a plain copy, which is always kept."""
        if kept is not None:
            self.kept.insert(0, kept)
        text = f"after {len(self.kept)}"
        self.copy(self.program, text)
        self.kept.insert(0, text)

    def test_each_owner_gives_its_text_or_none_and_never_stops_the_next(self):
        cases = [("plain", b"hello \xe6\x97\xa5", "hello 日"),
                 ("plain", b"abc\xe9def", "abc\ufffddef"), ("string-only", b"caf\xe9", "café"),
                 ("public-mark", b"shown", "shown"), ("many-targets", b"many", "many"),
                 # A secret is never kept: not when the owner hands the clipboard on or exits
                 # right after giving the text, nor when the mark is offered but not sent or
                 # comes too late.
                 *[(mode, b"hidden", None) for mode in
                   ("secret-handoff", "secret-exit", "secret-refuse") for _ in range(10)],
                 ("secret-late", b"hidden", None),
                 # An owner that never tells, or tells late, what it offers gives its text.
                 ("no-targets", b"kept 1", "kept 1"), ("slow-targets", b"kept 2", "kept 2"),
                 ("wrong-type", b"w", None), ("incr-die", b"d", None), ("never", b"n", None)]
        for mode, text, kept in cases:
            self.owner(mode, text)
            self.after(kept)
        # An owner that keeps its transfer alive for ever does not hold the next copy back.
        self.owner("incr-slow", decided=False)
        self.after()
        # Past the largest text a transfer is dropped at once, not when its time is up.
        self.owner("incr-endless", "e", decided=False)
        self.program.wait_saying(lambda: "256 MiB" in self.program.said(), 20, "the drop")
        self.after()
        # A program answering any request with its own text (xclip does) takes the clipboard a
        # moment after a password manager: it never answers for the secret's mark.
        for _ in range(10):
            self.owner("secret-then-any", "hidden", decided=False)
            self.after()
        self.program.stop()
        texts = self.program.file("kobako.f3").split(b"\r\nText Start Point\r\n")
        self.assertNotIn(b"hidden", texts)
        self.assertEqual([t for t in texts if t not in (b"", b"next")],
                         [k.encode() for k in self.kept])

    def test_copies_5_ms_apart_are_all_kept_in_order(self):
        self.owner("burst", "b", "40", "5", decided=False)
        self.program.wait_for_changes(40)
        self.saved(self.program, records(*[f"b-{i}" for i in reversed(range(40))]))

    def test_an_announced_size_reserves_no_memory(self):
        pid = str(self.program.process.pid)
        size = next(int(line.split()[1]) for line in Path(f"/proc/{pid}/status").read_text()
                    .splitlines() if line.startswith("VmSize:"))
        subprocess.run(["prlimit", "--pid", pid, f"--as={(size << 10) + (1 << 30)}"], check=True)
        self.owner("incr-huge")
        self.after()
        self.assertIsNone(self.program.process.poll())


if __name__ == "__main__":
    unittest.main()
