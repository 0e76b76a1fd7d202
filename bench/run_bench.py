#!/usr/bin/env python3
"""Throughput benchmark of vrk on large generated occam programs.

Usage: run_bench.py [--vrk PATH] [--sizes 10000,100000,1000000] [--repeat N] [--workdir DIR]

For each size it generates a program (gen_occam.py), translates it with standard error and the
debug log going to files, and prints the best of N runs: wall time, source MB/s, peak resident
memory (and its ratio to the source size), time per line relative to the smallest size, and
vrk's time as a multiple of copying the three files it wrote (output, vrk.deb, standard error)
with cat: the cost of the bytes vrk must write is the floor.
"""
import argparse
import os
import resource
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))


def run_timed(argv, cwd, stdout=None, stderr=None):
    """Runs a command; returns (wall seconds, peak RSS in KiB, exit status)."""
    start = time.perf_counter()
    proc = subprocess.Popen(argv, cwd=cwd, stdout=stdout, stderr=stderr)
    _, status, usage = os.wait4(proc.pid, 0)
    wall = time.perf_counter() - start
    return wall, usage.ru_maxrss, os.waitstatus_to_exitcode(status)


def copy_time(workdir, names):
    """Time to copy the given files with cat, one after another."""
    start = time.perf_counter()
    for name in names:
        with open(os.path.join(workdir, name + '.copy'), 'wb') as out:
            subprocess.run(['cat', name], cwd=workdir, stdout=out, check=True)
    elapsed = time.perf_counter() - start
    for name in names:
        os.remove(os.path.join(workdir, name + '.copy'))
    return elapsed


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument('--vrk', default=os.path.join(HERE, '..', 'build', 'bin', 'vrk'))
    parser.add_argument('--sizes', default='10000,100000,1000000')
    parser.add_argument('--repeat', type=int, default=3)
    parser.add_argument('--workdir', default=None)
    args = parser.parse_args()

    vrk = os.path.abspath(args.vrk)
    if not os.access(vrk, os.X_OK):
        sys.exit('vrk not found at %s: build it first (cmake --workflow --preset default)' % vrk)
    sizes = [int(s) for s in args.sizes.split(',')]
    workdir = args.workdir or tempfile.mkdtemp(prefix='vrk-bench-')
    os.makedirs(workdir, exist_ok=True)

    print('vrk benchmark: %s, best of %d runs, files in %s' % (vrk, args.repeat, workdir))
    header = ('%9s %9s %8s %8s %9s %6s %10s %9s %8s' %
              ('lines', 'source', 'wall s', 'MB/s', 'peak RSS', 'xsrc', 'us/line', 'vs first', 'x copy'))
    print(header)
    first_per_line = None
    for lines in sizes:
        source = os.path.join(workdir, 'bench-%d.occ' % lines)
        if not os.path.exists(source):
            with open(source, 'w') as out:
                subprocess.run([sys.executable, os.path.join(HERE, 'gen_occam.py'), str(lines)], stdout=out, check=True)
        size = os.path.getsize(source)
        best, peak = None, 0
        for _ in range(args.repeat):
            with open(os.path.join(workdir, 'stderr.txt'), 'wb') as err:
                wall, rss, status = run_timed([vrk, os.path.basename(source), 'out.hc'], workdir,
                                              stdout=subprocess.DEVNULL, stderr=err)
            if status != 0:
                sys.exit('vrk exited with status %d on %s' % (status, source))
            best = wall if best is None else min(best, wall)
            peak = max(peak, rss)
        copy = min(copy_time(workdir, ['out.hc', 'vrk.deb', 'stderr.txt']) for _ in range(args.repeat))
        per_line = best / lines
        first_per_line = first_per_line or per_line
        print('%9d %7.1fMB %8.3f %8.1f %7.0fMB %6.1f %10.3f %8.2fx %7.1fx' %
              (lines, size / 1e6, best, size / 1e6 / best, peak / 1024, peak * 1024 / size,
               per_line * 1e6, per_line / first_per_line, best / copy))
    if args.workdir is None:
        shutil.rmtree(workdir, ignore_errors=True)


if __name__ == '__main__':
    main()
