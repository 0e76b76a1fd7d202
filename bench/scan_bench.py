#!/usr/bin/env python3
"""Benchmark of the two scanners alone on a large generated program.

Usage: scan_bench.py [--bench PATH] [--lines 1000000] [--runs 5] [--workdir DIR]

Generates a program both modes read alike (gen_occam.py --common) and runs vrk_scan_bench on it,
which prints each scanner's best time of a pass and their ratio. Nothing is parsed or written
but the token trace, so this shows what the scanner itself costs, apart from the rest of a
translation (bench/run_bench.py times whole translations).
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument('--bench', default=os.path.join(ROOT, 'build', 'bin', 'vrk_scan_bench'))
    parser.add_argument('--lines', type=int, default=1000000)
    parser.add_argument('--runs', type=int, default=5)
    parser.add_argument('--workdir', default=None)
    args = parser.parse_args()

    bench = os.path.abspath(args.bench)
    if not os.access(bench, os.X_OK):
        sys.exit('vrk_scan_bench not found at %s: build it first (--target scanner-benchmark)' % bench)
    workdir = args.workdir or tempfile.mkdtemp(prefix='vrk-scan-bench-')
    os.makedirs(workdir, exist_ok=True)
    source = os.path.join(workdir, 'common-%d.occ' % args.lines)
    if not os.path.exists(source):
        with open(source, 'w') as out:
            subprocess.run([sys.executable, os.path.join(HERE, 'gen_occam.py'), '--common', str(args.lines)],
                           stdout=out, check=True)
    print('vrk scanner benchmark: %s on %d lines' % (bench, args.lines))
    status = subprocess.run([bench, source, str(args.runs)]).returncode
    if args.workdir is None:
        shutil.rmtree(workdir, ignore_errors=True)
    return status


if __name__ == '__main__':
    sys.exit(main())
