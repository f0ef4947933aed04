#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Mutation check: do the fast tests notice a small fault in the decoders,
the serial exchange and the list model?

From a fixed seed it picks N single mutations of src/protocol, src/link and
the list model (a flipped comparison, an off-by-one constant, a swapped
operand or operator, a dropped statement), builds each into the shared layer
library (one compile, one link), runs the fast tests that use that library,
stopping at the first failure, and prints killed/survived with each
survivor's place. The source tree is restored after every mutant.

    python3 scripts/mutation-check.py [--seed 22] [--mutants 40] [--build build-mutation]

The first run configures and builds the mutation build (shared layer
libraries, no relink of the test programs) once. Run it on a clean tree or a
worktree: it edits the sources it mutates, one at a time.
"""
import argparse
import os
import random
import re
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# Where mutants are made, and which library each file is built into.
MUTATED = [
    ("src/protocol", "kestrix_protocol"),
    ("src/link", "kestrix_link"),
    ("src/ui/filelist/FileListModel.cpp", "kestrix_ui"),
]

# Tests that take seconds of real time on a pseudo-terminal: not "fast".
SLOW_TESTS = {"tst_downloadprocess", "tst_faults_heatrun", "tst_detection", "tst_programsignals"}
# Test folders whose programs use each library (tests/protocol uses protocol alone).
TEST_FOLDERS = {
    "kestrix_protocol": None,  # every test
    "kestrix_link": ["link", "cli", "app", "ui", "faults", "sim", "bench"],
    "kestrix_ui": ["ui", "app", "faults"],
}

COMPARISONS = {" == ": " != ", " != ": " == ", " < ": " <= ", " <= ": " < ", " > ": " >= ", " >= ": " > "}
LOGIC = {" && ": " || ", " || ": " && "}
ARITHMETIC = {" + ": " - ", " - ": " + "}


def source_files():
    files = []
    for path, library in MUTATED:
        full = os.path.join(ROOT, path)
        if os.path.isfile(full):
            files.append((path, library))
            continue
        for name in sorted(os.listdir(full)):
            if name.endswith(".cpp"):
                files.append((os.path.join(path, name), library))
    return files


def code_of(line):
    """The line with string and character literals blanked and comments cut,
    so that mutation sites are found in code only (same length as the line)."""
    out = []
    i = 0
    quote = None
    while i < len(line):
        c = line[i]
        if quote:
            if c == "\\":
                out.append("__")
                i += 2
                continue
            out.append("_" if c != quote else c)
            if c == quote:
                quote = None
        elif c in "\"'":
            quote = c
            out.append(c)
        elif line.startswith("//", i):
            break
        else:
            out.append(c)
        i += 1
    return "".join(out)[: len(line)]


STATEMENT = re.compile(r"^\s*(?:[\w.:\[\]>()-]+(?:\(.*\))?|\+\+\w+|\w+\+\+)(?:\s*(?:=|\+=|-=|\|=|&=)\s*.*)?;\s*$")
DECLARATION = re.compile(r"^\s*(?:const\s+)?(?:auto|int|bool|qint64|QString|QByteArray|[\w:]+<.*>|[A-Z]\w*)\s+[\w&*]")
NUMBER = re.compile(r"(?<![\w.])(\d+)(?![\w.'])")
# Operands of a non-commutative operator: a - b, a < b (a + b swapped is the same program).
OPERAND_SWAP = re.compile(r"(?<![\w.>])(\w+) ([-<>]=?) (\w+)(?![\w(.\[])")


def sites(path):
    """Every mutation of a file: (line number, kind, old line, new line)."""
    with open(os.path.join(ROOT, path), encoding="utf-8") as f:
        lines = f.read().split("\n")
    found = []
    in_block_comment = False
    for number, line in enumerate(lines):
        stripped = line.strip()
        if in_block_comment:
            in_block_comment = "*/" not in stripped
            continue
        if stripped.startswith("/*"):
            in_block_comment = "*/" not in stripped
            continue
        if not stripped or stripped.startswith(("#", "//", "*")) or "static_assert" in line:
            continue
        code = code_of(line)
        for table, kind in ((COMPARISONS, "comparison"), (LOGIC, "logic"), (ARITHMETIC, "operator")):
            for old, new in table.items():
                for match in re.finditer(re.escape(old), code):
                    at = match.start()
                    found.append((number, kind, line, line[:at] + new + line[at + len(old):]))
        for match in NUMBER.finditer(code):
            value = int(match.group(1))
            found.append((number, "off-by-one", line,
                          line[: match.start()] + str(value + 1) + line[match.end():]))
        for match in OPERAND_SWAP.finditer(code):
            a, op, b = match.groups()
            if a == b or a.isdigit() and b.isdigit():
                continue
            found.append((number, "swapped operands", line,
                          line[: match.start()] + f"{b} {op} {a}" + line[match.end():]))
        if (STATEMENT.match(code) and not DECLARATION.match(code)
                and not stripped.startswith(("return", "break", "continue", "case", "default", "Q_", "using"))
                and not stripped.endswith(("{", "};"))):
            indent = line[: len(line) - len(line.lstrip())]
            found.append((number, "dropped statement", line, indent + ";"))
    return lines, found


def run(command, log, timeout=None):
    with open(log, "a", encoding="utf-8") as out:
        out.write("$ " + " ".join(command) + "\n")
        out.flush()
        try:
            return subprocess.run(command, cwd=ROOT, stdout=out, stderr=subprocess.STDOUT,
                                  timeout=timeout).returncode
        except subprocess.TimeoutExpired:
            return -1


def tests_for(library, build):
    listed = subprocess.run(["ctest", "--test-dir", build, "-N"], cwd=ROOT, capture_output=True,
                            text=True, check=True).stdout
    names = re.findall(r"Test\s+#\d+: (\S+)", listed)
    folders = TEST_FOLDERS[library]
    chosen = []
    for name in names:
        program = re.sub(r"_scale_.*|_\d+x\d+.*", "", name)
        if program in SLOW_TESTS or not program.startswith("tst_"):
            continue
        if folders is not None:
            matches = [d for d in folders if os.path.exists(os.path.join(ROOT, "tests", d))
                       and any(program + ".cpp" in files for _, _, files in os.walk(os.path.join(ROOT, "tests", d)))]
            if not matches:
                continue
        chosen.append(name)
    return chosen


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--seed", type=int, default=22)
    parser.add_argument("--mutants", type=int, default=40)
    parser.add_argument("--build", default="build-mutation")
    parser.add_argument("--jobs", type=int, default=2)
    args = parser.parse_args()
    build = os.path.join(ROOT, args.build)
    log = os.path.join(build, "mutation.log")

    if not os.path.exists(os.path.join(build, "build.ninja")):
        os.makedirs(build, exist_ok=True)
        if run(["cmake", "-S", ".", "-B", build, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Debug",
                "-DKESTRIX_SHARED_LAYERS=ON", "-DKESTRIX_WERROR=OFF"], log):
            sys.exit(f"configure failed, see {log}")
    print("building the mutation build once ...", flush=True)
    if run(["ninja", "-C", build], log):
        sys.exit(f"build failed, see {log}")

    candidates = []
    for path, library in source_files():
        _, found = sites(path)
        candidates += [(path, library) + site for site in found]
    chosen = random.Random(args.seed).sample(candidates, min(args.mutants, len(candidates)))
    chosen.sort(key=lambda c: (c[0], c[2]))
    print(f"{len(candidates)} possible mutants, {len(chosen)} chosen with seed {args.seed}", flush=True)

    tests = {library: tests_for(library, build) for _, library in MUTATED}
    killed, survived, broken = [], [], []
    started = time.monotonic()
    for path, library, number, kind, old, new in chosen:
        full = os.path.join(ROOT, path)
        with open(full, encoding="utf-8") as f:
            original = f.read()
        lines = original.split("\n")
        lines[number] = new
        place = f"{path}:{number + 1}"
        try:
            with open(full, "w", encoding="utf-8") as f:
                f.write("\n".join(lines))
            if run(["ninja", "-C", build, library], log):
                broken.append(place)
                print(f"  no build  {place}  {kind}", flush=True)
                continue
            selected = "^(" + "|".join(re.escape(t) for t in tests[library]) + ")$"
            status = run(["ctest", "--test-dir", build, "--stop-on-failure", "--parallel", str(args.jobs),
                          "--timeout", "60", "-R", selected], log, timeout=900)
            entry = f"{place}  {kind}: {old.strip()}  ->  {new.strip()}"
            if status:
                killed.append(entry)
                print(f"  killed    {place}  {kind}", flush=True)
            else:
                survived.append(entry)
                print(f"  SURVIVED  {entry}", flush=True)
        finally:
            with open(full, "w", encoding="utf-8") as f:
                f.write(original)
    run(["ninja", "-C", build], log)

    built = len(killed) + len(survived)
    minutes = (time.monotonic() - started) / 60
    print(f"\nseed {args.seed}: {len(killed)} killed, {len(survived)} survived of {built} built "
          f"({len(broken)} did not build); score {100 * len(killed) / max(built, 1):.0f} %; {minutes:.1f} min")
    for entry in survived:
        print("  survived: " + entry)


if __name__ == "__main__":
    main()
