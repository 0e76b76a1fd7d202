#!/usr/bin/env python3
"""The process networks of the hardware-style programs: every co-simulation program and every
occam 2 example is drawn with `vrk --occam2 --graph`, and its graph must hold exactly the edges
worked out by hand in networks/NAME.edges, no more and no fewer, between the right processes; the
same program must give the same bytes twice; and, when Graphviz is installed, `dot -Tsvg` must
render it with no message at all.

An edges file has one line per edge, `FROM -> TO | LABEL`, `#` starting a comment line. A process
is named by the labels of the clusters that hold it and its own label, joined by `/`
(`trees/splitter [0]`); `environment` is the environment and `(loose)` a loose end. Siblings with
the same label are told apart by their order in the graph: `unit [0]#1`, `unit [0]#2`.

usage: check_networks.py --vrk build/bin/vrk [NAME ...]
"""
import argparse
import collections
import os
import re
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, '..', '..'))
EXPECTED = os.path.join(HERE, 'networks')
EXAMPLES = os.path.join(ROOT, 'examples', 'occam2')
sys.path.insert(0, os.path.join(ROOT, 'tests', 'cosim'))
import cosim  # noqa: E402  the co-simulation programs' folders and settings

NODE = re.compile(r'^\s*(\w+) \[(?:label="((?:[^"\\]|\\.)*)")?(.*)\];$')
EDGE = re.compile(r'^\s*(\w+) -> (\w+) \[label="((?:[^"\\]|\\.)*)"(, style=dashed)?\];$')
CLUSTER = re.compile(r'^\s*subgraph cluster_(\w+) \{$')
CLUSTER_LABEL = re.compile(r'^\s*label="((?:[^"\\]|\\.)*)";$')


class Program:
    def __init__(self, name, source, includes=()):
        self.name, self.source, self.includes = name, source, list(includes)


def programs_to_check():
    found = []
    sources = set()
    for program in cosim.find_programs([]):
        includes = [os.path.normpath(os.path.join(program.folder, d)) for d in program.setting('include', [])]
        found.append(Program(program.name, program.source, includes))
        sources.add(os.path.realpath(program.source))
    for entry in sorted(os.listdir(EXAMPLES)):
        path = os.path.join(EXAMPLES, entry)
        if entry.endswith('.occ') and os.path.realpath(path) not in sources:
            found.append(Program(entry[:-4], path))
    return found


def edges_in(dot_text):
    """The graph's edges as (from, to, label) with processes named by their paths."""
    names = {}
    clusters = []          # labels of the clusters that hold the current line
    pending_cluster = None
    seen = collections.Counter()
    siblings = collections.defaultdict(list)
    for line in dot_text.splitlines():
        match = CLUSTER.match(line)
        if match:
            pending_cluster = match.group(1)
            continue
        match = CLUSTER_LABEL.match(line)
        if match and pending_cluster is not None:
            clusters.append(match.group(1))
            siblings['/'.join(clusters)].append(pending_cluster)
            pending_cluster = None
            continue
        if line.strip() == '}' and clusters:
            clusters.pop()
            continue
        match = NODE.match(line)
        if match and not line.strip().startswith(('graph ', 'node ', 'edge ')):
            node, label, rest = match.groups()
            if 'shape=point' in rest:
                names[node] = '(loose)'
            elif node == 'env':
                names[node] = 'environment'
            else:
                path = '/'.join(clusters + [label])
                names[node] = path
                siblings[path].append(node)
    # Siblings that share a label are numbered in their order.
    for path, nodes in siblings.items():
        if len(nodes) > 1:
            for k, node in enumerate(nodes, 1):
                names[node] = '%s#%d' % (path, k)
    edges = []
    for line in dot_text.splitlines():
        match = EDGE.match(line)
        if match:
            source, target, label, _ = match.groups()
            edges.append((names.get(source, source), names.get(target, target), label))
    return edges


def expected_edges(name):
    path = os.path.join(EXPECTED, name + '.edges')
    edges = []
    with open(path, encoding='utf-8') as f:
        for line in f:
            line = line.rstrip('\n')
            if not line or line.startswith('#'):
                continue
            ends, _, label = line.partition(' | ')
            source, _, target = ends.partition(' -> ')
            edges.append((source, target, label))
    return edges


def draw(vrk, program, workdir):
    graph = os.path.join(workdir, program.name + '.dot')
    command = [vrk, '--occam2', '--quiet', '--no-log', '--graph', graph]
    for folder in program.includes:
        command += ['-I', folder]
    command += [program.source, os.path.join(workdir, program.name + '.hc')]
    run = subprocess.run(command, capture_output=True, text=True, cwd=workdir)
    if run.returncode != 0:
        return None, 'vrk ended with status %d: %s' % (run.returncode, run.stderr.strip())
    with open(graph, encoding='utf-8') as f:
        return f.read(), None


def check(vrk, program, dot, workdir):
    problems = []
    text, problem = draw(vrk, program, workdir)
    if problem:
        return [problem]
    again, _ = draw(vrk, program, workdir)
    if again != text:
        problems.append('a second run drew other bytes')
    found = collections.Counter(edges_in(text))
    wanted = collections.Counter(expected_edges(program.name))
    for edge in sorted((wanted - found).elements()):
        problems.append('missing edge     %s -> %s | %s' % edge)
    for edge in sorted((found - wanted).elements()):
        problems.append('unexpected edge  %s -> %s | %s' % edge)
    if dot:
        graph = os.path.join(workdir, program.name + '.dot')
        run = subprocess.run([dot, '-Tsvg', graph, '-o', os.devnull], capture_output=True, text=True)
        if run.returncode != 0 or run.stderr:
            problems.append('dot -Tsvg ended with status %d: %s' % (run.returncode, run.stderr.strip()))
    return problems


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.split('\n\n')[0])
    parser.add_argument('--vrk', required=True, help='the vrk program')
    parser.add_argument('names', nargs='*', help='programs to check (default: all)')
    args = parser.parse_args(argv)
    programs = programs_to_check()
    if args.names:
        programs = [p for p in programs if p.name in args.names]
    unlisted = sorted(set(f[:-6] for f in os.listdir(EXPECTED) if f.endswith('.edges')) -
                      set(p.name for p in programs_to_check()))
    dot = shutil.which('dot')
    failed = 0
    with tempfile.TemporaryDirectory(prefix='vrk-networks-') as workdir:
        for program in programs:
            if not os.path.exists(os.path.join(EXPECTED, program.name + '.edges')):
                problems = ['no networks/%s.edges worked out for it' % program.name]
            else:
                problems = check(os.path.abspath(args.vrk), program, dot, workdir)
            print('%-16s %s' % (program.name, 'ok' if not problems else 'FAILED'))
            for problem in problems:
                print('    ' + problem)
            failed += bool(problems)
    for name in unlisted:
        print('networks/%s.edges names no program' % name)
    if not dot:
        print('dot not found: the graphs were not rendered (install graphviz)')
    print('%d of %d networks as worked out' % (len(programs) - failed, len(programs)))
    return 1 if failed or unlisted else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
