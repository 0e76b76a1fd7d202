#!/usr/bin/env python3
"""Tests of what check_translations.py counts against a translation, per kind of source."""

import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_translations as ct  # noqa: E402


def summary(errors=0, banners=0, **rules):
    findings = [{'line': 1, 'rule': rule, 'message': 'm'} for rule in rules]
    if banners:
        findings.append({'line': 2, 'rule': 'E8', 'message': 'banner'})
    return {'errors': errors, 'banners': banners, 'by_rule': rules, 'findings': findings}


class Problems(unittest.TestCase):
    def test_a_clean_translation_passes(self):
        self.assertEqual(ct.problems_of(ct.Source('a.occ'), 0, '', summary()), [])

    def test_an_example_needs_status_0_and_typed_declarations(self):
        problems = ct.problems_of(ct.Source('a.occ'), 1, 'a.occ:3:1: error: x\n',
                                  summary(W1=2, W2=1))
        self.assertEqual(problems[:3], ['vrk: exit status 1, expected 0',
                                        '  a.occ:3:1: error: x',
                                        '3 declarations without a width or a type (W1/W2)'])

    def test_the_corpus_may_have_banners_status_1_and_untyped_declarations_but_no_error(self):
        corpus = ct.Source('k.occ', (0, 1), None)
        self.assertEqual(ct.problems_of(corpus, 1, '', summary(banners=4, W1=3)), [])
        problems = ct.problems_of(corpus, 1, '', summary(errors=1, E3=1, W1=3))
        self.assertEqual(problems, ['1 checker errors', '  line 1: E3 m'])

    def test_a_golden_case_may_have_the_banners_its_expectation_has(self):
        case = ct.Source('g.occ', (1,), 2)
        self.assertEqual(ct.problems_of(case, 1, '', summary(banners=2)), [])
        self.assertEqual(ct.problems_of(case, 1, '', summary(banners=3))[:2],
                         ['3 banners, 2 expected', '  line 2: E8 banner'])

    def test_no_translation_written(self):
        self.assertEqual(ct.problems_of(ct.Source('a.occ'), 2, 'vrk: cannot read\n', None),
                         ['vrk: exit status 2, expected 0', '  vrk: cannot read',
                          'no translation written'])


class GoldenExpectations(unittest.TestCase):
    def test_status_and_banners_come_from_the_files_beside_the_case(self):
        folder = tempfile.mkdtemp()
        case = os.path.join(folder, 'c.occ')
        self.assertEqual((ct.expected_status(case), ct.expected_banners(case)), (0, 0))
        with open(os.path.join(folder, 'c.status'), 'w') as f:
            f.write('1\n')
        with open(os.path.join(folder, 'c.hc'), 'w') as f:
            f.write('x = 1;\n#### Error: a ####\ny = 2;\n/* #### b #### */\n')
        self.assertEqual((ct.expected_status(case), ct.expected_banners(case)), (1, 2))


if __name__ == '__main__':
    unittest.main()
