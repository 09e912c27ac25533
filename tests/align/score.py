#!/usr/bin/env python3
"""Scores tamrel-cli align against the hand-judged gold set (tests/align/tatoeba100.tsv).

Usage: tests/align/score.py [--words] [--verbose] [--require-precision P] [--require-aer A]
                            TAMREL_CLI [GOLD] [-- EXTRA ALIGN OPTIONS]
Prints precision (against sure and possible links), recall (against sure links) and the
alignment error rate AER = 1 - (|A & S| + |A & P|) / (|A| + |S|), P holding S. --words leaves
out the links of punctuation (in the gold set and the output), which are easy and many in short
sentences; --verbose lists the links found that the gold set does not hold. With --require-*,
exits 1 when precision falls below P or AER rises above A (the CTest test align_gold_test). Exits 1 when
an output line is missing or names a word outside its sentence.
"""
import os
import subprocess
import sys

here = os.path.dirname(os.path.abspath(__file__))
args = sys.argv[1:]
extra = []
if '--' in args:
    extra = args[args.index('--') + 1:]
    args = args[:args.index('--')]
required = {}
for option in ('--require-precision', '--require-aer'):
    if option in args:
        at = args.index(option)
        required[option] = float(args[at + 1])
        del args[at:at + 2]
words_only = '--words' in args
verbose = '--verbose' in args
args = [a for a in args if a not in ('--words', '--verbose')]
cli = args[0]
gold_file = args[1] if len(args) > 1 else os.path.join(here, 'tatoeba100.tsv')

def is_mark(token):
    return not any(c.isalnum() for c in token)


pairs = []
with open(gold_file, encoding='utf-8') as f:
    for line in f:
        if line.startswith('#') or not line.strip():
            continue
        number, chinese, english, links = line.rstrip('\n').split('\t')
        sure, possible = set(), set()
        for link in links.split():
            sep = '-' if '-' in link else '?'
            i, j = map(int, link.split(sep))
            assert i < len(chinese.split()) and j < len(english.split()), (number, link)
            possible.add((i, j))
            if sep == '-':
                sure.add((i, j))
        if words_only:
            zh, en = chinese.split(), english.split()
            sure = {(i, j) for i, j in sure if not is_mark(zh[i]) and not is_mark(en[j])}
            possible = {(i, j) for i, j in possible if not is_mark(zh[i]) and not is_mark(en[j])}
        pairs.append((number, chinese, english, sure, possible))

stdin = ''.join(f'{c} ||| {e}\n' for _, c, e, _, _ in pairs)
out = subprocess.run([cli, 'align'] + extra, input=stdin, capture_output=True, text=True, check=True).stdout
lines = out.split('\n')[:-1]
if len(lines) != len(pairs):
    sys.exit(f'{len(lines)} output lines for {len(pairs)} pairs')

a_total = s_total = a_sure = a_possible = 0
for (number, chinese, english, sure, possible), line in zip(pairs, lines):
    found = set()
    for link in line.split():
        i, j = map(int, link.split('-'))
        if i >= len(chinese.split()) or j >= len(english.split()):
            sys.exit(f'pair {number}: link {link} outside the sentence')
        if not (words_only and (is_mark(chinese.split()[i]) or is_mark(english.split()[j]))):
            found.add((i, j))
    a_total += len(found)
    s_total += len(sure)
    a_sure += len(found & sure)
    a_possible += len(found & possible)
    if verbose:
        wrong = sorted(found - possible)
        if wrong:
            zh, en = chinese.split(), english.split()
            print(number, ' '.join(f'{zh[i]}-{en[j]}' for i, j in wrong))

precision = a_possible / a_total if a_total else 0.0
recall = a_sure / s_total if s_total else 0.0
aer = 1 - (a_sure + a_possible) / (a_total + s_total)
print(f'pairs {len(pairs)}  links {a_total}  sure {s_total}')
print(f'precision {precision:.3f}  recall {recall:.3f}  AER {aer:.3f}')
if precision < required.get('--require-precision', 0.0):
    sys.exit(f'precision {precision:.3f} is below {required["--require-precision"]}')
if aer > required.get('--require-aer', 1.0):
    sys.exit(f'AER {aer:.3f} is above {required["--require-aer"]}')
