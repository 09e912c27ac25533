#!/usr/bin/env python3
"""Word F1 of segmentations against a gold segmentation.

    scripts/segmentation-f1.py GOLD PREDICTED [PREDICTED...]

Each file holds one line per sentence, words separated by white space; line n of every file is
the same sentence. A word counts as right when a predicted word covers exactly the characters
(by position, white space and invisible formatting characters such as U+200B left out) that a
gold word covers, so a traditional sentence segmented in simplified characters is compared
fairly. A line whose predicted characters are not as many as the gold ones counts as all wrong
and is reported. Standard library only.
"""

import sys
import unicodedata


def words(line):
    out = []
    for word in line.split():
        kept = "".join(c for c in word if unicodedata.category(c) != "Cf" and not c.isspace())
        if kept:
            out.append(kept)
    return out


def spans(tokens):
    result, at = set(), 0
    for t in tokens:
        result.add((at, at + len(t)))
        at += len(t)
    return result, at


def score(gold_lines, predicted_lines):
    correct = gold_total = predicted_total = misaligned = 0
    for gold_line, predicted_line in zip(gold_lines, predicted_lines):
        gold_spans, gold_length = spans(words(gold_line))
        predicted_spans, predicted_length = spans(words(predicted_line))
        gold_total += len(gold_spans)
        predicted_total += len(predicted_spans)
        if gold_length != predicted_length:
            misaligned += 1
            continue
        correct += len(gold_spans & predicted_spans)
    precision = correct / predicted_total if predicted_total else 0.0
    recall = correct / gold_total if gold_total else 0.0
    f1 = 2 * precision * recall / (precision + recall) if precision + recall else 0.0
    return precision, recall, f1, misaligned


def read_lines(path):
    with open(path, encoding="utf-8") as f:
        return f.read().split("\n")[:-1] if path else []


def main():
    if len(sys.argv) < 3:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    gold = read_lines(sys.argv[1])
    print(f"{'segmentation':40} {'precision':>9} {'recall':>9} {'F1':>9}  misaligned lines")
    for path in sys.argv[2:]:
        predicted = read_lines(path)
        if len(predicted) != len(gold):
            print(f"{path}: {len(predicted)} lines, gold has {len(gold)}", file=sys.stderr)
            return 1
        p, r, f1, misaligned = score(gold, predicted)
        print(f"{path:40} {p:9.4f} {r:9.4f} {f1:9.4f}  {misaligned}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
