#!/usr/bin/env python3
"""The occam 2 mode against the default mode on the same large program.

Usage: occam2_speed.py [--vrk PATH] [--sizes 100000,1000000] [--pairs 9] [--workdir DIR]

For each size it generates a program that both modes read alike and that is a whole occam 2 program
(gen_occam.py --valid, seed 1)
and translates it in turns with and without --occam2, in the repository root where vrk finds
msgs/, the debug log and standard error going to files as in everyday use. It prints, per size,
the occam 2 mode's time as a ratio of the default mode's (median over the pairs, with the smallest
and the largest pair's ratio), both modes' median user + system time, and their peak resident
memory (measured by /usr/bin/time where it is installed: without it, the figure includes this
script's own memory, which the child inherits). Machines are noisy: quote the ratio, not the
seconds.
"""
import argparse
import os
import statistics
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)


def generate(lines, workdir):
    source = os.path.join(workdir, 'valid-%d.occ' % lines)
    if not os.path.exists(source):
        with open(source, 'w') as out:
            subprocess.run([sys.executable, os.path.join(HERE, 'gen_occam.py'), '--valid', str(lines)],
                           stdout=out, check=True)
    return source


def run_once(vrk, source, workdir, occam2):
    """One translation; returns (user + system seconds, peak RSS in KiB)."""
    argv = [vrk] + (['--occam2'] if occam2 else []) + ['--log', os.path.join(workdir, 'vrk.deb'),
                                                        source, os.path.join(workdir, 'out.hc')]
    # A child keeps the peak memory of the process it was forked from (this one) across exec, so
    # the peak is measured by GNU time, a small process that forks vrk, where it is installed.
    peak_file = os.path.join(workdir, 'peak.txt')
    wrapper = ['/usr/bin/time', '-f', '%M', '-o', peak_file] if os.access('/usr/bin/time', os.X_OK) else []
    with open(os.path.join(workdir, 'stderr.txt'), 'wb') as err:
        proc = subprocess.Popen(wrapper + argv, cwd=ROOT, stdout=subprocess.DEVNULL, stderr=err)
        _, status, usage = os.wait4(proc.pid, 0)
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit('occam2_speed: %s ended with status %d' % (' '.join(argv), os.waitstatus_to_exitcode(status)))
    peak = usage.ru_maxrss
    if wrapper:
        with open(peak_file) as f:
            peak = int(f.read().split()[-1])
    return usage.ru_utime + usage.ru_stime, peak


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument('--vrk', default=os.path.join(ROOT, 'build', 'bin', 'vrk'))
    parser.add_argument('--sizes', default='100000,1000000')
    parser.add_argument('--pairs', type=int, default=9)
    parser.add_argument('--workdir')
    args = parser.parse_args()
    workdir = args.workdir or tempfile.mkdtemp(prefix='vrk-occam2-speed-')
    os.makedirs(workdir, exist_ok=True)
    print('| lines | occam 2 / default (median, min-max) | default s | occam 2 s | default peak MiB | occam 2 peak MiB |')
    print('|---|---|---|---|---|---|')
    for lines in [int(s) for s in args.sizes.split(',')]:
        source = generate(lines, workdir)
        ratios, plain, occam2, plain_rss, occam2_rss = [], [], [], 0, 0
        for _ in range(args.pairs):
            t_plain, rss_plain = run_once(args.vrk, source, workdir, False)
            t_occam2, rss_occam2 = run_once(args.vrk, source, workdir, True)
            ratios.append(t_occam2 / t_plain)
            plain.append(t_plain)
            occam2.append(t_occam2)
            plain_rss, occam2_rss = max(plain_rss, rss_plain), max(occam2_rss, rss_occam2)
        print('| %d | %.2f (%.2f-%.2f) | %.3f | %.3f | %.0f | %.0f |' % (
            lines, statistics.median(ratios), min(ratios), max(ratios), statistics.median(plain),
            statistics.median(occam2), plain_rss / 1024, occam2_rss / 1024))


if __name__ == '__main__':
    main()
