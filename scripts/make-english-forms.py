#!/usr/bin/env python3
"""Regenerates resources/lexicon/english_exceptions.tsv, the irregular English forms that
lexicon/english_base_forms.cpp turns into their base forms (went -> go, children -> child),
from WordNet's exception lists (/usr/share/wordnet/*.exc of the Debian package wordnet-base).

    scripts/make-english-forms.py [--wordnet DIR] [--out FILE]

Each output line is FORM<TAB>POS<TAB>BASES: a lower-case form of letters a-z only, its part of
speech as WordNet files it (n, v, a, r), and its base forms, space-separated, in WordNet's order.
Forms with other characters (spaces, hyphens, apostrophes) are left out: the search and the
dictionary only ask for single words of letters. Only the Python standard library is used.
"""

import argparse
import os
import re
import sys

HEADER = """# Tamrel English exceptions: FORM<TAB>POS<TAB>BASES (n noun, v verb, a adjective, r adverb).
# Made by scripts/make-english-forms.py from the exception lists of WordNet 3.0 (Debian wordnet-base).
# WordNet 3.0 Copyright 2006 by Princeton University. All rights reserved. Licensed under the
# WordNet 3.0 licence (see resources/lexicon/README.md): permission to use, copy, modify and
# distribute this database for any purpose and without fee or royalty is granted, provided that the
# copyright notice and statements, including the disclaimer, appear on all copies. THIS DATABASE IS
# PROVIDED "AS IS" AND PRINCETON UNIVERSITY MAKES NO REPRESENTATIONS OR WARRANTIES, EXPRESS OR IMPLIED.
"""

LISTS = [("noun.exc", "n"), ("verb.exc", "v"), ("adj.exc", "a"), ("adv.exc", "r")]
WORD = re.compile(r"[a-z]+")


def main():
    repo = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--wordnet", default="/usr/share/wordnet", help="folder of WordNet's *.exc files")
    parser.add_argument("--out", default=os.path.join(repo, "resources", "lexicon", "english_exceptions.tsv"))
    args = parser.parse_args()

    lines = []
    for name, pos in LISTS:
        with open(os.path.join(args.wordnet, name), encoding="utf-8") as f:
            for line in f:
                parts = line.split()
                if len(parts) < 2 or not WORD.fullmatch(parts[0]):
                    continue
                bases = [b for b in parts[1:] if WORD.fullmatch(b) and b != parts[0]]
                if bases:
                    lines.append(f"{parts[0]}\t{pos}\t{' '.join(bases)}\n")
    if "@" in "".join(lines):
        raise SystemExit("make-english-forms.py: '@' in the data would break its embedding by CMake")
    with open(args.out, "w", encoding="utf-8", newline="\n") as f:
        f.write(HEADER)
        f.writelines(lines)
    print(f"{args.out}: {len(lines)} forms", file=sys.stderr)


if __name__ == "__main__":
    main()
