"""Checks scripts/mutation.py: its operators, and that a mutated file always gets its bytes back."""

import os
import signal
import sys
import tempfile
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "scripts"))
import mutation  # noqa: E402


def mutated(text, operator):
    """The mutated lines one operator makes of a snippet (last line only)."""
    found = mutation.mutants_in_text("x.cpp", text, (operator,))
    last = len(text.splitlines())
    return sorted(m.mutated_line().strip() for m in found if m.line == last)


class OperatorTest(unittest.TestCase):
    CASES = [
        ("comparison", "if (a < b && c != d)", ["if (a < b && c == d)", "if (a <= b && c != d)"]),
        ("comparison", "x = a >= b;", ["x = a > b;"]),
        ("comparison", 'Log("a < b"); // a == b', []),
        ("constant", "x = 0x0F + 7;", ["x = 0x0E + 7;", "x = 0x0F + 6;", "x = 0x0F + 8;", "x = 0x10 + 7;"]),
        ("constant", "y = 0 + 1.5 + kSlot2;", ["y = 1 + 1.5 + kSlot2;"]),
        ("constant", "const char c = '1'; /* 3 */", []),
        ("logical", "ok = a && (b || c);", ["ok = a && (b && c);", "ok = a || (b || c);"]),
        ("negate", "    if (ready(x)) go();", ["if (!(ready(x))) go();"]),
        ("negate", "if constexpr (kDebug)", []),
        ("drop", "{\n    Send(kWake);", [""]),
        ("drop", "x = 1;\ncount += 2;  // why", ["// why"]),
        ("drop", "if (broken)\n    Send(kWake);", []),
        ("drop", "{\n    return n;", []),
    ]

    def test_each_operator_on_sample_lines(self):
        for operator, text, expected in self.CASES:
            with self.subTest(operator=operator, text=text):
                self.assertEqual(mutated(text, operator), sorted(expected))

    def test_block_comments_and_preprocessor_lines_are_left_alone(self):
        text = "/* a == b\n   if (x) */\n#define N 4\nint y = 5;"
        self.assertEqual([m.line for m in mutation.mutants_in_text("x.cpp", text)], [4, 4])

    def test_ids_survive_edits_elsewhere_in_the_file(self):
        before = "int a = 1;\nbool b = x < y;\n"
        ids = lambda t, seed=1: {m.id for m in mutation.with_ids(mutation.mutants_in_text("f.cpp", t), seed)}
        self.assertLess(ids(before), ids("// new comment\nint z = 9;\n" + before))
        self.assertNotEqual(ids(before), ids(before, 2))

    def test_verdicts(self):
        for code, output, state in [
            (0, "100% tests passed", "survived"),
            (None, "", "timed out"),
            (8, "1/3 Test #1: A.b ....***Timeout 60.0 sec", "timed out"),
            (8, "1/3 Test #1: A.b ....***Timeout\n2/3 Test #2: A.c ....***Failed", "killed"),
            (8, "1/3 Test #1: A.b ....***Exception: SegFault", "killed"),
        ]:
            with self.subTest(output=output):
                self.assertEqual(mutation.verdict(code, output), state)


class RestoreTest(unittest.TestCase):
    ORIGINAL = b"int f(int a)\r\n{\r\n    return a < 3 ? 1 : 0;\r\n}\r\n"

    def setUp(self):
        folder = tempfile.TemporaryDirectory()
        self.addCleanup(folder.cleanup)
        self.root = Path(folder.name)
        self.file = self.root / "f.cpp"
        self.file.write_bytes(self.ORIGINAL)
        self.mutant = mutation.with_ids(mutation.mutants_in_text("f.cpp", self.ORIGINAL.decode()), 1)[0]

    def restorer(self):
        return mutation.Restorer(self.root / "backup", self.root)

    def test_restore_and_recovery_give_back_the_exact_bytes(self):
        r = self.restorer()
        r.apply(self.mutant)
        self.assertIn(b"a <= 3", self.file.read_bytes())
        r.restore()
        self.assertEqual(self.file.read_bytes(), self.ORIGINAL)
        self.assertEqual(list((self.root / "backup").iterdir()), [])
        self.restorer().apply(self.mutant)  # a run that died mutated ...
        self.restorer().recover()  # ... is repaired by the next one
        self.assertEqual(self.file.read_bytes(), self.ORIGINAL)

    def test_a_signal_while_mutated_restores_the_file(self):
        old = signal.signal(signal.SIGTERM, mutation.raise_interrupt)
        self.addCleanup(signal.signal, signal.SIGTERM, old)
        r = self.restorer()
        with self.assertRaises(KeyboardInterrupt):
            try:
                r.apply(self.mutant)
                os.kill(os.getpid(), signal.SIGTERM)
            finally:
                r.restore()
        self.assertEqual(self.file.read_bytes(), self.ORIGINAL)

    def test_a_changed_line_is_not_mutated(self):
        self.file.write_bytes(self.ORIGINAL.replace(b"< 3", b"< 4"))
        with self.assertRaises(RuntimeError):
            self.restorer().apply(self.mutant)

