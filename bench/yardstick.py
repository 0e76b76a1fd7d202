#!/usr/bin/env python3
"""vrk against the flex + bison yardstick on generated programs of 100k and 1M lines.

Usage: yardstick.py [--vrk PATH] [--sizes 100000,1000000] [--styles flat,deep] [--runs 9]
                    [--workdir DIR] [--compare PATH] [--verbose]

For each style of program (gen_occam.py --style, seed 1: `flat` is the default style, `deep` nests
deeper and has more declarations, longer expressions and more comments) and each size it generates
a program and runs the yardstick's compare script on it, which builds the yardstick, times vrk and
the yardstick in turns, outputs to files, and reports medians and peak resident memory. The table
shows, per style and size: vrk's wall time as a ratio of the yardstick's (median over the pairs,
with the smallest and largest pair), vrk's peak memory and its ratio to the source, and the
linearity figures: time per line and peak memory against the first size, each divided by what
linear growth would give (1.00 = exactly linear, below 1 = better than linear).

Above the table it prints what the figures depend on: vrk's build, the yardstick's compiler, flags
and flex and bison versions (as compare builds it, in a folder of this run's own), the processor,
and the load average before and after. Machines are noisy: quote the ratios, not the seconds, and
take them on an otherwise idle machine.
"""
import argparse
import os
import platform
import re
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
STYLES = ('flat', 'deep')

VRK_LINE = re.compile(r'^vrk\s+median ([0-9.]+) s .*peak RSS ([0-9]+) MiB')
RATIO_LINE = re.compile(r'median ([0-9.]+) \(min ([0-9.]+), max ([0-9.]+)\) over ([0-9]+) pairs')
# How compare builds the yardstick: make ... CC=cc CFLAGS=-O2 FLEXFLAGS=-CF
BUILD_FLAGS = re.compile(r'\bCC=(\S+)\s+CFLAGS=(\S+)\s+FLEXFLAGS=(\S+)')


def first_line(command):
    try:
        result = subprocess.run(command, capture_output=True, text=True)
    except OSError:
        return 'not found'
    lines = (result.stdout or result.stderr).splitlines()
    return lines[0].strip() if lines else 'unknown'


def yardstick_build(script):
    """The compiler, flags and tool versions compare builds the yardstick with."""
    with open(script) as f:
        match = BUILD_FLAGS.search(f.read())
    cc, cflags, flexflags = match.groups() if match else ('cc', '(as compare says)', '(as compare says)')
    return '%s %s (%s), flex %s (%s), %s' % (cc, cflags, first_line([cc, '--version']), flexflags,
                                              first_line(['flex', '--version']), first_line(['bison', '--version']))


def vrk_build(vrk):
    """vrk's build type and compiler, from the CMake cache of the build it belongs to."""
    cache = os.path.join(os.path.dirname(os.path.dirname(vrk)), 'CMakeCache.txt')
    found = {}
    if os.path.exists(cache):
        with open(cache) as f:
            for line in f:
                m = re.match(r'(CMAKE_BUILD_TYPE|CMAKE_CXX_COMPILER):\w+=(.*)', line.strip())
                if m:
                    found[m.group(1)] = m.group(2)
    compiler = found.get('CMAKE_CXX_COMPILER')
    return '%s build, %s' % (found.get('CMAKE_BUILD_TYPE', 'unknown'),
                            first_line([compiler, '--version']) if compiler else 'compiler unknown')


def machine():
    model = 'unknown processor'
    try:
        with open('/proc/cpuinfo') as f:
            for line in f:
                if line.startswith('model name'):
                    model = line.split(':', 1)[1].strip()
                    break
    except OSError:
        pass
    return '%s, %d cores, %s %s' % (model, os.cpu_count() or 0, platform.system(), platform.release())


def load_average():
    try:
        return '%.2f' % os.getloadavg()[0]
    except OSError:
        return 'unknown'


def generate(lines, style, workdir):
    source = os.path.join(workdir, 'bench-%s-%d.occ' % (style, lines))
    if not os.path.exists(source):
        with open(source, 'w') as out:
            subprocess.run([sys.executable, os.path.join(HERE, 'gen_occam.py'), '--style', style, str(lines)],
                           stdout=out, check=True)
    return source


def compare(script, vrk, source, runs, build_dir):
    """Runs the yardstick's compare script from the repository root, where vrk finds msgs/; the
    yardstick is built in `build_dir`, which no other run shares."""
    env = dict(os.environ, FFB_BUILD=build_dir)
    result = subprocess.run([script, vrk, source, str(runs)], cwd=ROOT, capture_output=True, text=True, env=env)
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
    parser.add_argument('--styles', default=','.join(STYLES), help='styles of gen_occam.py, comma-separated')
    parser.add_argument('--runs', type=int, default=9, help='pairs of runs per program')
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
    styles = args.styles.split(',')
    for style in styles:
        if style not in STYLES:
            sys.exit('unknown style %r: the styles are %s' % (style, ', '.join(STYLES)))
    workdir = args.workdir or tempfile.mkdtemp(prefix='vrk-yardstick-')
    os.makedirs(workdir, exist_ok=True)
    build_dir = tempfile.mkdtemp(prefix='ffb-', dir=workdir)

    print('vrk / yardstick: %s, %d pairs per size, programs in %s' % (vrk, args.runs, workdir))
    print('vrk:       %s' % vrk_build(vrk))
    print('yardstick: %s' % yardstick_build(script))
    print('machine:   %s; load average %s at the start' % (machine(), load_average()))
    print('%5s %9s %8s %11s %13s %19s %10s %10s' % ('style', 'lines', 'source', 'wall ratio', '(min - max)',
                                                    'peak RSS (x source)', 'time/line', 'peak/line'))
    for style in styles:
        first = None
        for lines in sizes:
            source = generate(lines, style, workdir)
            size = os.path.getsize(source)
            r = compare(script, vrk, source, args.runs, build_dir)
            if args.verbose:
                print(r['report'], end='')
            first = first or (lines, r)
            growth = lines / first[0]
            time_linearity = (r['wall'] / first[1]['wall']) / growth
            memory_linearity = (r['peak_mib'] / first[1]['peak_mib']) / growth
            print('%5s %9d %6.1fMB %11.2f %6.2f - %-5.2f %12d MiB %4.1fx %10.2f %10.2f' %
                  (style, lines, size / 1e6, r['ratio'], r['min'], r['max'], r['peak_mib'],
                   r['peak_mib'] * 2**20 / size, time_linearity, memory_linearity))
    print('load average %s at the end' % load_average())
    shutil.rmtree(build_dir, ignore_errors=True)
    if args.workdir is None:
        shutil.rmtree(workdir, ignore_errors=True)


if __name__ == '__main__':
    main()
