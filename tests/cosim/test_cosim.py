#!/usr/bin/env python3
"""Tests of the co-simulation harness itself: its settings, how it finds the channel files of a
translation, how it compares outputs, and whole runs on a translation written by hand
(selftest/gcd_server_by_hand.hc) with and without faults put into it."""

import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import cosim  # noqa: E402

BY_HAND = os.path.join(cosim.HERE, 'selftest', 'gcd_server_by_hand.hc')


def write(folder, name, text):
    path = os.path.join(folder, name)
    with open(path, 'w', encoding='utf-8') as f:
        f.write(text)
    return path


class Settings(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp()

    def test_reads_keys_numbers_and_repeated_args(self):
        path = write(self.folder, 'cosim.conf',
                     '# comment\nquiet = 100  # trailing\narg = n=8\narg = m=2\ntop = main\n')
        self.assertEqual(cosim.read_settings(path),
                         {'quiet': 100, 'arg': ['n=8', 'm=2'], 'top': 'main'})

    def test_refuses_unknown_keys_repeats_and_words_for_numbers(self):
        for text in ('steps 10\n', 'speed = 3\n', 'quiet = 1\nquiet = 2\n', 'values = ten\n'):
            path = write(self.folder, 'cosim.conf', text)
            with self.assertRaises(cosim.FolderError, msg=text):
                cosim.read_settings(path)

    def test_a_folder_needs_one_source(self):
        write(self.folder, 'a.occ', '')
        write(self.folder, 'b.occ', '')
        with self.assertRaisesRegex(cosim.FolderError, 'found 2'):
            cosim.Program(self.folder)


class ChannelFiles(unittest.TestCase):
    def test_maps_occam_names_and_array_elements_to_their_files(self):
        hc = ('chanin unsigned 8 kyb with {infile = "kyb.dat"};\n'
              '/* chanout int 32 old with {outfile = "old.dat"}; */\n'
              'chanout int 32 out_ready with {outfile = "out.ready.dat"};\n'
              'chanin int 32 c_1 with { infile = "c.1.dat" };\n')
        inputs, outputs, problems = cosim.channel_files(hc)
        self.assertEqual(inputs, {'kyb': 'kyb.dat', 'c.1': 'c.1.dat'})
        self.assertEqual(outputs, {'out.ready': 'out.ready.dat'})
        self.assertEqual(problems, [])

    def test_reports_files_it_cannot_map(self):
        hc = ('chanin int 32 a with {outfile = "a.dat"};\n'
              'chanout int 32 b with {outfile = "b.txt"};\n'
              'chanout int 32 c with {outfile = "../c.dat"};\n')
        inputs, outputs, problems = cosim.channel_files(hc)
        self.assertEqual((inputs, outputs), ({}, {}))
        self.assertEqual(len(problems), 3)


class Comparison(unittest.TestCase):
    def compare(self, left, right, limit=None):
        return cosim.compare_outputs('occsim', left, 'hcsim', right, limit)

    def test_equal_outputs_give_no_problem(self):
        self.assertEqual(self.compare({'out': [1, -2]}, {'out': [1, -2]}), [])

    def test_names_the_first_difference_of_each_channel(self):
        problems = self.compare({'a': [1, 2, 3], 'b': [5]}, {'a': [1, 9, 4], 'b': [6]})
        self.assertEqual(problems, ['channel a, value 2: occsim 2, hcsim 9',
                                    'channel b, value 1: occsim 5, hcsim 6'])

    def test_a_side_that_ends_early_shows_nothing_there(self):
        problems = self.compare({'out': [1, 2, 3]}, {'out': [1]})
        self.assertEqual(problems,
                         ['channel out, value 2: occsim 2, hcsim nothing (1 values in all)'])

    def test_a_channel_missing_on_either_side(self):
        problems = self.compare({'x': [], 'y': [1]}, {'y': [1], 'z': []})
        self.assertEqual(problems, [
            'channel x: occsim has it, hcsim has no output channel of that name',
            'channel z: hcsim has it, occsim has no output channel of that name'])

    def test_a_limit_compares_only_the_first_values(self):
        self.assertEqual(self.compare({'t': [1, 2, 3, 4]}, {'t': [1, 2, 7]}, limit=2), [])
        self.assertEqual(len(self.compare({'t': [1, 2]}, {'t': [1]}, limit=2)), 1)


@unittest.skipIf(cosim.simulators_missing(cosim.DEFAULT_SHARED),
                 'the simulators are not there (%s)' % cosim.DEFAULT_SHARED)
class WholeRuns(unittest.TestCase):
    """The harness on programs/gcd_server with a translation written by hand."""

    def setUp(self):
        self.program = cosim.Program(os.path.join(cosim.PROGRAMS, 'gcd_server'))
        with open(BY_HAND, encoding='utf-8') as f:
            self.by_hand = f.read()
        self.folder = tempfile.mkdtemp()

    def cosimulate(self, old=None, new=None):
        text = self.by_hand if old is None else self.by_hand.replace(old, new)
        self.assertTrue(old is None or text != self.by_hand, 'no fault put in')
        return cosim.cosimulate(self.program, cosim.DEFAULT_SHARED,
                                hc_source=write(self.folder, 'gcd.hc', text))

    def test_the_hand_translation_is_equal(self):
        self.assertEqual(self.cosimulate(), [])

    def test_division_where_occam_means_remainder_is_caught(self):
        problems = self.cosimulate('y = x % y;', 'y = x / y;')
        self.assertIn('channel out, value 1: occsim 6, hcsim 18', problems)

    def test_a_swap_written_in_sequence_is_caught(self):
        problems = self.cosimulate('par { x = y; y = x % y; }', 'x = y; y = x % y;')
        self.assertTrue(any(p.startswith('channel out, value 1:') for p in problems), problems)
        self.assertTrue(any(p.startswith('occsim ended: deadlock; hcsim ended:')
                            for p in problems), problems)

    def test_an_output_channel_the_translation_lacks(self):
        problems = self.cosimulate(
            'chanout int 32 multiple with {outfile = "multiple.dat"};',
            'chan int 32 multiple;')
        self.assertIn('channel multiple: occsim has it, hcsim has no output channel of that name',
                      problems)

    def test_an_input_the_translation_does_not_read(self):
        problems = self.cosimulate('{infile = "in.dat"}', '{infile = "input.dat"}')
        self.assertIn('input in.in: the translation reads no in.dat', problems)

    def test_a_simulator_failure_gives_its_status_and_message(self):
        problems = self.cosimulate('int 32 a, b, g;', 'int 32 a, b, g')
        self.assertEqual(len(problems), 1)
        self.assertRegex(problems[0], r'^hcsim failed \(exit status 2, expected 0\)')
        self.assertIn('syntax error', problems[0])

    def test_a_translator_failure_gives_its_status(self):
        problems = cosim.cosimulate(self.program, cosim.DEFAULT_SHARED, vrk='/bin/false')
        self.assertEqual(len(problems), 1)
        self.assertRegex(problems[0], r'^vrk failed \(exit status 1, expected 0\): /bin/false ')


if __name__ == '__main__':
    unittest.main()
