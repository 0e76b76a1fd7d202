#!/usr/bin/env python3
"""Peak memory of the occam 2 mode on hostile inputs: the scanner alone and whole translations.

Usage: hostile_memory.py [--vrk PATH] [--bench PATH] [--workdir DIR]

Writes three inputs and measures the peak resident memory of each run (what /usr/bin/time -v
reports as "Maximum resident set size"):
  - args.occ: one valid 50 MB line of call arguments, `q (x, x, ...)`, in a PROC;
  - sum.occ: one 50 MB line `x := 1 + 1 + ...` (a syntax error: occam wants brackets);
  - many.occ: 240 KB of `#INCLUDE "mega.inc"` inside one PROC, mega.inc being 1 MB, so 10 GB
    expanded, which the input limit (--max-input, 256 MiB) stops.
Peaks are those GNU time reports (/usr/bin/time, package `time`). The scanner alone is vrk_scan_bench (the occam 2 scanner's pass; the default scanner stops at
once on the over-long line); the whole translation is `vrk --occam2 -q --no-log`.
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
SIZE = 50 * 1000 * 1000


def write_line(path, head, block, tail):
    """Writes head, then `block` repeated up to SIZE bytes, then tail, a block at a time."""
    with open(path, 'wb') as f:
        f.write(head)
        for _ in range(SIZE // len(block)):
            f.write(block)
        f.write(tail)


def measured(command, cwd):
    """(exit status, peak resident MiB, seconds) of one run, its output thrown away. GNU time
    measures the run alone (a child of this process would start with the interpreter's memory)."""
    with tempfile.NamedTemporaryFile(mode='r') as report:
        start = time.monotonic()
        status = subprocess.run(['/usr/bin/time', '-o', report.name, '-f', '%M'] + command, cwd=cwd,
                                stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode
        took = time.monotonic() - start
        return status, int(report.read().split()[-1]) / 1024, took


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument('--vrk', default=os.path.join(ROOT, 'build', 'bin', 'vrk'))
    parser.add_argument('--bench', default=os.path.join(ROOT, 'build', 'bin', 'vrk_scan_bench'))
    parser.add_argument('--workdir', default=None)
    args = parser.parse_args()
    vrk, bench = os.path.abspath(args.vrk), os.path.abspath(args.bench)
    workdir = args.workdir or tempfile.mkdtemp(prefix='vrk-hostile-memory-')
    os.makedirs(workdir, exist_ok=True)
    shutil.copytree(os.path.join(ROOT, 'msgs'), os.path.join(workdir, 'msgs'), dirs_exist_ok=True)

    write_line(os.path.join(workdir, 'args.occ'), b'PROC p ()\n  q (x', b', x' * 100000, b')\n:\n')
    write_line(os.path.join(workdir, 'sum.occ'), b'PROC p ()\n  x := 1', b' + 1' * 100000, b'\n:\n')
    with open(os.path.join(workdir, 'mega.inc'), 'wb') as f:
        f.write((b'x := 1\n' + b' ' * 1000 + b'\n') * 1000)
    with open(os.path.join(workdir, 'many.occ'), 'wb') as f:
        f.write(b'PROC p ()\n  SEQ\n' + b'    #INCLUDE "mega.inc"\n' * 10000 + b':\n')

    print('%-10s %-22s %7s %12s %9s' % ('input', 'run', 'status', 'peak (MiB)', 'time (s)'))
    for name in ('args.occ', 'sum.occ', 'many.occ'):
        runs = [('whole translation', [vrk, '--occam2', '-q', '--no-log', name, 'out.hc'])]
        if name != 'many.occ' and os.access(bench, os.X_OK):
            runs.insert(0, ('scanner alone', [bench, name, '1']))
        for label, command in runs:
            status, peak, took = measured(command, workdir)
            print('%-10s %-22s %7d %12.1f %9.1f' % (name, label, status, peak, took))
            sys.stdout.flush()
    if args.workdir is None:
        shutil.rmtree(workdir, ignore_errors=True)
    return 0


if __name__ == '__main__':
    sys.exit(main())
