#!/usr/bin/env bash
# Word F1 of Tamrel's segmenter and of jieba (HMM on and off) against the segmentation of the
# shared Tatoeba corpus, and the pinyin accuracy of Tamrel on the same sentences: the Chinese
# column of pairs.tsv is segmented; the first line of each group of BDict/sents.finalBI is the
# gold; ../shared/corpora/lexicon/zh_words.tsv gives the common readings.
#
#   scripts/segmentation-quality.sh [--cli PATH]
#
# Needs a built tamrel-cli (default build-test/cli/tamrel-cli) and python3-jieba
# (scripts/install-deps.sh --lexicon).
set -euo pipefail
cd "$(dirname "$0")/.."
cli=build-test/cli/tamrel-cli
[[ "${1:-}" == "--cli" ]] && cli=$2
shared="${TAMREL_SHARED:-../shared}/corpora"
for f in "$shared/tatoeba/pairs.tsv" "$shared/tatoeba/BDict/sents.finalBI" "$shared/lexicon/zh_words.tsv"; do
  [[ -f "$f" ]] || { echo "missing $f" >&2; exit 2; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cut -f2 "$shared/tatoeba/pairs.tsv" > "$work/text.txt"
awk 'NR % 3 == 1' "$shared/tatoeba/BDict/sents.finalBI" > "$work/gold.txt"
"$cli" segment < "$work/text.txt" > "$work/tamrel.txt"
"$cli" pinyin < "$work/text.txt" > "$work/tamrel-pinyin.txt"
/usr/bin/python3 scripts/jieba-segment.py < "$work/text.txt" > "$work/jieba-no-hmm.txt"
/usr/bin/python3 scripts/jieba-segment.py --hmm < "$work/text.txt" > "$work/jieba-hmm.txt"
repo=$PWD
(cd "$work" && /usr/bin/python3 "$repo/scripts/segmentation-f1.py" gold.txt tamrel.txt jieba-no-hmm.txt jieba-hmm.txt)
echo
/usr/bin/python3 scripts/pinyin-accuracy.py "$work/tamrel.txt" "$work/tamrel-pinyin.txt" "$shared/lexicon/zh_words.tsv" \
  --show "${TAMREL_SHOW_MISTAKES:-10}"
