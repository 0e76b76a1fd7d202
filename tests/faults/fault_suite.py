#!/usr/bin/env python3
"""Fault suite: the vrk program under the faults a real machine produces.

Usage: fault_suite.py --vrk PATH [--group NAME] [--sanitized]

Groups (all by default): reproducers, full_disk, read_only, unreadable_source, signals,
concurrent, memory, and for the occam 2 mode long_lines, outermost_items, input_limit, included_outputs,
include_lookup; device_template for the default mode. After every run it checks that OUTPUT is either the previous file byte for
byte or the complete new translation, that vrk.deb is one whole log (the previous one or the
run's own), that no temporary file is left, and that the exit status tells what happened.
Reference translations and logs come from undisturbed runs of the same program.

Exit status: 0 passed, 1 a check failed, 77 the group cannot run on this machine (the reason is
printed; CTest counts it as skipped). --sanitized shrinks the programs for a slower build and
skips the memory cap, which a sanitizer's address space reservations rule out.
"""
import argparse
import os
import random
import re
import resource
import shutil
import signal
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
GEN = os.path.join(ROOT, 'bench', 'gen_occam.py')
MSGS = os.path.join(ROOT, 'msgs')
TEMPORARY = re.compile(r'\.vrk-\d+-\d+$')
SKIP = 77

PREVIOUS_OUTPUT = b'/* the previous translation, which must survive */\n'
PREVIOUS_LOG = b'-- the previous debug log\n'


class Failure(Exception):
    pass


def check(condition, what):
    if not condition:
        raise Failure(what)


def read(path):
    with open(path, 'rb') as f:
        return f.read()


def write(path, data):
    with open(path, 'wb') as f:
        f.write(data)


def generate(path, lines, seed):
    with open(path, 'w') as out:
        subprocess.run([sys.executable, GEN, str(lines), str(seed)], stdout=out, check=True)


class Suite:
    def __init__(self, vrk, sanitized):
        self.vrk = vrk
        self.sanitized = sanitized
        self.base = tempfile.mkdtemp(prefix='vrk-faults-')
        self.refs = {}
        self.figures = []

    def close(self):
        shutil.rmtree(self.base, ignore_errors=True)

    def workdir(self, name):
        d = os.path.join(self.base, name)
        os.makedirs(d)
        shutil.copytree(MSGS, os.path.join(d, 'msgs'))
        return d

    def scale(self, lines):
        return lines // 32 if self.sanitized else lines

    def run(self, args, cwd, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
            stderr=subprocess.PIPE, preexec=None, timeout=120):
        """Runs vrk; returns (status, stderr text). A status below 0 is the signal that ended it."""
        p = subprocess.run([self.vrk] + args, cwd=cwd, stdin=stdin, stdout=stdout, stderr=stderr,
                           preexec_fn=preexec, timeout=timeout)
        err = p.stderr.decode('latin-1') if isinstance(p.stderr, bytes) else ''
        return p.returncode, err

    def reference(self, program, lines, seed):
        """The undisturbed translation and log of a generated program (cached)."""
        key = (lines, seed)
        if key not in self.refs:
            d = self.workdir('ref-%d-%d' % key)
            generate(os.path.join(d, program), lines, seed)
            status, _ = self.run([program, 'out.hc'], d, stderr=subprocess.DEVNULL)
            check(status == 0, 'the reference run of %s failed with %d' % (program, status))
            self.refs[key] = (os.path.join(d, program), read(os.path.join(d, 'out.hc')),
                              read(os.path.join(d, 'vrk.deb')))
        return self.refs[key]

    def prepare(self, d, program, lines, seed, output='out.hc'):
        """A folder with the program, a previous OUTPUT and a previous vrk.deb."""
        source, out, log = self.reference(program, lines, seed)
        shutil.copy(source, os.path.join(d, program))
        write(os.path.join(d, output), PREVIOUS_OUTPUT)
        write(os.path.join(d, 'vrk.deb'), PREVIOUS_LOG)
        return out, log

    def assert_aftermath(self, d, outputs, logs, output='out.hc', killed=None):
        """OUTPUT is one of `outputs`, vrk.deb one of `logs`, and no temporary file is left
        (but those of a run `killed` by SIGKILL). Returns which of `outputs` the file is."""
        leftovers = [n for n in os.listdir(d) if TEMPORARY.search(n) and '.vrk-%s-' % killed not in n]
        check(not leftovers, 'temporary files left in %s: %s' % (d, leftovers))
        got = read(os.path.join(d, output))
        check(got in outputs, '%s is neither the previous file nor the whole translation (%d bytes)'
              % (output, len(got)))
        log = read(os.path.join(d, 'vrk.deb'))
        check(log in logs, 'vrk.deb is not one whole log (%d bytes, %d NUL bytes)' % (len(log), log.count(0)))
        return outputs.index(got)


# ----------------------------------------------------------------------------------------------

def reproducers(s):
    d = s.workdir('reproducers')
    good, good_log = s.prepare(d, 'm.occ', 2000, 1)
    keep = [PREVIOUS_OUTPUT]

    # A debug log that cannot be created leaves the output as it was.
    os.remove(os.path.join(d, 'vrk.deb'))
    os.mkdir(os.path.join(d, 'vrk.deb'))
    status, err = s.run(['m.occ', 'out.hc'], d)
    check(status == 2 and "'vrk.deb': Is a directory" in err, 'vrk.deb as a folder: %d %r' % (status, err[-200:]))
    check(read(os.path.join(d, 'out.hc')) == PREVIOUS_OUTPUT, 'vrk.deb as a folder destroyed the output')
    os.rmdir(os.path.join(d, 'vrk.deb'))
    write(os.path.join(d, 'vrk.deb'), PREVIOUS_LOG)

    # A template that cannot be used: status 2, the output kept, the log of the run whole.
    main = os.path.join(d, 'msgs', 'main.txt')
    os.rename(main, main + '.away')
    os.mkdir(main)
    status, err = s.run(['m.occ', 'out.hc'], d)
    check(status == 2 and 'msgs/main.txt' in err, 'template as a folder: %d %r' % (status, err[-200:]))
    s.assert_aftermath(d, keep, [read(os.path.join(d, 'vrk.deb'))])
    check(read(os.path.join(d, 'vrk.deb')).startswith(good_log[:200]), 'the stopped run left no whole log')
    os.rmdir(main)
    os.rename(main + '.away', main)

    # Standard error piped into `head -1`: SIGPIPE ends the run, the output is kept.
    write(os.path.join(d, 'vrk.deb'), PREVIOUS_LOG)
    p = subprocess.Popen([s.vrk, 'm.occ', 'out.hc'], cwd=d, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    p.stderr.readline()
    p.stderr.close()
    check(p.wait(timeout=60) == -signal.SIGPIPE, 'stderr into a closed pipe: status %d' % p.returncode)
    s.assert_aftermath(d, keep, [PREVIOUS_LOG])

    # A dangling link to vrk.deb, and the templates themselves, are refused as OUTPUT.
    os.symlink('vrk.deb', os.path.join(d, 'link.hc'))
    os.remove(os.path.join(d, 'vrk.deb'))
    status, err = s.run(['m.occ', 'link.hc'], d)
    check(status == 2 and 'debug log' in err, 'dangling link to vrk.deb: %d %r' % (status, err))
    check(not os.path.exists(os.path.join(d, 'vrk.deb')), 'dangling link to vrk.deb was written')
    os.remove(os.path.join(d, 'link.hc'))
    board = read(os.path.join(d, 'msgs', 'harp2_h.txt'))
    for output in ('msgs/harp2_h.txt', './msgs/../msgs/harp2_h.txt'):
        status, err = s.run(['m.occ', output], d)
        check(status == 2 and 'template' in err, 'OUTPUT over a template: %d %r' % (status, err))
    check(read(os.path.join(d, 'msgs', 'harp2_h.txt')) == board, 'a template was overwritten')

    # The log named by --log is guarded like vrk.deb; standard output is written directly.
    os.symlink('named.log', os.path.join(d, 'to-log.hc'))
    status, err = s.run(['--log', 'named.log', 'm.occ', 'to-log.hc'], d)
    check(status == 2 and 'named.log' in err and not os.path.exists(os.path.join(d, 'named.log')),
          'dangling link to the --log file: %d %r' % (status, err))
    os.remove(os.path.join(d, 'to-log.hc'))
    with open(os.path.join(d, 'piped.hc'), 'wb') as out:
        status, _ = s.run(['--no-log', 'm.occ', '-'], d, stdout=out)
    check(status == 0 and read(os.path.join(d, 'piped.hc')) == good, 'output to standard output: %d' % status)
    check(not os.path.exists(os.path.join(d, 'vrk.deb')), '--no-log wrote vrk.deb')
    check(not [n for n in os.listdir(d) if TEMPORARY.search(n)], 'temporary files left')

    # Closed standard streams: nothing of the trace lands in the output.
    for closed in ('0<&- 2>&-', '1>&- 2>&-', '0<&- 1>&- 2>&-'):
        status = subprocess.run('"%s" m.occ out.hc %s' % (s.vrk, closed), shell=True, cwd=d).returncode
        check(status == 0, 'closed streams %s: status %d' % (closed, status))
        s.assert_aftermath(d, [good], [good_log])

    # Templates: a device posing as one, one over the limit, the limit itself.
    header = os.path.join(d, 'msgs', 'header.txt')
    saved = read(header)
    os.remove(header)
    os.symlink('/dev/zero', header)
    status, err = s.run(['m.occ', 'out.hc'], d)
    check(status == 2 and 'not a regular file' in err, 'header as /dev/zero: %d %r' % (status, err[-300:]))
    os.remove(header)
    with open(header, 'wb') as f:
        f.truncate((16 << 20) + 1)
    status, err = s.run(['m.occ', 'out.hc'], d)
    check(status == 2 and '16 MiB' in err, 'header over 16 MiB: %d %r' % (status, err[-300:]))
    check(read(os.path.join(d, 'out.hc')) == good, 'a refused template cost the output')
    write(header, saved)

    # A write that fails names the file and the reason.
    status, err = s.run(['m.occ', '/dev/full'], d)
    check(status == 2 and "vrk: cannot write '/dev/full': No space left on device" in err,
          'write to /dev/full: %d %r' % (status, err[-200:]))

    # Text of 255 bytes or more kept to the end is no leak (a sanitizer build would fail here).
    write(main, b'void main(void)\n{\n/*' + b'x' * 1000 + b'*/\n')
    write(os.path.join(d, 'long.occ'), b'SEQ\n  ' + b'n' * 240 + b' := 1\n')
    status, err = s.run(['long.occ', 'long.hc'], d, stderr=subprocess.PIPE)
    check(status == 0, 'long kept texts: status %d %r' % (status, err[-500:]))

    # An abandoned parse still writes its header-only output, with status 1.
    write(os.path.join(d, 'bad.occ'), b'SKIP\nSTOP\n')
    write(os.path.join(d, 'bad.hc'), PREVIOUS_OUTPUT)
    status, _ = s.run(['bad.occ', 'bad.hc'], d)
    headers = read(os.path.join(d, 'msgs', 'header.txt')) + read(os.path.join(d, 'msgs', 'harp2_h.txt'))
    check(status == 1 and read(os.path.join(d, 'bad.hc')) == headers, 'abandoned parse: %d' % status)
    s.figures.append('reproducers: 16 cases')


def full_disk(s):
    lines = s.scale(60000)
    d = s.workdir('file-size-limit')
    good, good_log = s.prepare(d, 'm.occ', lines, 2)
    limit = min(len(good), len(good_log)) // 2

    def cap():
        resource.setrlimit(resource.RLIMIT_FSIZE, (limit, limit))
    status, err = s.run(['m.occ', 'out.hc'], d, preexec=cap, stderr=subprocess.PIPE)
    check(status == 2 and "vrk: cannot write 'out.hc': File too large" in err,
          'file-size limit: %d %r' % (status, err[-300:]))
    s.assert_aftermath(d, [PREVIOUS_OUTPUT], [PREVIOUS_LOG])
    s.figures.append('file-size limit of %d bytes: previous files kept' % limit)

    # A full file system: a tmpfs smaller than the translation.
    fs = os.path.join(s.base, 'small-fs')
    os.makedirs(fs)
    size = max(len(good) // 2, 64 << 10)
    if subprocess.run(['mount', '-t', 'tmpfs', '-o', 'size=%d' % size, 'tmpfs', fs],
                      stderr=subprocess.DEVNULL).returncode != 0:
        print('full_disk: no tmpfs could be mounted; the full file system case is left out')
        return
    try:
        shutil.copytree(os.path.join(d, 'msgs'), os.path.join(fs, 'msgs'))
        shutil.copy(os.path.join(d, 'm.occ'), os.path.join(s.base, 'full.occ'))
        write(os.path.join(fs, 'out.hc'), PREVIOUS_OUTPUT)
        write(os.path.join(fs, 'vrk.deb'), PREVIOUS_LOG)
        status, err = s.run([os.path.join(s.base, 'full.occ'), 'out.hc'], fs)
        check(status == 2 and 'No space left on device' in err, 'full tmpfs: %d %r' % (status, err[-300:]))
        s.assert_aftermath(fs, [PREVIOUS_OUTPUT], [PREVIOUS_LOG])
        s.figures.append('full tmpfs of %d bytes: previous files kept' % size)
    finally:
        subprocess.run(['umount', fs])


def read_only(s):
    d = s.workdir('read-only')
    good, good_log = s.prepare(d, 'm.occ', 2000, 3)
    ro = os.path.join(s.base, 'ro-view')
    os.makedirs(ro)
    mounted = subprocess.run(['mount', '--bind', d, ro], stderr=subprocess.DEVNULL).returncode == 0 and \
        subprocess.run(['mount', '-o', 'remount,bind,ro', ro], stderr=subprocess.DEVNULL).returncode == 0
    if not mounted:
        subprocess.run(['umount', ro], stderr=subprocess.DEVNULL)
        if os.geteuid() == 0:
            print('read_only: no read-only bind mount here, and permission bits do not stop root')
            sys.exit(SKIP)
        os.chmod(d, 0o555)
        ro = d
    try:
        writable = os.path.join(s.base, 'writable')
        os.makedirs(writable)
        write(os.path.join(writable, 'out.hc'), PREVIOUS_OUTPUT)
        # The working directory is read-only: vrk.deb cannot be made, the output elsewhere stays.
        status, err = s.run(['m.occ', os.path.join(writable, 'out.hc')], ro)
        check(status == 2 and "'vrk.deb'" in err, 'read-only working directory: %d %r' % (status, err))
        check(read(os.path.join(writable, 'out.hc')) == PREVIOUS_OUTPUT, 'the output was harmed')
        # The output's directory is read-only.
        shutil.copytree(MSGS, os.path.join(writable, 'msgs'))
        status, err = s.run([os.path.join(ro, 'm.occ'), os.path.join(ro, 'out.hc')], writable)
        check(status == 2 and 'out.hc' in err, 'read-only output directory: %d %r' % (status, err))
        s.assert_aftermath(d, [PREVIOUS_OUTPUT], [PREVIOUS_LOG])
        check(not [n for n in os.listdir(writable) if TEMPORARY.search(n)], 'temporary files left')
    finally:
        if ro != d:
            subprocess.run(['umount', ro])
        else:
            os.chmod(d, 0o755)
    s.figures.append('read-only directories: previous files kept')


def unreadable_source(s):
    d = s.workdir('unreadable')
    s.prepare(d, 'm.occ', 2000, 4)
    os.chmod(d, 0o777)
    os.chmod(os.path.join(d, 'm.occ'), 0)
    for name in ('out.hc', 'vrk.deb'):
        os.chmod(os.path.join(d, name), 0o666)

    def as_nobody():
        if os.geteuid() == 0:
            os.setgid(65534)
            os.setuid(65534)
    status, err = s.run(['m.occ', 'out.hc'], d, preexec=as_nobody)
    check(status == 2 and "'m.occ': Permission denied" in err, 'unreadable source: %d %r' % (status, err))
    s.assert_aftermath(d, [PREVIOUS_OUTPUT], [PREVIOUS_LOG])
    # Opened, but failing while read: the output is kept, the log tells why.
    status, err = s.run(['/proc/self/mem', 'out.hc'], d)
    check(status == 2 and 'ERROR <cannot read the source file>' in err, 'source failing midway: %d' % status)
    s.assert_aftermath(d, [PREVIOUS_OUTPUT], [read(os.path.join(d, 'vrk.deb'))])
    check(b'ERROR <cannot read the source file>' in read(os.path.join(d, 'vrk.deb')), 'no log of the failure')
    s.figures.append('unreadable sources: previous output kept')


def signals(s, runs=100):
    d = s.workdir('signals')
    good, good_log = s.prepare(d, 'big.occ', s.scale(200000), 5)
    write(os.path.join(d, 'tiny.occ'), b'SKIP\n')
    s.run(['tiny.occ', 'out.hc'], d)
    tiny_out, tiny_log = read(os.path.join(d, 'out.hc')), read(os.path.join(d, 'vrk.deb'))
    durations = []
    for _ in range(3):
        start = time.monotonic()
        s.run(['big.occ', 'out.hc'], d, stderr=subprocess.DEVNULL)
        durations.append(time.monotonic() - start)
    duration = min(durations)
    rng = random.Random(13)
    kinds = [signal.SIGINT, signal.SIGTERM, signal.SIGKILL, signal.SIGPIPE]
    tally = {}
    for i in range(runs):
        write(os.path.join(d, 'out.hc'), PREVIOUS_OUTPUT)
        write(os.path.join(d, 'vrk.deb'), PREVIOUS_LOG)
        sig = kinds[i % len(kinds)]
        p = subprocess.Popen([s.vrk, 'big.occ', 'out.hc'], cwd=d, stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL)
        time.sleep(rng.uniform(0, duration))
        p.send_signal(sig)
        status = p.wait(timeout=120)
        killed = p.pid if status == -signal.SIGKILL else None
        which = s.assert_aftermath(d, [PREVIOUS_OUTPUT, good], [PREVIOUS_LOG, good_log], killed=killed)
        if killed:  # the next run for the same files removes what the killed one left
            check(s.run(['tiny.occ', 'out.hc'], d)[0] == 0, 'the run after SIGKILL failed')
            s.assert_aftermath(d, [tiny_out], [tiny_log])
        if status == 0:
            check(which == 1, 'run %d ended well but the output is not the translation' % i)
            outcome = 'finished first'
        else:
            check(status == -sig, 'run %d: %s gave status %d' % (i, sig.name, status))
            outcome = 'previous kept' if which == 0 else 'replaced, then ended'
        key = '%s %s' % (sig.name, outcome)
        tally[key] = tally.get(key, 0) + 1
    s.figures.append('signals, %d runs of %.2f s each: %s' % (
        runs, duration, ', '.join('%s %d' % kv for kv in sorted(tally.items()))))


def concurrent(s, rounds=20, jobs=8):
    d = s.workdir('concurrent')
    refs = []
    for k in range(jobs):
        source, out, log = s.reference('p%d.occ' % k, s.scale(20000 + 5000 * k), 100 + k)
        shutil.copy(source, os.path.join(d, 'p%d.occ' % k))
        refs.append((out, log))
    logs = [log for _, log in refs]
    winners = {}
    for r in range(rounds):
        for k in range(jobs):
            write(os.path.join(d, 'out%d.hc' % k), PREVIOUS_OUTPUT)
        procs = [subprocess.Popen([s.vrk, 'p%d.occ' % k, 'out%d.hc' % k], cwd=d, stdout=subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL) for k in range(jobs)]
        statuses = [p.wait(timeout=120) for p in procs]
        check(statuses == [0] * jobs, 'round %d: statuses %s' % (r, statuses))
        for k in range(jobs):
            s.assert_aftermath(d, [refs[k][0]], logs, output='out%d.hc' % k)
        winner = logs.index(read(os.path.join(d, 'vrk.deb')))
        winners[winner] = winners.get(winner, 0) + 1
    s.figures.append('concurrent: %d rounds of %d runs, every output whole, vrk.deb always one whole log '
                     '(%d different programs\' logs won)' % (rounds, jobs, len(winners)))


def memory(s):
    if s.sanitized:
        print('memory: a sanitizer build reserves more address space than any cap allows')
        sys.exit(SKIP)
    d = s.workdir('memory')
    s.prepare(d, 'big.occ', 500000, 6)
    # Written out early, a translation needs little memory; as one SEQ directly inside a PAR,
    # whose opening brace goes in when the SEQ ends, the whole program is held to the end (about
    # 70 MiB for these 500,000 lines, over the cap).
    program = read(os.path.join(d, 'big.occ')).splitlines(keepends=True)
    write(os.path.join(d, 'big.occ'), b'PAR\n' + b''.join(b'  ' + line for line in program))
    cap = 64 << 20

    def limit():
        resource.setrlimit(resource.RLIMIT_AS, (cap, cap))
    status, err = s.run(['big.occ', 'out.hc'], d, preexec=limit, stdout=subprocess.PIPE)
    check(status == 3, 'memory cap: status %d %r' % (status, err[-300:]))
    s.assert_aftermath(d, [PREVIOUS_OUTPUT], [PREVIOUS_LOG])
    # A template larger than what is left: the allocation fails in the C++ library.
    write(os.path.join(d, 'msgs', 'main.txt'), b'/*' + b'x' * (15 << 20) + b'*/\n')
    write(os.path.join(d, 'm.occ'), b'SKIP\n')
    small = 24 << 20

    def tight():
        resource.setrlimit(resource.RLIMIT_AS, (small, small))
    status, err = s.run(['m.occ', 'out.hc'], d, preexec=tight, stdout=subprocess.PIPE)
    check(status == 3 and 'vrk: ERROR HANDLER' in err, 'allocation failure: status %d %r' % (status, err[-300:]))
    s.assert_aftermath(d, [PREVIOUS_OUTPUT], [PREVIOUS_LOG])
    s.figures.append('memory caps of 64 MiB and 24 MiB: status 3, previous files kept')


def run_measured(s, args, cwd):
    """Runs vrk with standard error to a file; returns (status, stderr text, peak resident MiB, seconds)."""
    with tempfile.TemporaryFile() as err:
        start = time.monotonic()
        p = subprocess.Popen([s.vrk] + args, cwd=cwd, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=err)
        _, wait_status, usage = os.wait4(p.pid, 0)
        p.returncode = os.waitstatus_to_exitcode(wait_status)
        took = time.monotonic() - start
        err.seek(0)
        return p.returncode, err.read().decode('latin-1'), usage.ru_maxrss / 1024, took


def occam2_workdir(s, name):
    d = s.workdir(name)
    write(os.path.join(d, 'out.hc'), PREVIOUS_OUTPUT)
    write(os.path.join(d, 'vrk.deb'), PREVIOUS_LOG)
    return d


OCCAM2 = ['--occam2', '-q']


def long_lines(s):
    """The occam 2 mode on lines of 50 MB."""
    if s.sanitized:
        print('long_lines: the sanitizers add their own memory')
        sys.exit(SKIP)
    d = occam2_workdir(s, 'long-lines')
    # A 50 MB line is scanned a token at a time, never held: one the parser skips as a syntax
    # error (occam wants brackets in 1 + 1 + 1), and one that is a comment after a statement.
    # Written a block at a time: the child of this process starts with its resident memory.
    lines = {'sum.occ': (b'PROC p ()\n  x := 1', b' + 1' * 250000), 'comment.occ': (b'PROC p ()\n  SKIP -- ', b'c' * 1000000)}
    for name, (head, block) in lines.items():
        with open(os.path.join(d, name), 'wb') as f:
            f.write(head)
            for _ in range(50 * 1000 * 1000 // len(block)):
                f.write(block)
            f.write(b'\n:\n')
        status, err, peak, took = run_measured(s, OCCAM2 + ['--no-log', name, 'long.hc'], d)
        check(status == (1 if name == 'sum.occ' else 0), '%s: status %d %r' % (name, status, err[-300:]))
        check(peak < 64, '%s: a 50 MB line took %.0f MiB' % (name, peak))
        s.figures.append('occam 2 mode, a 50 MB line (%s): %.1f MiB at most, %.1f s' % (name, peak, took))
        os.remove(os.path.join(d, name))


def outermost_items(s):
    """Outermost items: each item's tree, and what resolution knew of it, is let go once written."""
    if s.sanitized:
        print('outermost_items: the sanitizers add their own memory')
        sys.exit(SKIP)
    d = occam2_workdir(s, 'outermost-items')
    # 300,000 items of two lines, 6.5 MB: the comment lines, which wait for the next definition,
    # are held as text, a fraction of the source; the items' trees are not held at all.
    with open(os.path.join(d, 'items.occ'), 'wb') as f:
        f.write(b'CHAN OF INT c:\n')
        for i in range(300000):
            f.write(b'-- step %d\nc ! %d\n' % (i, i % 100))
    status, err, peak, took = run_measured(s, OCCAM2 + ['--no-log', 'items.occ', 'items.hc'], d)
    check(status == 0, 'commented items: status %d %r' % (status, err[-300:]))
    check(peak < 32, 'commented items: 6.5 MB of source took %.0f MiB' % peak)
    s.figures.append('occam 2 mode, 300,000 commented outermost processes (6.5 MB): %.1f MiB at most, %.1f s' % (peak, took))
    # 200,000 declarations in an outermost SEQ's body, each scoping over its process: what
    # resolution knew of each (its symbol) goes with the item's tree.
    with open(os.path.join(d, 'decls.occ'), 'wb') as f:
        f.write(b'CHAN OF INT c:\nSEQ\n')
        for i in range(200000):
            f.write(b'  INT x:\n  SEQ\n    x := %d\n    c ! x\n' % (i % 100))
    status, err, peak, took = run_measured(s, OCCAM2 + ['--no-log', 'decls.occ', 'decls.hc'], d)
    check(status == 0, 'declarations: status %d %r' % (status, err[-300:]))
    check(peak < 20, 'declarations: 7.4 MB of source took %.0f MiB' % peak)
    s.figures.append('occam 2 mode, 200,000 declarations in an outermost SEQ (7.4 MB): %.1f MiB at most, %.1f s' % (peak, took))


def input_limit(s):
    """The occam 2 mode on an input that includes a file without end."""
    d = occam2_workdir(s, 'input-limit')
    # 240 KB of #INCLUDEs of a 1 MB file inside one PROC would be 10 GB: the input limit stops
    # it early, status 2, the previous output kept.
    write(os.path.join(d, 'mega.inc'), (b'x := 1\n' + b' ' * 1000 + b'\n') * 1000)
    write(os.path.join(d, 'many.occ'), b'PROC p ()\n  SEQ\n' + b'    #INCLUDE "mega.inc"\n' * 10000 + b':\n')
    status, err, peak, took = run_measured(s, OCCAM2 + ['many.occ', 'out.hc'], d)
    check(status == 2 and 'larger than 256 MiB (raise the limit with --max-input)' in err,
          'includes without end: %d %r' % (status, err[-300:]))
    check(took < (240 if s.sanitized else 60), 'includes without end took %.0f s to stop' % took)
    s.assert_aftermath(d, [PREVIOUS_OUTPUT], [read(os.path.join(d, 'vrk.deb'))])
    s.figures.append('occam 2 mode, 10,000 includes of a 1 MB file in one PROC: stopped by the 256 MiB limit '
                     'in %.1f s, %.0f MiB at most' % (took, peak))
    status, err, _, _ = run_measured(s, OCCAM2 + ['--max-input=64K', 'many.occ', 'out.hc'], d)
    check(status == 2 and 'larger than 65536 bytes' in err,
          '--max-input=64K: %d %r' % (status, err[-300:]))
    status, err = s.run(['--occam2', '--max-input=1X', 'many.occ', 'out.hc'], d)
    check(status == 2 and "invalid size '1X'" in err, '--max-input=1X: %d %r' % (status, err))
    s.assert_aftermath(d, [PREVIOUS_OUTPUT], [read(os.path.join(d, 'vrk.deb'))])



def included_outputs(s):
    """The occam 2 mode with OUTPUT or --log over a file the source includes."""
    d = occam2_workdir(s, 'included-outputs')
    # OUTPUT or --log naming an included file, directly, through a link or a hard link, or found
    # with -I: status 2, nothing replaced.
    os.makedirs(os.path.join(d, 'lib'))
    library = b'VAL INT k IS 3:\n'
    write(os.path.join(d, 'lib', 'defs.inc'), library)
    write(os.path.join(d, 'uses.occ'), b'#INCLUDE "defs.inc"\nPROC p (CHAN INT c!)\n  c ! k\n:\n')
    write(os.path.join(d, 'vrk.deb'), PREVIOUS_LOG)
    os.symlink('lib/defs.inc', os.path.join(d, 'to-defs.hc'))
    os.link(os.path.join(d, 'lib', 'defs.inc'), os.path.join(d, 'hard.hc'))
    for args, what in ((['-Ilib', 'uses.occ', 'lib/defs.inc'], 'output'), (['-Ilib', 'uses.occ', 'to-defs.hc'], 'output'),
                       (['-Ilib', 'uses.occ', 'hard.hc'], 'output'),
                       (['-Ilib', '--log', 'lib/defs.inc', 'uses.occ', 'out.hc'], 'debug log')):
        status, err = s.run(OCCAM2 + args, d)
        check(status == 2 and 'refusing to write the %s over the included file' % what in err,
              '%s over an included file: %d %r' % (what, status, err))
        check(read(os.path.join(d, 'lib', 'defs.inc')) == library, 'an included file was replaced: %s' % args)
        s.assert_aftermath(d, [PREVIOUS_OUTPUT], [PREVIOUS_LOG])
    s.figures.append('occam 2 mode: OUTPUT and --log refused over an included file, nothing replaced')



def include_lookup(s):
    """The occam 2 mode on includes that cannot be used, and control bytes in messages."""
    d = occam2_workdir(s, 'include-lookup')
    # Includes that cannot be used say why, with status 1; "not found" only when nothing is there.
    os.symlink('loop.inc', os.path.join(d, 'loop.inc'))
    write(os.path.join(d, 'a'), b'STOP\n')
    cases = [(b'#INCLUDE "loop.inc"\n', 'loop.inc: Too many levels of symbolic links'),
             (b'#INCLUDE "nowhere.inc"\n', 'cannot find include file "nowhere.inc"'),
             (b'#INCLUDE "a*#00.inc"\n', 'the include file name "a\\x00.inc" holds a control character'),
             (b'#WARNING \x1b]0;title\x07 \x1b[2J\n', 'skipped: \\x1b]0;title\\x07 \\x1b[2J')]
    for directive, report in cases:
        write(os.path.join(d, 'inc.occ'), directive + b'SKIP\n')
        for style in (['-q'], []):
            status, err = s.run(['--occam2', '--no-log'] + style + ['inc.occ', 'inc.hc'], d)
            check(status == (0 if b'WARNING' in directive else 1) and report in err,
                  '%r: %d %r' % (directive, status, err))
            check('\x1b' not in err and '\x07' not in err and '\x00' not in err, 'raw control bytes in %r' % err)
            translation = read(os.path.join(d, 'inc.hc'))
            check(b'void main(void)' in translation and translation.endswith(b'}\n'), 'no translation after %r' % directive)
    os.makedirs(os.path.join(d, 'closed'))
    write(os.path.join(d, 'closed', 'x.inc'), b'SKIP\n')
    write(os.path.join(d, 'closed', 'secret.inc'), b'SKIP\n')
    os.chmod(os.path.join(d, 'closed', 'secret.inc'), 0)
    write(os.path.join(d, 'perm.occ'), b'#INCLUDE "closed/x.inc"\n#INCLUDE "secret.inc"\nSKIP\n')
    os.chmod(d, 0o777)
    for name in ('perm.occ', 'vrk.deb', 'msgs'):
        os.chmod(os.path.join(d, name), 0o777)

    def as_nobody():
        os.chmod(os.path.join(d, 'closed'), 0o700 if os.geteuid() == 0 else 0)
        if os.geteuid() == 0:
            os.setgid(65534)
            os.setuid(65534)
    status, err = s.run(['--occam2', '-q', '--no-log', '-Iclosed', 'perm.occ', '-'], d, preexec=as_nobody)
    os.chmod(os.path.join(d, 'closed'), 0o755)
    check(status == 1 and 'closed/x.inc: Permission denied' in err and 'cannot find' not in err,
          'include in a closed folder: %d %r' % (status, err))
    s.figures.append('occam 2 mode: unusable includes explained, control bytes escaped')


def device_template(s):
    """A template that is a device, with a source that stops before the first token."""
    d = s.workdir('device-template')
    # The default mode reads the templates at the program's first token: an over-long first line
    # stops it before, so a template that is a device is never read (status 1, empty output).
    header = os.path.join(d, 'msgs', 'header.txt')
    os.remove(header)
    os.symlink('/dev/zero', header)
    write(os.path.join(d, 'wide.occ'), b'x' * 300 + b'\nSKIP\n')
    status, err = s.run(['-q', '--no-log', 'wide.occ', 'wide.hc'], d, timeout=30)
    check(status == 1 and 'line longer than 253 characters' in err and read(os.path.join(d, 'wide.hc')) == b'',
          'over-long first line with a device template: %d %r' % (status, err))


GROUPS = {f.__name__: f for f in (reproducers, full_disk, read_only, unreadable_source, signals, concurrent, memory,
                                  long_lines, outermost_items, input_limit, included_outputs, include_lookup, device_template)}


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument('--vrk', required=True)
    parser.add_argument('--group', choices=sorted(GROUPS), action='append')
    parser.add_argument('--sanitized', action='store_true')
    args = parser.parse_args()
    suite = Suite(os.path.abspath(args.vrk), args.sanitized)
    try:
        for name in args.group or GROUPS:
            start = time.monotonic()
            GROUPS[name](suite)
            print('%s: passed in %.1f s' % (name, time.monotonic() - start))
    except Failure as f:
        print('FAILED: %s' % f)
        return 1
    finally:
        for line in suite.figures:
            print('  ' + line)
        suite.close()
    return 0


if __name__ == '__main__':
    sys.exit(main())
