#!/usr/bin/env python3
"""Mutation testing for kel's engine: how many small faults do the unit tests notice?

One small change at a time is made to an engine source file (a comparison
flipped, an integer constant moved by one, && and || swapped, a statement
dropped, a condition negated); the unit-test programs that link that file are
rebuilt with ninja and their tests (those ctest lists under the label unit)
run under a time limit. Each mutant ends as killed (a test failed), survived (every test
passed), timed out, or did not compile (not counted as killed). The file is
restored after every mutant, also on Ctrl-C or a termination signal; a copy of
the original is kept in the build folder until then, so even a killed run is
undone by the next start.

Results go to <build>/mutation/ as they come: a journal (one JSON line per
mutant, so an interrupted run resumes where it stopped), the JSON summary
and a text report listing the survivors by file and line.

Comparing two runs: the sample is chosen by hashing the seed with each
mutant's file, the text of its line, the operator and the replacement, and
keeping the COUNT smallest hashes. Line numbers do not enter, so edits
elsewhere do not move the sample: with the same seed and count, two runs over
trees whose engine sources are unchanged mutate exactly the same places, and
an edit to a source changes only the mutants on the edited lines plus a few at
the sample's edge. Mutant ids in the JSON are these hashes: join two summaries
on "id" to see which mutants changed state. The kill rate of a run is
killed / (killed + survived + timed out); rates are comparable when the seed,
count, paths and operators match (the summary records them). A mutant that
only changes a source line that the later tree no longer has drops out of the
comparison, so after a large rewrite of the engine compare the rates, not the
mutants.
"""

from __future__ import annotations

import argparse
import hashlib
import json
import os
import re
import signal
import subprocess
import sys
import time
from dataclasses import asdict, dataclass
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
DEFAULT_PATHS = ("link", "settings", "update")
QT_FOLDERS = {"qt"}  # Qt code inside an engine folder (link/qt/)

# --------------------------------------------------------------------------
# Finding the mutants


@dataclass(frozen=True)
class Mutant:
    path: str  # relative to the repository root
    line: int  # 1-based
    column: int  # 0-based start of the replaced text
    length: int  # length of the replaced text
    replacement: str
    operator: str
    source: str  # the unmutated line, without its newline
    id: str = ""

    def mutated_line(self) -> str:
        return self.source[: self.column] + self.replacement + self.source[self.column + self.length :]

    def describe(self) -> str:
        before = self.source[self.column : self.column + self.length].strip()
        after = self.replacement.strip()
        if self.operator == "drop":
            return f"drop `{before}`"
        return f"`{before}` -> `{after}`"


def mask_line(line: str, in_comment: bool) -> tuple[str, bool]:
    """The line with comments and the insides of string and character
    literals blanked (same length), and whether a block comment is still open."""
    out = []
    i = 0
    n = len(line)
    while i < n:
        if in_comment:
            end = line.find("*/", i)
            if end < 0:
                out.append(" " * (n - i))
                i = n
            else:
                out.append(" " * (end + 2 - i))
                i = end + 2
                in_comment = False
            continue
        c = line[i]
        if line.startswith("//", i):
            out.append(" " * (n - i))
            break
        if line.startswith("/*", i):
            in_comment = True
            out.append("  ")
            i += 2
            continue
        if c == "'" and i > 0 and line[i - 1].isalnum():  # digit separator: 1'000
            out.append(c)
            i += 1
            continue
        if c in "\"'":
            j = i + 1
            while j < n and line[j] != c:
                j += 2 if line[j] == "\\" else 1
            j = min(j, n - 1)
            out.append(c + " " * (j - i - 1) + line[j])
            i = j + 1
            continue
        out.append(c)
        i += 1
    return "".join(out), in_comment


COMPARISONS = {"==": "!=", "!=": "==", "<": "<=", "<=": "<", ">": ">=", ">=": ">"}
COMPARISON_RE = re.compile(r"(?<=\s)(==|!=|<=|>=|<|>)(?=\s)")
LOGICAL_RE = re.compile(r"(?<=\s)(&&|\|\|)(?=\s)")
INTEGER_RE = re.compile(r"(?<![\w.'])(0[xX][0-9A-Fa-f]+|\d+)([uUlLzZ]*)(?![\w.'])")
CONDITION_RE = re.compile(r"\b(if|while)\s*\(")
NOT_DROPPED = {
    "return", "break", "continue", "goto", "case", "default", "else", "do", "for", "if",
    "while", "switch", "throw", "co_return", "auto", "using", "typedef", "static_assert",
    "namespace", "public", "private", "protected", "template", "struct", "class", "enum",
}
DECLARATION_RE = re.compile(
    r"^(?:(?:const|constexpr|static|inline|thread_local|volatile|mutable)\s+)*"
    r"[A-Za-z_][\w:]*(?:<.*>)?(?:\s*[*&]+\s*|\s+)[A-Za-z_]\w*\s*(?:[=;{(\[,]|$)"
)


def comparison_mutants(masked: str, line: str):
    for m in COMPARISON_RE.finditer(masked):
        yield m.start(), len(m.group(1)), COMPARISONS[m.group(1)], "comparison"


def logical_mutants(masked: str, line: str):
    for m in LOGICAL_RE.finditer(masked):
        yield m.start(), 2, "||" if m.group(1) == "&&" else "&&", "logical"


def constant_mutants(masked: str, line: str):
    for m in INTEGER_RE.finditer(masked):
        digits = m.group(1)
        value = int(digits, 0) if digits[:2].lower() == "0x" else int(digits)
        for changed in (value + 1, value - 1):
            if changed < 0:
                continue
            if digits[:2].lower() == "0x":
                text = f"{changed:0{len(digits) - 2}{'X' if digits[2:].isupper() else 'x'}}"
                text = digits[:2] + text
            else:
                text = str(changed)
            yield m.start(1), len(digits), text, "constant"


def matching_paren(masked: str, open_at: int) -> int:
    depth = 0
    for i in range(open_at, len(masked)):
        if masked[i] == "(":
            depth += 1
        elif masked[i] == ")":
            depth -= 1
            if depth == 0:
                return i
    return -1


def negation_mutants(masked: str, line: str):
    for m in CONDITION_RE.finditer(masked):
        if masked[m.end() :].lstrip().startswith("constexpr"):
            continue
        close = matching_paren(masked, m.end() - 1)
        if close < 0:
            continue  # the condition runs over several lines
        start = m.end()
        condition = line[start:close]
        if condition.strip():
            yield start, len(condition), f"!({condition})", "negate"


def balanced(masked: str) -> bool:
    return all(masked.count(a) == masked.count(b) for a, b in ("()", "[]", "{}"))


def drop_mutants(masked: str, line: str, previous: str):
    """A whole expression statement alone on its line, after the end of a
    statement or the start of a block (not the body of a braceless if)."""
    code = masked.rstrip()
    stripped = code.strip()
    if not stripped.endswith(";") or stripped == ";":
        return
    if not previous.rstrip().endswith((";", "{", "}", ":")):
        return
    if "{" in stripped or "}" in stripped or not balanced(stripped):
        return
    first_word = re.match(r"[A-Za-z_]\w*", stripped)
    if first_word and first_word.group(0) in NOT_DROPPED:
        return
    if DECLARATION_RE.match(stripped):
        return
    start = len(code) - len(code.lstrip())
    yield start, len(code) - start, "", "drop"


OPERATORS = ("comparison", "constant", "logical", "drop", "negate")


def mutants_in_text(path: str, text: str, operators=OPERATORS) -> list[Mutant]:
    """Every mutant of one file, in file order, without ids."""
    found = []
    in_comment = False
    previous_code = "{"
    for number, line in enumerate(text.splitlines(), start=1):
        masked, in_comment = mask_line(line, in_comment)
        if masked.lstrip().startswith("#"):
            continue  # preprocessor
        candidates = []
        for make in (comparison_mutants, constant_mutants, logical_mutants, negation_mutants):
            candidates.extend(make(masked, line))
        candidates.extend(drop_mutants(masked, line, previous_code))
        for column, length, replacement, operator in sorted(candidates):
            if operator in operators:
                found.append(Mutant(path, number, column, length, replacement, operator, line))
        if masked.strip():
            previous_code = masked
    return found


def with_ids(mutants: list[Mutant], seed: int) -> list[Mutant]:
    """Ids from the file, the line's text, the operator and the replacement,
    plus an ordinal that tells apart identical lines and identical changes on
    a line. The line number does not enter, so the ids survive edits elsewhere."""
    seen: dict[str, int] = {}
    result = []
    for m in mutants:
        base = "\x1f".join((m.path, m.source.strip(), m.operator, m.replacement))
        ordinal = seen.get(base, 0)
        seen[base] = ordinal + 1
        digest = hashlib.sha256(f"{seed}\x1f{base}\x1f{ordinal}".encode()).hexdigest()
        result.append(Mutant(**{**asdict(m), "id": digest[:16]}))
    return result


def source_files(paths: list[str]) -> list[Path]:
    files = []
    for p in paths:
        folder = (ROOT / p).resolve()
        if folder.is_file():
            files.append(folder)
            continue
        for f in sorted(folder.rglob("*.cpp")):
            if not QT_FOLDERS & set(f.relative_to(folder).parts[:-1]):
                files.append(f)
    return files


def sample(paths: list[str], seed: int, count: int, operators=OPERATORS) -> tuple[list[Mutant], int]:
    """The COUNT mutants with the smallest ids, in file order, and how many there were."""
    everything = []
    for f in source_files(paths):
        rel = f.relative_to(ROOT).as_posix()
        everything.extend(with_ids(mutants_in_text(rel, f.read_text(), operators), seed))
    chosen = sorted(everything, key=lambda m: m.id)[:count]
    return sorted(chosen, key=lambda m: (m.path, m.line, m.column, m.id)), len(everything)


# --------------------------------------------------------------------------
# Keeping the tree clean


class Restorer:
    """Writes a mutant into its file and puts the original back. The original
    is also copied into the build folder first, so a run that died without
    restoring (power cut, SIGKILL) is repaired by the next start."""

    def __init__(self, backup_dir: Path, root: Path = ROOT):
        self.backup_dir = backup_dir
        self.root = root
        self.current: tuple[Path, bytes] | None = None

    def recover(self):
        for saved in sorted(self.backup_dir.glob("*.orig")):
            target = self.root / json.loads(saved.with_suffix(".json").read_text())["path"]
            target.write_bytes(saved.read_bytes())
            print(f"restored {target.relative_to(self.root)} from an interrupted run", file=sys.stderr)
            saved.with_suffix(".json").unlink()
            saved.unlink()

    def apply(self, mutant: Mutant):
        target = self.root / mutant.path
        original = target.read_bytes()
        lines = original.decode().splitlines(keepends=True)
        old = lines[mutant.line - 1]
        if old.rstrip("\r\n") != mutant.source:
            raise RuntimeError(f"{mutant.path}:{mutant.line} changed since the sample was taken")
        self.backup_dir.mkdir(parents=True, exist_ok=True)
        saved = self.backup_dir / f"{mutant.id}.orig"
        saved.write_bytes(original)
        saved.with_suffix(".json").write_text(json.dumps({"path": mutant.path}))
        self.current = (target, original)
        lines[mutant.line - 1] = mutant.mutated_line() + old[len(old.rstrip("\r\n")) :]
        target.write_bytes("".join(lines).encode())
        return saved

    def restore(self):
        if self.current is None:
            return
        target, original = self.current
        target.write_bytes(original)
        self.current = None
        for saved in self.backup_dir.glob("*.orig"):
            saved.with_suffix(".json").unlink(missing_ok=True)
            saved.unlink()


def raise_interrupt(signum, frame):
    raise KeyboardInterrupt(f"signal {signum}")


# --------------------------------------------------------------------------
# Building and testing


class Build:
    def __init__(self, folder: Path, jobs: int):
        self.folder = folder
        self.jobs = jobs
        self.child: subprocess.Popen | None = None

    def run(self, command: list[str], timeout: float, cwd=None, env=None) -> tuple[int | None, str]:
        """Runs a command in its own process group; None as the code on time-out."""
        self.child = subprocess.Popen(
            command, cwd=cwd or self.folder, env=env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
            text=True, errors="replace", start_new_session=True,
        )
        try:
            out, _ = self.child.communicate(timeout=timeout)
            return self.child.returncode, out
        except subprocess.TimeoutExpired:
            self.stop_child()
            return None, ""
        finally:
            self.stop_child()
            self.child = None

    def stop_child(self):
        if self.child is not None and self.child.poll() is None:
            try:
                os.killpg(self.child.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
            self.child.communicate()

    def unit_tests(self) -> dict[str, list[dict]]:
        """The unit tests as ctest lists them, by the program that runs them (absolute path)."""
        code, out = self.run(["ctest", "-L", "unit", "--show-only=json-v1"], 300)
        if code != 0:
            sys.exit(f"ctest could not list the unit tests:\n{out}")
        by_program: dict[str, list[dict]] = {}
        for test in json.loads(out[out.index("{") :])["tests"]:
            if not test.get("command"):
                sys.exit(f"ctest lists {test['name']} without a program; is the tree built?")
            by_program.setdefault(os.path.realpath(test["command"][0]), []).append(test)
        return by_program

    def dependents(self, programs) -> dict[str, set[str]]:
        """For each source file (absolute path), the unit-test programs that
        link it, as ninja targets; read from the build graph."""
        result: dict[str, set[str]] = {}
        for program in programs:
            try:
                target = os.path.relpath(program, self.folder)
            except ValueError:
                continue
            code, out = self.run(["ninja", "-t", "inputs", target], 120)
            if code != 0:
                continue  # not built by ninja (python3, a shell)
            for line in out.splitlines():
                source = os.path.realpath(os.path.join(self.folder, line.strip()))
                result.setdefault(source, set()).add(target)
        return result

    def build(self, targets: list[str], timeout: float) -> tuple[int | None, str]:
        return self.run(["ninja", "-j", str(self.jobs), *sorted(targets)], timeout)

    def test(self, tests: list[dict], timeout: float, per_case: bool) -> tuple[int | None, str]:
        if per_case:
            return self.ctest([t["name"] for t in tests], timeout)
        deadline = time.monotonic() + timeout
        for command, cwd, env in program_runs(tests):
            left = deadline - time.monotonic()
            if left <= 0:
                return None, ""
            code, out = self.run(command, left, cwd, env)
            if code != 0:
                return code, out
        return 0, ""

    def ctest(self, names: list[str], timeout: float) -> tuple[int | None, str]:
        return self.run(
            ["ctest", "-L", "unit", "-R", test_regex(names), "--stop-on-failure",
             "--no-tests=error", "-j", str(self.jobs), "--output-on-failure"],
            timeout,
        )


def program_runs(tests: list[dict]):
    """The commands that run these ctest tests with one process per test
    program instead of one per case: the cases' GoogleTest filters joined,
    stopping at the first failure, in the case's folder and environment."""
    runs: dict[str, tuple[list[str], list[str], str, dict]] = {}
    for t in tests:
        props = {p["name"]: p["value"] for p in t.get("properties", [])}
        env = dict(os.environ)
        env.update(v.split("=", 1) for v in props.get("ENVIRONMENT", []))
        command = t["command"]
        filters = [a.split("=", 1)[1] for a in command if a.startswith("--gtest_filter=")]
        key = command[0] if filters else "\x1f".join(command)
        entry = runs.setdefault(key, ([a for a in command if not a.startswith("--gtest_filter=")], [],
                                      props.get("WORKING_DIRECTORY"), env))
        entry[1].extend(filters)
    for command, filters, cwd, env in runs.values():
        if filters:
            command = command + ["--gtest_filter=" + ":".join(filters), "--gtest_fail_fast", "--gtest_brief=1"]
        yield command, cwd, env


def test_regex(names: list[str]) -> str:
    """A ctest -R pattern for these tests: whole GoogleTest suites where the
    name has one (shorter), exact names otherwise. CMake's regular expressions
    have no escapes worth trusting, so punctuation matches any character."""
    def literal(text):
        return re.sub(r"[^A-Za-z0-9_]", ".", text)

    parts = sorted({literal(n.split(".")[0]) + "\\." if "." in n else literal(n) + "$" for n in names})
    return "^(" + "|".join(parts) + ")"


def verdict(code: int | None, output: str) -> str:
    if code is None:
        return "timed out"
    if "No tests were found" in output:
        raise RuntimeError("ctest selected no tests:\n" + output[-2000:])
    if code == 0:
        return "survived"
    marks = re.findall(r"\*\*\*(\w+)", output)  # ***Failed, ***Timeout, ***Exception
    if marks and all(m == "Timeout" for m in marks):
        return "timed out"
    return "killed"


# --------------------------------------------------------------------------
# Reporting


STATES = ("killed", "survived", "timed out", "did not compile")


def summarise(results: list[dict], settings: dict, total_mutants: int, complete: bool) -> dict:
    counts = {s: sum(1 for r in results if r["state"] == s) for s in STATES}
    judged = counts["killed"] + counts["survived"] + counts["timed out"]
    by_operator: dict[str, dict[str, int]] = {}
    for r in results:
        by_operator.setdefault(r["operator"], {s: 0 for s in STATES})[r["state"]] += 1
    return {
        "settings": settings,
        "mutants_available": total_mutants,
        "mutants_run": len(results),
        "complete": complete,
        "counts": counts,
        "kill_rate": round(counts["killed"] / judged, 4) if judged else None,
        "by_operator": by_operator,
        "survivors": [
            {k: r[k] for k in ("id", "path", "line", "operator", "mutation", "source")}
            for r in sorted(results, key=lambda r: (r["path"], r["line"]))
            if r["state"] == "survived"
        ],
        "results": [{k: r[k] for k in ("id", "path", "line", "operator", "mutation", "state")} for r in results],
    }


def text_report(summary: dict) -> str:
    c = summary["counts"]
    rate = summary["kill_rate"]
    lines = [
        f"mutants run: {summary['mutants_run']} of {summary['settings']['count']} sampled"
        f" ({summary['mutants_available']} possible), seed {summary['settings']['seed']}"
        + ("" if summary["complete"] else " (incomplete)"),
        f"killed {c['killed']}, survived {c['survived']}, timed out {c['timed out']},"
        f" did not compile {c['did not compile']}",
        f"kill rate: {rate:.1%} (killed / (killed + survived + timed out))" if rate is not None else "kill rate: -",
        "",
        "by operator (killed/survived/timed out/did not compile):",
    ]
    for op, n in sorted(summary["by_operator"].items()):
        lines.append(f"  {op:11} {n['killed']}/{n['survived']}/{n['timed out']}/{n['did not compile']}")
    lines += ["", "survivors:"]
    for s in summary["survivors"]:
        lines.append(f"  {s['path']}:{s['line']}: {s['operator']}: {s['mutation']}")
        lines.append(f"      {s['source'].strip()}")
    return "\n".join(lines) + "\n"


# --------------------------------------------------------------------------


def parse_args(argv):
    p = argparse.ArgumentParser(
        description=__doc__.split("\n\n")[0],
        epilog="\n\n".join(__doc__.split("\n\n")[1:]),
        formatter_class=argparse.RawDescriptionHelpFormatter,
    )
    p.add_argument("--seed", type=int, default=1, help="chooses the sample (default 1)")
    p.add_argument("--count", type=int, default=300, help="mutants in the sample (default 300)")
    p.add_argument("--build", type=Path, default=ROOT / "build",
                   help="a configured Ninja build folder (default: build/)")
    p.add_argument("--jobs", type=int, default=2, help="parallel build and test jobs (default 2)")
    p.add_argument("--timeout", type=float, default=0,
                   help="seconds the tests of one mutant may take (default: 10 times the"
                        " unmutated run, at least 30)")
    p.add_argument("--paths", nargs="+", default=list(DEFAULT_PATHS), metavar="PATH",
                   help="folders or .cpp files to mutate, relative to the repository"
                        " (default: link settings update; Qt folders are skipped)")
    p.add_argument("--operators", nargs="+", default=list(OPERATORS), choices=OPERATORS,
                   help="mutation operators to use (default: all)")
    p.add_argument("--ctest", action="store_true",
                   help="run the tests through ctest, one process per case (slower); by default"
                        " each unit-test program ctest lists runs once with the cases' filters joined")
    p.add_argument("--list", action="store_true", help="show the sample and stop")
    p.add_argument("--fresh", action="store_true",
                   help="forget the results of an earlier run with the same seed and count")
    p.add_argument("--out", type=Path,
                   help="where to write the JSON summary (default <build>/mutation/summary-<seed>.json);"
                        " a .txt report is written beside it")
    return p.parse_args(argv)


def main(argv=None) -> int:
    args = parse_args(argv)
    chosen, available = sample(args.paths, args.seed, args.count, args.operators)
    if args.list:
        for m in chosen:
            print(f"{m.id}  {m.path}:{m.line}: {m.operator}: {m.describe()}")
        print(f"{len(chosen)} of {available} mutants", file=sys.stderr)
        return 0

    folder = args.build.resolve()
    if not (folder / "build.ninja").exists():
        sys.exit(f"{folder} is not a configured Ninja build folder (cmake -G Ninja -B {folder})")
    work = folder / "mutation"
    work.mkdir(parents=True, exist_ok=True)
    restorer = Restorer(work / "originals")
    restorer.recover()
    for sig in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
        signal.signal(sig, raise_interrupt)

    out = args.out or work / f"summary-{args.seed}.json"
    journal = work / f"journal-{args.seed}-{args.count}.jsonl"
    if args.fresh:
        journal.unlink(missing_ok=True)
    done = {}
    if journal.exists():
        for line in journal.read_text().splitlines():
            if line.strip():
                r = json.loads(line)
                done[r["id"]] = r
    settings = {"seed": args.seed, "count": args.count, "paths": args.paths, "operators": args.operators,
                "runner": "ctest" if args.ctest else "programs"}

    build = Build(folder, args.jobs)
    try:
        print("building the tree once, unmutated ...", file=sys.stderr)
        code, output = build.run(["ninja", "-j", str(args.jobs)], 7200)
        if code != 0:
            sys.exit(f"the unmutated tree does not build:\n{output[-4000:]}")
        tests = build.unit_tests()
        users = build.dependents(tests)
        programs = {os.path.relpath(p, folder) for p in tests}
        started = time.monotonic()
        code, output = build.test([t for ts in tests.values() for t in ts], 1800, args.ctest)
        if code != 0:
            sys.exit(f"the unit tests fail on the unmutated tree; fix that first:\n{output[-4000:]}")
        timeout = args.timeout or max(30.0, 10 * (time.monotonic() - started))
        print(f"unit tests pass unmutated; {timeout:.0f} s allowed per mutant", file=sys.stderr)

        results = [done[m.id] for m in chosen if m.id in done]
        for index, mutant in enumerate(chosen, start=1):
            if mutant.id in done:
                continue
            targets = users.get(str((ROOT / mutant.path).resolve()), set()) & programs
            chosen_tests = [t for p, ts in tests.items() if os.path.relpath(p, folder) in targets for t in ts]
            t0 = time.monotonic()
            if not targets:
                state = "survived"  # no unit test links this file
            else:
                restorer.apply(mutant)
                try:
                    code, output = build.build(sorted(targets), 1800)
                    if code != 0:
                        state = "did not compile"
                    else:
                        state = verdict(*build.test(chosen_tests, timeout, args.ctest))
                finally:
                    restorer.restore()
            record = {**asdict(mutant), "mutation": mutant.describe(), "state": state,
                      "seconds": round(time.monotonic() - t0, 1)}
            results.append(record)
            with journal.open("a") as j:
                j.write(json.dumps(record) + "\n")
            print(f"[{index}/{len(chosen)}] {state:15} {mutant.path}:{mutant.line}: {mutant.describe()}",
                  file=sys.stderr, flush=True)
            write_summary(out, summarise(results, settings, available, False))
        summary = summarise(results, settings, available, True)
        write_summary(out, summary)
        print("rebuilding the unmutated tree ...", file=sys.stderr)
        build.build(sorted(programs & set().union(*users.values())), 7200)
        print(text_report(summary))
        return 0
    except KeyboardInterrupt:
        print("interrupted; the tree is restored, results so far are in " + str(out), file=sys.stderr)
        return 130
    finally:
        build.stop_child()
        restorer.restore()


def write_summary(path: Path, summary: dict):
    path.parent.mkdir(parents=True, exist_ok=True)
    tmp = path.with_suffix(".tmp")
    tmp.write_text(json.dumps(summary, indent=1) + "\n")
    tmp.replace(path)
    path.with_suffix(".txt").write_text(text_report(summary))


if __name__ == "__main__":
    sys.exit(main())
