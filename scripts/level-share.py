#!/usr/bin/env python3
# The share of the top twenty of `tamrel-cli search --level N` that are within level N, for the 40
# most frequent words of HSK 1-3 in a runtime folder's bilingual corpus, against the first twenty
# without a level; within-level is judged here from the sentence file and the dictionary alone.
# Usage: scripts/level-share.py RUNTIME_FOLDER TAMREL_CLI DICTIONARY_TSV
import json, subprocess, sys, re, collections
root, cli, dictpath = sys.argv[1], sys.argv[2], sys.argv[3]
hsk = {}
for line in open(dictpath, encoding='utf-8'):
    if line.startswith('#'): continue
    c = line.rstrip('\n').split('\t')
    if len(c) < 7 or not c[6]: continue
    b = 6 if c[6] == '7-9' else int(c[6]) - 1
    hsk[c[0]] = min(b, hsk.get(c[0], 99))
han = re.compile('[\u3400-\u9fff\uf900-\ufaff]')
nums = set('0123456789０１２３４５６７８９零〇一二两三四五六七八九十百千万亿')
def bucket(w):
    if not han.search(w) or all(ch in nums for ch in w): return 8
    return hsk.get(w, 7)
# frequent words: sentence counts from the built dictionary
counts = collections.Counter()
for line in open(root + '/BDict/word.dictBI', encoding='utf-8'):
    k, _, ids = line.rstrip('\n').partition('\t')
    if k.startswith('0') and bucket(k[1:]) < 3: counts[k[1:]] = ids.count(':')
words = [w for w, n in counts.most_common(60) if n >= 40][:40]
def run(w, level):
    args = [cli, 'search', '--no-page', '--json', w] + (['--level', str(level)] if level else [])
    out = subprocess.run(args, cwd=root, capture_output=True, text=True).stdout
    rows = [json.loads(l) for l in out.splitlines() if l.startswith('{"corpus":"BI"')]
    return [r['chinese'].split() for r in rows]
def within(tokens, w, level):
    ws = [t for t in tokens if bucket(t) < 8]
    return bool(ws) and all(t == w or bucket(t) < level for t in ws)
# how many within-level sentences exist for w: from the sentence file (chinese line of each group)
lines = open(root + '/BDict/sents.finalBI', encoding='utf-8').read().split('\n')
groups = [lines[i].split() for i in range(0, len(lines) - 2, 3)]
print('words:', ' '.join(words))
for level in (2, 3, 4):
    tot_top = tot_possible = tot_base = 0
    full = 0
    for w in words:
        holding = [g for g in groups if w in g]
        possible = min(20, sum(within(g, w, level) for g in holding))
        top = run(w, level)
        base = run(w, 0)
        got = sum(within(t, w, level) for t in top[:20])
        b = sum(within(t, w, level) for t in base[:20])
        tot_top += got; tot_possible += possible; tot_base += b
        full += got == possible
    print(f'level {level}: within-level in top 20 {tot_top}/{tot_possible} = {tot_top/max(1,tot_possible):.1%} of what exists '
          f'(words at the full share: {full}/{len(words)}); without a level the first 20 hold {tot_base}/{tot_possible} = {tot_base/max(1,tot_possible):.1%}')
