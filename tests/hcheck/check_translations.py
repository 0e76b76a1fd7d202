#!/usr/bin/env python3
"""Runs the Handel-C checker on every occam 2 translation the tests and examples make.

    python3 tests/hcheck/check_translations.py --vrk build/bin/vrk [--group GROUP ...]
                                               [--shared DIR] [--keep DIR]

Each source is translated with `vrk --occam2` (its own folder given with -I) into a temporary
folder, then `hcheck.py --json` reads every translation of the group. What each group must give:

  examples  examples/occam2/*.occ                     vrk status 0; no checker error, no banner,
  cosim     the programs of tests/cosim/programs/     no declaration without a width or a type
                                                      (W1, W2)
  golden    tests/e2e/occam2_cases/**/*.occ           vrk status as its .status says (else 0);
                                                      no checker error, no W1/W2, and no more
                                                      banners than the case's hand-worked .hc
                                                      (or .out) holds
  corpus    ../shared/corpus/occam/kroc-*.occ and     vrk status 0 or 1 (1: a library it cannot
            tinycsp-*.occ                             find); no checker error

Exit status: 0 every translation passes; 1 one does not; 2 a usage error; 77 skipped (the
checker, or the group's sources, are not there).
"""

import argparse
import glob
import json
import os
import shutil
import subprocess
import sys
import tempfile

SKIPPED = 77
HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, '..', '..'))
DEFAULT_SHARED = os.path.normpath(os.path.join(ROOT, '..', 'shared'))
HCHECK = os.path.join('handelc', 'hcheck', 'hcheck.py')
UNTYPED = ('W1', 'W2')
BANNER = '####'
SHOWN_FINDINGS = 8

sys.path.insert(0, os.path.join(ROOT, 'tests', 'cosim'))
import cosim  # noqa: E402  (the co-simulation programs and where their sources are)


class Source:
    """One occam source to translate, with what its translation may have."""

    def __init__(self, path, statuses=(0,), banners_allowed=0):
        self.path = os.path.normpath(path)
        self.statuses = statuses                # vrk's exit statuses that are right for it
        self.strict = banners_allowed is not None  # no W1/W2 (all but the corpus)
        self.banners_allowed = banners_allowed  # None: any number (the corpus)


def example_sources(shared):
    return [Source(p) for p in sorted(glob.glob(os.path.join(ROOT, 'examples', 'occam2',
                                                             '*.occ')))]


def cosim_sources(shared):
    """The co-simulation programs, less those that are examples (checked in their group)."""
    examples = os.path.realpath(os.path.join(ROOT, 'examples'))
    return [Source(program.source) for program in cosim.find_programs([])
            if not os.path.realpath(program.source).startswith(examples + os.sep)]


def golden_sources(shared):
    cases = sorted(glob.glob(os.path.join(ROOT, 'tests', 'e2e', 'occam2_cases', '**', '*.occ'),
                             recursive=True))
    return [Source(p, (expected_status(p),), expected_banners(p)) for p in cases]


def corpus_sources(shared):
    corpus = os.path.join(shared, 'corpus', 'occam')
    paths = glob.glob(os.path.join(corpus, 'kroc-*.occ')) + glob.glob(
        os.path.join(corpus, 'tinycsp-*.occ'))
    return [Source(p, (0, 1), None) for p in sorted(paths)]


GROUPS = {'examples': example_sources, 'cosim': cosim_sources, 'golden': golden_sources,
          'corpus': corpus_sources}


def expected_status(case):
    """A golden case's exit status: its .status file, else 0."""
    path = os.path.splitext(case)[0] + '.status'
    if not os.path.exists(path):
        return 0
    with open(path, encoding='utf-8') as f:
        return int(f.read().split()[0])


def expected_banners(case):
    """The banner lines of a golden case's hand-worked translation (its .hc, else its .out)."""
    stem = os.path.splitext(case)[0]
    for expected in (stem + '.hc', stem + '.out'):
        if os.path.exists(expected):
            with open(expected, encoding='utf-8', errors='replace') as f:
                return sum(BANNER in line for line in f)
    return 0


# ---------------------------------------------------------------------------------- runs

def translate(vrk, source, output, workdir):
    """vrk's status and standard error for one translation."""
    cmd = [vrk, '--occam2', '--quiet', '--no-log', '-I', os.path.dirname(source.path),
           source.path, output]
    try:
        done = subprocess.run(cmd, cwd=workdir, stdin=subprocess.DEVNULL, capture_output=True,
                              text=True, errors='replace', timeout=300)
        return done.returncode, done.stderr
    except subprocess.TimeoutExpired:
        return None, 'no end after 300 s'


def check(shared, files, workdir):
    """hcheck's summary of each file: {path: {'errors', 'banners', 'by_rule', 'findings'}}."""
    if not files:
        return {}
    cmd = [sys.executable, os.path.join(shared, HCHECK), '--json'] + files
    done = subprocess.run(cmd, cwd=workdir, stdin=subprocess.DEVNULL, capture_output=True,
                          text=True, errors='replace')
    try:
        report = json.loads(done.stdout)
    except ValueError:
        raise RuntimeError('hcheck gave no report (exit status %d): %s'
                           % (done.returncode, done.stderr.strip())) from None
    return {os.path.normpath(entry['file']): entry for entry in report['files']}


def problems_of(source, status, stderr, summary):
    """What is wrong with one translation, as lines; empty when it passes."""
    problems = []
    if status not in source.statuses:
        text = 'timed out' if status is None else 'exit status %d' % status
        problems.append('vrk: %s, expected %s' % (text, ' or '.join(map(str, source.statuses))))
        problems += ['  ' + line for line in stderr.strip().splitlines()[-5:]]
    if summary is None:
        return problems + ['no translation written']
    if summary['errors']:
        problems.append('%d checker errors' % summary['errors'])
    if source.banners_allowed is not None and summary['banners'] > source.banners_allowed:
        problems.append('%d banners, %d expected' % (summary['banners'], source.banners_allowed))
    untyped = sum(summary['by_rule'].get(rule, 0) for rule in UNTYPED) if source.strict else 0
    if untyped:
        problems.append('%d declarations without a width or a type (W1/W2)' % untyped)
    if problems:
        shown = [f for f in summary['findings'] if shown_finding(source, summary, f['rule'])]
        problems += ['  line %d: %s %s' % (f['line'], f['rule'], f['message'])
                     for f in shown[:SHOWN_FINDINGS]]
    return problems


def shown_finding(source, summary, rule):
    """Whether a finding explains a problem: an error, a banner beyond those allowed, or an
    untyped declaration where none may be."""
    if rule == 'E8':
        allowed = source.banners_allowed
        return allowed is not None and summary['banners'] > allowed
    return rule.startswith('E') or (source.strict and rule in UNTYPED)


def check_group(name, sources, vrk, shared, keep):
    workdir = tempfile.mkdtemp(prefix='hcheck-%s-' % name)
    try:
        outputs, runs = {}, {}
        for index, source in enumerate(sources):
            stem = os.path.splitext(os.path.basename(source.path))[0]
            output = os.path.join(workdir, '%03d-%s.hc' % (index, stem))
            runs[source.path] = translate(vrk, source, output, workdir)
            if os.path.exists(output):
                outputs[source.path] = output
        summaries = check(shared, list(outputs.values()), workdir)
        failed = 0
        for source in sources:
            status, stderr = runs[source.path]
            output = outputs.get(source.path)
            problems = problems_of(source, status, stderr,
                                   summaries.get(os.path.normpath(output)) if output else None)
            label = os.path.relpath(source.path, ROOT)
            print('%s %s' % ('FAIL' if problems else 'ok  ', label))
            for problem in problems:
                print('    ' + problem)
            failed += bool(problems)
        if keep:
            shutil.copytree(workdir, os.path.join(keep, name), dirs_exist_ok=True)
        return len(sources) - failed, failed
    finally:
        shutil.rmtree(workdir, ignore_errors=True)


def main(argv):
    parser = argparse.ArgumentParser(description='Check every occam 2 translation of the tests '
                                                 'and examples with hcheck.')
    parser.add_argument('--vrk', required=True, help='the vrk binary that translates')
    parser.add_argument('--group', action='append', choices=sorted(GROUPS),
                        help='check only this group (repeatable; default: all)')
    parser.add_argument('--shared', default=DEFAULT_SHARED,
                        help='the folder holding handelc/hcheck (default: %(default)s)')
    parser.add_argument('--keep', metavar='DIR', help='keep the translations in DIR/GROUP')
    args = parser.parse_args(argv)

    if not os.path.isfile(os.path.join(args.shared, HCHECK)):
        print('hcheck: skipped: the checker is not there (%s)'
              % os.path.join(args.shared, HCHECK))
        return SKIPPED
    vrk = os.path.abspath(args.vrk)
    passed = failed = 0
    for name in args.group or sorted(GROUPS):
        sources = GROUPS[name](args.shared)
        if not sources:
            print('%s: no sources' % name)
            continue
        group_passed, group_failed = check_group(name, sources, vrk, args.shared, args.keep)
        passed, failed = passed + group_passed, failed + group_failed
    if passed + failed == 0:
        print('hcheck: skipped: no sources in %s' % ', '.join(args.group or sorted(GROUPS)))
        return SKIPPED
    print('%d passed, %d failed' % (passed, failed))
    return 1 if failed else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
