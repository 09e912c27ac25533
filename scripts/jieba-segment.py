#!/usr/bin/env python3
"""Segments UTF-8 lines from standard input with jieba (Debian package python3-jieba), one
output line per input line, words separated by single spaces: the baseline that Tamrel's
segmenter is compared with.

    scripts/jieba-segment.py [--hmm] < lines > words
"""

import sys

import jieba


def main():
    hmm = "--hmm" in sys.argv[1:]
    jieba.setLogLevel(60)
    jieba.initialize()
    out = sys.stdout
    for line in sys.stdin:
        words = (w for w in jieba.cut(line.rstrip("\n"), HMM=hmm) if not w.isspace())
        out.write(" ".join(words) + "\n")


if __name__ == "__main__":
    main()
