#!/usr/bin/env python3
"""Parses every .occ program of the KRoC tree corpus with `vrk --occam2` and reports which fail.

A program fails to parse when vrk reports a syntax error, bad indentation or another error of
the scanner (a malformed literal, a directive it cannot read), or ends in a crash or a time-out.
The resolver's messages (a name defined nowhere, types that do not agree) and missing include
files are no parse failures: the KRoC tree leaves out libraries that programs include.

Each run passes -I for every folder of the tree that holds .inc files, in sorted order, as a new
user would. With --allowed FILE the programs listed there (paths relative to the tree, one a line,
'#' comments) may fail; the run then fails when another program fails, when a listed program
parses (so the list stays honest), or when the list holds more than 1% of the programs.

  python3 tests/corpus/kroc_tree.py --vrk build/bin/vrk --tree ../shared/corpus/kroc-tree
  python3 tests/corpus/kroc_tree.py ... --forms      # the failing lines, grouped by first word

Exit status: 0 all as expected, 1 otherwise, 77 when the tree is not there (a skipped test).
"""
import argparse
import collections
import concurrent.futures
import os
import re
import subprocess
import sys
import tempfile

SKIPPED = 77
TIME_LIMIT = 60  # seconds for one program; a hang is a failure, not a stuck test
MESSAGES_DEF = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "occam2", "resolve", "messages.def")


def resolver_patterns():
    """The resolver's messages as regular expressions (%0 and %1 stand for any words)."""
    patterns = [re.compile(r"a CASE option must be a constant"), re.compile(r'cannot find include file ".*"$')]
    with open(MESSAGES_DEF, encoding="utf-8") as f:
        for line in f:
            m = re.match(r'VRK_MESSAGE\(\w+, "(.*)"\)', line.strip())
            if m:
                text = re.escape(m.group(1).replace("\\'", "'"))
                patterns.append(re.compile(re.sub(r"%[01]", ".*", text) + "$"))
    return patterns


def programs_of(tree):
    found = []
    for folder, _, files in os.walk(tree):
        found += [os.path.join(folder, f) for f in files if f.endswith(".occ")]
    return sorted(found)


def include_dirs_of(tree):
    return sorted({folder for folder, _, files in os.walk(tree) if any(f.endswith(".inc") for f in files)})


ERROR_LINE = re.compile(r"^(.*?):(\d+):(\d+): error: (.*)$")


class Outcome:
    def __init__(self, program, status, parse_errors, note=""):
        self.program = program
        self.status = status
        self.parse_errors = parse_errors  # (file, line, column, message), in the order reported
        self.note = note

    @property
    def parsed(self):
        return not self.parse_errors and not self.note


def parse_one(vrk, program, include_dirs, patterns, scratch):
    command = [vrk, "--occam2", "-q", "--no-log"]
    for d in include_dirs:
        command += ["-I", d]
    output = os.path.join(scratch, str(os.getpid()) + "_" + os.path.basename(program) + ".hc")
    command += [program, output]
    try:
        run = subprocess.run(command, capture_output=True, timeout=TIME_LIMIT, stdin=subprocess.DEVNULL)
    except subprocess.TimeoutExpired:
        return Outcome(program, None, [], "no end within %d s" % TIME_LIMIT)
    if os.path.exists(output):
        os.remove(output)
    if run.returncode not in (0, 1):
        return Outcome(program, run.returncode, [], "exit status %d" % run.returncode)
    errors = []
    for line in run.stderr.decode("utf-8", "replace").splitlines():
        m = ERROR_LINE.match(line)
        if not m or any(p.match(m.group(4)) for p in patterns):
            continue
        errors.append((m.group(1), int(m.group(2)), int(m.group(3)), m.group(4)))
    return Outcome(program, run.returncode, errors)


def source_line(path, number):
    try:
        with open(path, encoding="latin-1") as f:
            for i, text in enumerate(f, 1):
                if i == number:
                    return text.strip()
    except OSError:
        pass
    return ""


def describe(outcome, tree):
    name = os.path.relpath(outcome.program, tree)
    if outcome.note:
        return "%s: %s" % (name, outcome.note)
    file, line, column, message = outcome.parse_errors[0]
    where = os.path.relpath(file, tree) if os.path.isabs(file) else file
    return "%s: %s:%d:%d: %s | %s" % (name, where, line, column, message, source_line(file, line))


def read_allowed(path):
    allowed = set()
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.split("#", 1)[0].strip()
            if line:
                allowed.add(line)
    return allowed


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--vrk", required=True)
    parser.add_argument("--tree", required=True)
    parser.add_argument("--allowed", help="programs that may fail to parse, relative to the tree")
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--forms", action="store_true", help="group the failures by the first word of their line")
    args = parser.parse_args()

    if not os.path.isdir(args.tree):
        print("skipped: no KRoC tree at %s" % args.tree)
        return SKIPPED
    tree = os.path.abspath(args.tree)
    programs = programs_of(tree)
    include_dirs = include_dirs_of(tree)
    patterns = resolver_patterns()
    with tempfile.TemporaryDirectory() as scratch:
        with concurrent.futures.ThreadPoolExecutor(max_workers=args.jobs) as pool:
            outcomes = list(pool.map(lambda p: parse_one(args.vrk, p, include_dirs, patterns, scratch), programs))

    failed = [o for o in outcomes if not o.parsed]
    for o in failed:
        print(describe(o, tree))
    if args.forms:
        forms = collections.Counter(describe(o, tree).split(" | ", 1)[-1].split(" ")[0] for o in failed)
        for form, count in forms.most_common():
            print("%4d  %s" % (count, form))
    parsed = len(programs) - len(failed)
    print("%d of %d programs parse (%.1f%%)" % (parsed, len(programs), 100.0 * parsed / max(1, len(programs))))

    if args.allowed is None:
        return 0 if not failed else 1
    allowed = read_allowed(args.allowed)
    names = {os.path.relpath(o.program, tree) for o in failed}
    unexpected = sorted(names - allowed)
    now_parse = sorted(a for a in allowed if a not in names)
    ok = True
    if len(allowed) * 100 > len(programs):
        print("the list of programs allowed to fail holds %d, more than 1%% of %d" % (len(allowed), len(programs)))
        ok = False
    for name in unexpected:
        print("fails and is not allowed to: %s" % name)
        ok = False
    for name in now_parse:
        print("parses now, remove it from %s: %s" % (os.path.basename(args.allowed), name))
        ok = False
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
