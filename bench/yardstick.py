#!/usr/bin/env python3
"""vrk against the flex + bison yardstick on generated programs of 100k and 1M lines.

Usage: yardstick.py [--vrk PATH] [--sizes 100000,1000000] [--runs 7] [--workdir DIR]
                    [--compare PATH]

For each size it generates a program (gen_occam.py, seed 1) and runs the yardstick's compare
script on it, which times vrk and the yardstick in turns, outputs to files, and reports medians
and peak resident memory. The table shows, per size: vrk's wall time as a ratio of the
yardstick's (median over the pairs, with the smallest and largest pair), vrk's peak memory and
its ratio to the source, and the linearity figures: time per line and peak memory against the
first size, each divided by what linear growth would give (1.00 = exactly linear, below 1 =
better than linear). Machines are noisy: quote the ratios, not the seconds.
"""
import argparse
import os
import re
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)

VRK_LINE = re.compile(r'^vrk\s+median ([0-9.]+) s .*peak RSS ([0-9]+) MiB')
RATIO_LINE = re.compile(r'median ([0-9.]+) \(min ([0-9.]+), max ([0-9.]+)\) over ([0-9]+) pairs')


def generate(lines, workdir):
    source = os.path.join(workdir, 'bench-%d.occ' % lines)
    if not os.path.exists(source):
        with open(source, 'w') as out:
            subprocess.run([sys.executable, os.path.join(HERE, 'gen_occam.py'), str(lines)], stdout=out, check=True)
    return source


def compare(script, vrk, source, runs):
    """Runs the yardstick's compare script from the repository root, where vrk finds msgs/."""
    result = subprocess.run([script, vrk, source, str(runs)], cwd=ROOT, capture_output=True, text=True)
    if result.returncode != 0:
        sys.exit('compare failed on %s:\n%s%s' % (source, result.stdout, result.stderr))
    vrk_match = ratio_match = None
    for line in result.stdout.splitlines():
        vrk_match = VRK_LINE.search(line) or vrk_match
        ratio_match = RATIO_LINE.search(line) or ratio_match
    if not vrk_match or not ratio_match:
        sys.exit('unexpected output of compare:\n' + result.stdout)
    return {
        'wall': float(vrk_match.group(1)),
        'peak_mib': int(vrk_match.group(2)),
        'ratio': float(ratio_match.group(1)),
        'min': float(ratio_match.group(2)),
        'max': float(ratio_match.group(3)),
        'pairs': int(ratio_match.group(4)),
        'report': result.stdout,
    }


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument('--vrk', default=os.path.join(ROOT, 'build', 'bin', 'vrk'))
    parser.add_argument('--sizes', default='100000,1000000')
    parser.add_argument('--runs', type=int, default=7)
    parser.add_argument('--workdir', default=None, help='keeps the generated programs (default: a temporary directory)')
    parser.add_argument('--compare', default=os.path.join(ROOT, '..', 'shared', 'yardstick', 'compare'))
    parser.add_argument('--verbose', action='store_true', help="also print compare's own report")
    args = parser.parse_args()

    vrk = os.path.abspath(args.vrk)
    if not os.access(vrk, os.X_OK):
        sys.exit('vrk not found at %s: build it first (cmake --workflow --preset default)' % vrk)
    script = os.path.abspath(args.compare)
    if not os.access(script, os.X_OK):
        sys.exit('the yardstick compare script is not at %s (use --compare)' % script)
    sizes = [int(s) for s in args.sizes.split(',')]
    workdir = args.workdir or tempfile.mkdtemp(prefix='vrk-yardstick-')
    os.makedirs(workdir, exist_ok=True)

    print('vrk / yardstick: %s, %d pairs per size, programs in %s' % (vrk, args.runs, workdir))
    print('%9s %8s %11s %13s %19s %10s %10s' % ('lines', 'source', 'wall ratio', '(min - max)',
                                                'peak RSS (x source)', 'time/line', 'peak/line'))
    first = None
    for lines in sizes:
        source = generate(lines, workdir)
        size = os.path.getsize(source)
        r = compare(script, vrk, source, args.runs)
        if args.verbose:
            print(r['report'], end='')
        first = first or (lines, r)
        growth = lines / first[0]
        time_linearity = (r['wall'] / first[1]['wall']) / growth
        memory_linearity = (r['peak_mib'] / first[1]['peak_mib']) / growth
        print('%9d %6.1fMB %11.2f %6.2f - %-5.2f %12d MiB %4.1fx %10.2f %10.2f' %
              (lines, size / 1e6, r['ratio'], r['min'], r['max'], r['peak_mib'], r['peak_mib'] * 2**20 / size,
               time_linearity, memory_linearity))
    if args.workdir is None:
        for lines in sizes:
            os.remove(os.path.join(workdir, 'bench-%d.occ' % lines))
        os.rmdir(workdir)


if __name__ == '__main__':
    main()
