#!/usr/bin/env python3
"""Soak benchmark: one million-line translation, then 10,000 small ones in a row, in one process.

Usage: soak.py [--soak PATH] [--vrk PATH] [--lines 1000000] [--runs 10000] [--workdir DIR]

Generates the programs (gen_occam.py: one of --lines lines and 50 of 50 to 500 lines), copies
the templates next to them and runs vrk_soak, which calls the whole vrk program (run_vrk) for
each translation and prints resident memory and open descriptors as it goes; it fails when
descriptors are left open or memory grows from run to run. Then the same small programs are
translated by the vrk executable, 1,000 separate processes, to compare peak memory per process.
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


def generate(path, lines, seed):
    if not os.path.exists(path):
        with open(path, 'w') as out:
            subprocess.run([sys.executable, os.path.join(HERE, 'gen_occam.py'), str(lines), str(seed)],
                           stdout=out, check=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument('--soak', default=os.path.join(ROOT, 'build', 'bin', 'vrk_soak'))
    parser.add_argument('--vrk', default=os.path.join(ROOT, 'build', 'bin', 'vrk'))
    parser.add_argument('--lines', type=int, default=1000000)
    parser.add_argument('--runs', type=int, default=10000)
    parser.add_argument('--workdir', default=None)
    args = parser.parse_args()

    workdir = args.workdir or tempfile.mkdtemp(prefix='vrk-soak-')
    os.makedirs(workdir, exist_ok=True)
    shutil.rmtree(os.path.join(workdir, 'msgs'), ignore_errors=True)
    shutil.copytree(os.path.join(ROOT, 'msgs'), os.path.join(workdir, 'msgs'))
    big = 'big-%d.occ' % args.lines
    generate(os.path.join(workdir, big), args.lines, 1)
    small = []
    for k in range(50):
        name = 'small-%d.occ' % k
        generate(os.path.join(workdir, name), 50 + 9 * k, 1000 + k)
        small.append(name)

    print('vrk soak: %s, %d-line program then %d small ones, in %s' % (args.soak, args.lines, args.runs, workdir))
    start = time.perf_counter()
    status = subprocess.run([os.path.abspath(args.soak), big, str(args.runs)] + small, cwd=workdir).returncode
    print('in-process: %.1f s, status %d' % (time.perf_counter() - start, status))

    if status == 0 and os.access(args.vrk, os.X_OK):
        peaks = []
        start = time.perf_counter()
        for i in range(1000):
            p = subprocess.Popen([os.path.abspath(args.vrk), small[i % len(small)], 'out.hc'], cwd=workdir,
                                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            _, raw, usage = os.wait4(p.pid, 0)
            if os.waitstatus_to_exitcode(raw) != 0:
                print('vrk failed on %s' % small[i % len(small)])
                status = 1
                break
            peaks.append(usage.ru_maxrss)
        if peaks:
            tenth = len(peaks) // 10
            print('separate processes: %d runs in %.1f s; peak RSS of the first tenth %.1f MiB, of the last %.1f MiB'
                  % (len(peaks), time.perf_counter() - start, max(peaks[:tenth]) / 1024, max(peaks[-tenth:]) / 1024))
    if args.workdir is None:
        shutil.rmtree(workdir, ignore_errors=True)
    return status


if __name__ == '__main__':
    sys.exit(main())
