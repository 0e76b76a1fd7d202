#!/usr/bin/env python3
"""Writes a large valid occam program for the benchmark.

Usage: gen_occam.py [--common | --valid] [--style STYLE] LINES [SEED] > program.occ

The program is one SEQ whose body is a long run of blocks of realistic shape: nested SEQ, PAR,
WHILE, IF, ALT and CASE, declarations of variables, arrays and channels, replicated SEQ and
small replicated PARs (literal bounds, so they unroll), TRUE and FALSE, expressions of several
operators, and comment lines. Every line is accepted by vrk without a syntax error, whatever the
seed and the style.

--style says in which proportions (STYLES below):
  flat  (the default) blocks nested up to 6 deep, nearly half of the processes primitive,
        expressions of up to four operands, a whole-line comment in about ten lines;
  deep  blocks nested up to 9 deep, a third of the processes primitive, declarations three times
        as often, expressions of three to six operands with more brackets, a whole-line comment
        in about four lines and a comment after the statement on one line in eight.

With --common the program keeps to what both of vrk's modes read alike (the default mode and
--occam2): no WAIT, and one dyadic operator per bracket level, as occam 2 has no precedence.
With --valid it is besides a whole occam 2 program, as the occam 2 mode compiles it: every name
declared before its use, every expression of one type (INT, with BOOLs only in conditions), no
PROC calls (the default mode has no PROC definitions) and shifts by constants only.
"""
import random
import sys

KINDS = ['seq', 'seq', 'par', 'while', 'if', 'alt', 'case', 'decl', 'repseq', 'reppar']

STYLES = {
    'flat': dict(max_depth=6, primitive_rate=0.45, kinds=KINDS, chain=(2, 4), bracket_rate=0.06,
                 comment_rate=0.10, trailing_comment_rate=0.0),
    'deep': dict(max_depth=9, primitive_rate=0.33, kinds=KINDS + ['decl', 'decl'] * 2, chain=(3, 6),
                 bracket_rate=0.15, comment_rate=0.25, trailing_comment_rate=0.125),
}


class Writer:
    def __init__(self, rng, style):
        self.rng = rng
        self.lines = []
        self.comment_rate = style['comment_rate']
        self.trailing_comment_rate = style['trailing_comment_rate']

    def line(self, depth, text):
        if self.rng.random() < self.comment_rate:
            self.lines.append('  ' * depth + '-- ' + self.comment_text())
        if self.trailing_comment_rate and self.rng.random() < self.trailing_comment_rate:
            text += '  -- ' + self.comment_text()
        self.lines.append('  ' * depth + text)

    def comment_text(self):
        words = ['update', 'the', 'counter', 'state', 'of', 'stage', 'read', 'next', 'value', 'buffer',
                 'check', 'limit', 'channel', 'result', 'loop', 'until', 'done', 'and', 'send']
        return ' '.join(self.rng.choice(words) for _ in range(self.rng.randint(3, 8)))


class Program:
    def __init__(self, rng, common=False, style='flat', valid=False):
        self.rng = rng
        self.style = STYLES[style]
        self.w = Writer(rng, self.style)
        self.common = common or valid
        self.valid = valid

    # ---- expressions -------------------------------------------------------------------
    def name(self):
        return self.rng.choice(['x', 'y', 'z', 'count', 'total', 'index', 'state.next', 'limit', 'v1', 'v2'])

    def operand(self):
        r = self.rng.random()
        if r < 0.45:
            return self.name()
        if r < 0.75:
            return str(self.rng.randint(0, 999))
        if r < 0.82:
            return '#' + format(self.rng.randint(0, 0xFFFF), 'X')
        if r < 0.88:
            return 'data[%s]' % self.rng.choice(['i', 'j', str(self.rng.randint(0, 9))])
        if r < 1.0 - self.style['bracket_rate'] and not self.valid:
            return self.rng.choice(['TRUE', 'FALSE'])
        return '(%s)' % self.chain(2)

    def chain(self, n):
        ops = ['+', '*', '/\\', '\\/', '><']
        text = self.operand()
        for _ in range(n - 1):
            text += ' %s %s' % (self.rng.choice(ops), self.operand())
        return text

    def expression(self):
        r = self.rng.random()
        if r < 0.35:
            return self.chain(2 if self.common else self.rng.randint(*self.style['chain']))
        if r < 0.55:
            op = self.rng.choice(['-', '/', '\\', '<<', '>>'])
            if self.valid and op in ('<<', '>>'):
                return '%s %s %d' % (self.operand(), op, self.rng.randint(0, 31))
            return '%s %s %s' % (self.operand(), op, self.operand())
        if r < 0.65:
            return ('-' if self.valid else self.rng.choice(['-', 'NOT '])) + self.operand()
        return self.operand()

    def condition(self):
        return '%s %s %s' % (self.operand(), self.rng.choice(['<', '<=', '>', '>=', '<>', '=']), self.operand())

    # ---- processes ---------------------------------------------------------------------
    def primitive(self, d):
        r = self.rng.random()
        if r < 0.5:
            self.w.line(d, '%s := %s' % (self.rng.choice([self.name(), 'data[i]']), self.expression()))
        elif r < 0.65:
            self.w.line(d, 'out ! %s' % self.expression())
        elif r < 0.8:
            self.w.line(d, 'in ? %s' % self.name())
        elif r < 0.88:
            self.w.line(d, 'SKIP')
        elif r < 0.94:
            self.w.line(d, 'out ! %s' % self.operand() if self.common else 'WAIT %s' % self.operand())
        elif self.valid:
            self.w.line(d, 'out ! %s' % self.operand())
        else:
            self.w.line(d, 'step (%s, %s)' % (self.operand(), self.operand()))

    def process(self, d, depth):
        if depth >= self.style['max_depth'] or self.rng.random() < self.style['primitive_rate']:
            return self.primitive(d)
        kind = self.rng.choice(self.style['kinds'])
        getattr(self, 'make_' + kind)(d, depth)

    def body(self, d, depth, lo=2, hi=4):
        for _ in range(self.rng.randint(lo, hi)):
            self.process(d, depth + 1)

    def make_seq(self, d, depth):
        self.w.line(d, 'SEQ')
        self.body(d + 1, depth)

    def make_par(self, d, depth):
        self.w.line(d, 'PAR')
        self.body(d + 1, depth)

    def make_while(self, d, depth):
        self.w.line(d, 'WHILE %s' % self.rng.choice([self.condition(), 'TRUE', 'running']))
        self.process(d + 1, depth + 1)

    def make_if(self, d, depth):
        self.w.line(d, 'IF')
        for _ in range(self.rng.randint(1, 3)):
            self.w.line(d + 1, self.condition())
            self.process(d + 2, depth + 1)
        self.w.line(d + 1, 'TRUE')
        self.w.line(d + 2, 'SKIP')

    def make_alt(self, d, depth):
        self.w.line(d, 'ALT')
        for _ in range(self.rng.randint(1, 3)):
            guard = self.rng.choice(['in ? %s' % self.name(), 'ready & in ? x', 'count < 10 & SKIP',
                                     'in ? y' if self.common else 'WAIT t', 'SKIP'])
            self.w.line(d + 1, guard)
            self.process(d + 2, depth + 1)

    def make_case(self, d, depth):
        self.w.line(d, 'CASE %s' % self.name())
        for value in self.rng.sample(range(16), self.rng.randint(1, 3)):
            self.w.line(d + 1, str(value))
            self.process(d + 2, depth + 1)
        if self.rng.random() < 0.6:
            self.w.line(d + 1, 'ELSE')
            self.process(d + 2, depth + 1)

    def make_decl(self, d, depth):
        self.w.line(d, self.rng.choice(['INT a, b:', '[16]INT data:', 'BOOL flag:', 'CHAN OF INT link:',
                                        '[8]BYTE buffer:', 'BYTE ch:']))
        self.process(d, depth + 1)

    def make_repseq(self, d, depth):
        self.w.line(d, 'SEQ i = %s FOR %d' % (self.rng.choice(['0', '0', '1']), self.rng.randint(2, 64)))
        self.process(d + 1, depth + 1)

    def make_reppar(self, d, depth):
        self.w.line(d, 'PAR j = 0 FOR %d' % self.rng.randint(1, 3))
        self.primitive(d + 1)

    def program(self, lines):
        if self.valid:
            self.w.lines += ['INT x, y, z, count, total, index, state.next, limit, v1, v2, i, j:', '[16]INT data:',
                             'BOOL ready, running:', 'CHAN OF INT in, out:']
        self.w.line(0, 'SEQ')
        while len(self.w.lines) < lines:
            self.process(1, 1)
        return self.w.lines


def main():
    args = sys.argv[1:]
    common = '--common' in args
    valid = '--valid' in args
    args = [a for a in args if a not in ('--common', '--valid')]
    style = 'flat'
    if '--style' in args:
        at = args.index('--style')
        if at + 1 >= len(args) or args[at + 1] not in STYLES:
            sys.exit('gen_occam.py: --style takes one of ' + ', '.join(STYLES))
        style = args[at + 1]
        del args[at:at + 2]
    lines = int(args[0]) if len(args) > 0 else 10000
    seed = int(args[1]) if len(args) > 1 else 1
    out = sys.stdout
    for text in Program(random.Random(seed), common, style, valid).program(lines):
        out.write(text + '\n')


if __name__ == '__main__':
    main()
