#!/usr/bin/env python3
"""Share of Chinese tokens whose pinyin is the word's common reading.

    scripts/pinyin-accuracy.py WORDS PINYIN REFERENCE [--show N]

WORDS and PINYIN are the outputs of `tamrel-cli segment` and `tamrel-cli pinyin` for the same
input: line n of both, token k of both, belong together. REFERENCE is a word list
WORD<TAB>READING[<TAB>...] (such as ../shared/corpora/lexicon/zh_words.tsv) giving each word's
common reading. A token counts when it is made only of Han characters and the reference has
the word; the others are counted apart. Apostrophes between syllables (qǐ'é) are left out of the
comparison, since references join syllables without them. --show N prints the N most frequent
mismatches.
Standard library only.
"""

import argparse
import collections
import sys


def is_han(ch):
    cp = ord(ch)
    return 0x4E00 <= cp <= 0x9FFF or 0x3400 <= cp <= 0x4DBF or 0x20000 <= cp <= 0x3134F or 0xF900 <= cp <= 0xFAFF


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("words")
    parser.add_argument("pinyin")
    parser.add_argument("reference")
    parser.add_argument("--show", type=int, default=0)
    args = parser.parse_args()

    reference = {}
    with open(args.reference, encoding="utf-8") as f:
        for line in f:
            fields = line.rstrip("\n").split("\t")
            if len(fields) >= 2:
                reference.setdefault(fields[0], fields[1].lower())

    right = wrong = unknown = misaligned = 0
    mistakes = collections.Counter()
    with open(args.words, encoding="utf-8") as words, open(args.pinyin, encoding="utf-8") as readings:
        for n, (word_line, reading_line) in enumerate(zip(words, readings), 1):
            tokens, syllables = word_line.split(), reading_line.split()
            if len(tokens) != len(syllables):
                misaligned += 1
                continue
            for token, reading in zip(tokens, syllables):
                if not all(is_han(c) for c in token):
                    continue
                expected = reference.get(token)
                if expected is None:
                    unknown += 1
                elif expected.replace("'", "") == reading.lower().replace("'", ""):
                    right += 1
                else:
                    wrong += 1
                    mistakes[(token, reading, expected)] += 1
    total = right + wrong
    print(f"Chinese tokens with a reference reading: {total}")
    print(f"common reading given: {right} ({100.0 * right / total if total else 0:.2f}%)")
    print(f"other reading given:  {wrong}")
    print(f"tokens the reference lacks (not counted): {unknown}; lines with unequal token counts: {misaligned}")
    for (token, reading, expected), count in mistakes.most_common(args.show):
        print(f"  {count:5} {token} {reading} (reference {expected})")
    return 0 if misaligned == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
