#!/usr/bin/env python3
"""Co-simulation of occam 2 programs against their Handel-C translations.

For each program folder under programs/ (or named on the command line) this runs the occam
interpreter occsim on the program, vrk --occam2 on it, and the Handel-C simulator hcsim on the
translation with the same inputs, then compares what every output channel carried, value by
value.

    python3 tests/cosim/cosim.py --vrk build/bin/vrk [NAME ...]
    python3 tests/cosim/cosim.py --hc my.hc NAME          # a translation made elsewhere
    python3 tests/cosim/cosim.py --list

A program folder holds one .occ file (or names its source in cosim.conf), an input file
CHANNEL.in for each input channel of the top PROC (CHANNEL.I.in for element I of a channel
array), an optional cosim.conf with the run's settings, and optionally expected/CHANNEL.out,
the outputs worked out by hand, which occsim must reproduce.

The translation names its channel files in `chanin ... with {infile = "CHANNEL.dat"}` and
`chanout ... with {outfile = "CHANNEL.dat"}`; CHANNEL is the occam name, so CHANNEL.in is copied
to the simulator's CHANNEL.dat and occsim's CHANNEL.out is compared with hcsim's CHANNEL.dat.

Exit status: 0 every program co-simulates equal; 1 a difference or a failed run; 2 a usage
error or a bad program folder; 77 the simulators are not there (the test is skipped).
"""

import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile

SKIPPED = 77
HERE = os.path.dirname(os.path.abspath(__file__))
PROGRAMS = os.path.join(HERE, 'programs')
DEFAULT_SHARED = os.path.normpath(os.path.join(HERE, '..', '..', '..', 'shared'))
OCCSIM = os.path.join('occam2', 'occsim', 'occsim.py')
HCSIM = os.path.join('handelc', 'hcsim', 'hcsim.py')
CONF = 'cosim.conf'
RUN_TIMEOUT = 600

# Settings a cosim.conf may give: the key, whether it may repeat, and how its value is read.
SETTINGS = {
    'source': (False, str),         # the program, relative to the folder (default: its one .occ)
    'top': (False, str),            # occsim --top: the PROC to run
    'arg': (True, str),             # occsim --arg NAME=VALUE
    'include': (True, str),         # vrk -I DIR, relative to the folder
    'steps': (False, int),          # occsim --steps
    'cycles': (False, int),         # hcsim --cycles
    'quiet': (False, int),          # hcsim --quiet: for translations that never end (TIMER, STOP)
    'values': (False, int),         # compare only the first N values of each channel
    'occsim-status': (False, int),  # occsim's expected exit status: 1 for a program that STOPs
}


class FolderError(Exception):
    """A program folder or its settings that the harness cannot use."""


class Program:
    """One co-simulation case: a folder with an occam program and its inputs."""

    def __init__(self, folder):
        self.folder = folder
        self.name = os.path.basename(os.path.normpath(folder))
        self.settings = read_settings(os.path.join(folder, CONF))
        self.source = self._find_source()
        self.inputs = sorted(f for f in os.listdir(folder) if f.endswith('.in'))
        self.expected = os.path.join(folder, 'expected')

    def setting(self, key, default=None):
        return self.settings.get(key, default)

    def _find_source(self):
        if 'source' in self.settings:
            path = os.path.normpath(os.path.join(self.folder, self.settings['source']))
            if not os.path.isfile(path):
                raise FolderError('%s: source %s not found' % (self.name, path))
            return path
        sources = sorted(f for f in os.listdir(self.folder) if f.endswith('.occ'))
        if len(sources) != 1:
            raise FolderError('%s: expected one .occ file or a source setting, found %d'
                              % (self.name, len(sources)))
        return os.path.join(self.folder, sources[0])


def read_settings(path):
    """Reads `key = value` lines; `#` starts a comment. A missing file means no settings."""
    settings = {}
    if not os.path.exists(path):
        return settings
    with open(path, encoding='utf-8') as f:
        for number, line in enumerate(f, 1):
            line = line.split('#', 1)[0].strip()
            if not line:
                continue
            key, sep, value = (part.strip() for part in line.partition('='))
            if not sep or key not in SETTINGS or not value:
                raise FolderError('%s:%d: expected one of %s = VALUE'
                                  % (path, number, ', '.join(SETTINGS)))
            repeats, kind = SETTINGS[key]
            try:
                value = kind(value)
            except ValueError:
                raise FolderError('%s:%d: %s needs a number' % (path, number, key)) from None
            if repeats:
                settings.setdefault(key, []).append(value)
            elif key in settings:
                raise FolderError('%s:%d: %s given twice' % (path, number, key))
            else:
                settings[key] = value
    return settings


def find_programs(names):
    if not names:
        names = sorted(d for d in os.listdir(PROGRAMS)
                       if os.path.isdir(os.path.join(PROGRAMS, d)))
    programs = []
    for name in names:
        folder = name if os.path.isdir(name) else os.path.join(PROGRAMS, name)
        if not os.path.isdir(folder):
            raise FolderError('no program folder %s' % name)
        programs.append(Program(folder))
    return programs


# ------------------------------------------------------------------------------- runs

class Run:
    """What one command did: its status, its standard output and error, and a name for it."""

    def __init__(self, label, cmd, cwd):
        self.label = label
        try:
            done = subprocess.run(cmd, cwd=cwd, stdin=subprocess.DEVNULL, capture_output=True,
                                  text=True, errors='replace', timeout=RUN_TIMEOUT)
            self.status, self.stdout, self.stderr = done.returncode, done.stdout, done.stderr
        except subprocess.TimeoutExpired as timeout:
            self.status = None
            self.stdout = timeout.stdout or ''
            self.stderr = 'no end after %d s' % RUN_TIMEOUT
        self.command = ' '.join(['python3' if part == sys.executable else part for part in cmd])

    def failure(self, expected_status=0):
        """A description of the run when it did not end with the expected status, else None."""
        if self.status == expected_status:
            return None
        status = 'timed out' if self.status is None else 'exit status %d' % self.status
        text = '%s failed (%s, expected %d): %s' % (self.label, status, expected_status,
                                                    self.command)
        stderr = self.stderr.strip()
        if stderr:
            text += '\n' + indent(tail(stderr))
        return text


def tail(text, lines=20):
    kept = text.splitlines()[-lines:]
    return '\n'.join(kept)


def indent(text):
    return '\n'.join('    ' + line for line in text.splitlines())


def run_occsim(program, shared, workdir):
    for name in program.inputs:
        shutil.copy(os.path.join(program.folder, name), os.path.join(workdir, name))
    cmd = [sys.executable, os.path.join(shared, OCCSIM), program.source, '--dir', workdir]
    if program.setting('steps'):
        cmd += ['--steps', str(program.setting('steps'))]
    if program.setting('top'):
        cmd += ['--top', program.setting('top')]
    for arg in program.setting('arg', []):
        cmd += ['--arg', arg]
    return Run('occsim', cmd, workdir)


def run_vrk(program, vrk, hc_file, workdir):
    cmd = [vrk, '--occam2', '--quiet', '--no-log']
    for folder in program.setting('include', []):
        cmd += ['-I', os.path.normpath(os.path.join(program.folder, folder))]
    cmd += [program.source, hc_file]
    return Run('vrk', cmd, workdir)


def run_hcsim(program, shared, hc_file, workdir):
    cmd = [sys.executable, os.path.join(shared, HCSIM), hc_file, '--dir', workdir, '--report']
    if program.setting('cycles'):
        cmd += ['--cycles', str(program.setting('cycles'))]
    if program.setting('quiet'):
        cmd += ['--quiet', str(program.setting('quiet'))]
    return Run('hcsim', cmd, workdir)


def ending(run):
    """How a simulator run ended, from its report line or its last line of standard error."""
    report = re.search(r'cycles: \d+ \(([^)]*)\)', run.stdout)
    if report:
        return report.group(0)
    last = run.stderr.strip().splitlines()
    return last[-1] if last else 'ended'


# ------------------------------------------------------------------- channel files

CHANNEL_FILE = re.compile(
    r'\b(chanin|chanout)\b[^;{}]*?\bwith\s*\{[^}]*?\b(infile|outfile)\s*=\s*"([^"]*)"')
COMMENTS = re.compile(r'/\*.*?\*/|//[^\n]*', re.S)


def channel_files(hc_text):
    """The files a translation reads and writes: ({occam name: file}, {occam name: file}).

    Each file is named after the occam channel: NAME.dat, or NAME.I.dat for element I of a
    channel array, as occsim names NAME.in / NAME.out and NAME.I.in / NAME.I.out."""
    inputs, outputs, problems = {}, {}, []
    for kind, key, filename in CHANNEL_FILE.findall(COMMENTS.sub(' ', hc_text)):
        if (kind == 'chanin') != (key == 'infile'):
            problems.append('%s declared with %s = "%s"' % (kind, key, filename))
            continue
        if not filename.endswith('.dat') or os.path.basename(filename) != filename:
            problems.append('%s file "%s" is not named CHANNEL.dat' % (kind, filename))
            continue
        (inputs if kind == 'chanin' else outputs)[filename[:-len('.dat')]] = filename
    return inputs, outputs, problems


def read_values(path):
    """The integers of a channel file, one a line; blank lines skipped."""
    values = []
    with open(path, encoding='utf-8', errors='replace') as f:
        for number, line in enumerate(f, 1):
            line = line.strip()
            if not line:
                continue
            try:
                values.append(int(line))
            except ValueError:
                raise FolderError('%s:%d: not a number: %r' % (path, number, line)) from None
    return values


def outputs_in(folder, suffix):
    """{channel name: values} for every file NAME<suffix> in folder."""
    if not os.path.isdir(folder):
        return {}
    return {f[:-len(suffix)]: read_values(os.path.join(folder, f))
            for f in sorted(os.listdir(folder)) if f.endswith(suffix)}


def compare_outputs(left_name, left, right_name, right, limit=None):
    """Problems found comparing two {channel: values} maps; only the first `limit` values of
    each channel count when a limit is given. Names the first difference on each channel."""
    problems = []
    for channel in sorted(set(left) | set(right)):
        if channel not in right:
            problems.append('channel %s: %s has it, %s has no output channel of that name'
                            % (channel, left_name, right_name))
            continue
        if channel not in left:
            problems.append('channel %s: %s has it, %s has no output channel of that name'
                            % (channel, right_name, left_name))
            continue
        difference = first_difference(left[channel][:limit], right[channel][:limit])
        if difference is not None:
            problems.append('channel %s, value %d: %s %s, %s %s'
                            % (channel, difference[0] + 1, left_name, difference[1],
                               right_name, difference[2]))
    return problems


def first_difference(a, b):
    """(index, a's value, b's value) of the first place the lists differ, or None; a list
    that ends first shows 'nothing' there."""
    for i in range(max(len(a), len(b))):
        x = a[i] if i < len(a) else 'nothing (%d values in all)' % len(a)
        y = b[i] if i < len(b) else 'nothing (%d values in all)' % len(b)
        if x != y:
            return i, x, y
    return None


# ------------------------------------------------------------------- one program

def cosimulate(program, shared, vrk=None, hc_source=None, keep=None):
    """Runs one program both ways; returns the list of problems (empty when equal)."""
    workdir = tempfile.mkdtemp(prefix='cosim-%s-' % program.name)
    try:
        return cosimulate_in(program, shared, vrk, hc_source, workdir)
    finally:
        if keep:
            target = os.path.join(keep, program.name)
            shutil.rmtree(target, ignore_errors=True)
            shutil.copytree(workdir, target)
        shutil.rmtree(workdir, ignore_errors=True)


def cosimulate_in(program, shared, vrk, hc_source, workdir):
    occ_dir, hc_dir = os.path.join(workdir, 'occsim'), os.path.join(workdir, 'hcsim')
    os.mkdir(occ_dir)
    os.mkdir(hc_dir)
    hc_file = os.path.join(workdir, program.name + '.hc')

    occsim = run_occsim(program, shared, occ_dir)
    failure = occsim.failure(program.setting('occsim-status', 0))
    if failure:
        return [failure]
    occ_outputs = outputs_in(occ_dir, '.out')
    limit = program.setting('values')
    problems = compare_outputs('expected', outputs_in(program.expected, '.out'),
                               'occsim', occ_outputs, limit) if os.path.isdir(program.expected) else []

    if hc_source:
        shutil.copy(hc_source, hc_file)
    else:
        failure = run_vrk(program, vrk, hc_file, workdir).failure()
        if failure:
            return problems + [failure]
    with open(hc_file, encoding='utf-8', errors='replace') as f:
        inputs, outputs, file_problems = channel_files(f.read())
    problems += file_problems + place_inputs(program, inputs, hc_dir)

    hcsim = run_hcsim(program, shared, hc_file, hc_dir)
    failure = hcsim.failure()
    if failure:
        return problems + [failure]
    hc_outputs = {name: read_values(os.path.join(hc_dir, f)) for name, f in outputs.items()
                  if os.path.exists(os.path.join(hc_dir, f))}
    differences = compare_outputs('occsim', occ_outputs, 'hcsim', hc_outputs, limit)
    if differences:
        differences.append('occsim ended: %s; hcsim ended: %s' % (ending(occsim), ending(hcsim)))
    return problems + differences


def place_inputs(program, inputs, hc_dir):
    """Copies each NAME.in to the file the translation reads for NAME (an empty file where the
    program has no inputs for it, as occsim takes a missing file); returns the problems."""
    problems = []
    for name in program.inputs:
        if name[:-len('.in')] not in inputs:
            problems.append('input %s: the translation reads no %s.dat'
                            % (name, name[:-len('.in')]))
    for name, filename in inputs.items():
        source = os.path.join(program.folder, name + '.in')
        target = os.path.join(hc_dir, filename)
        if os.path.exists(source):
            shutil.copy(source, target)
        else:
            open(target, 'w').close()
    return problems


# ------------------------------------------------------------------- command line

def parse_arguments(argv):
    parser = argparse.ArgumentParser(
        description='Co-simulate occam 2 programs (occsim) against their Handel-C '
                    'translations (vrk --occam2, then hcsim).')
    parser.add_argument('names', nargs='*', metavar='NAME',
                        help='program folders under programs/, or paths to folders (default: all)')
    parser.add_argument('--vrk', help='the vrk binary that translates')
    parser.add_argument('--hc', metavar='FILE',
                        help='use this Handel-C file as the translation (one program only)')
    parser.add_argument('--shared', default=DEFAULT_SHARED,
                        help='the folder holding occam2/occsim and handelc/hcsim (default: %(default)s)')
    parser.add_argument('--keep', metavar='DIR', help='keep each run\'s files in DIR/NAME')
    parser.add_argument('--list', action='store_true', help='list the programs and exit')
    args = parser.parse_args(argv)
    if not args.list and bool(args.vrk) == bool(args.hc):
        parser.error('give --vrk or --hc')
    if args.hc and len(args.names) != 1:
        parser.error('--hc needs exactly one program')
    return args


def simulators_missing(shared):
    return [p for p in (OCCSIM, HCSIM) if not os.path.isfile(os.path.join(shared, p))]


def main(argv):
    args = parse_arguments(argv)
    try:
        programs = find_programs(args.names)
    except FolderError as error:
        print('cosim: %s' % error, file=sys.stderr)
        return 2
    if args.list:
        for program in programs:
            print('%s\t%s' % (program.name, os.path.relpath(program.source)))
        return 0
    missing = simulators_missing(args.shared)
    if missing:
        print('cosim: skipped: the simulators are not there (%s)'
              % ', '.join(os.path.join(args.shared, p) for p in missing))
        return SKIPPED
    vrk = os.path.abspath(args.vrk) if args.vrk else None
    hc = os.path.abspath(args.hc) if args.hc else None
    failed = 0
    for program in programs:
        try:
            problems = cosimulate(program, args.shared, vrk, hc, args.keep)
        except FolderError as error:
            problems = [str(error)]
        print('%s: %s' % (program.name, 'FAIL' if problems else 'equal'))
        for problem in problems:
            print(indent(problem))
        failed += bool(problems)
    print('%d passed, %d failed' % (len(programs) - failed, failed))
    return 1 if failed else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
