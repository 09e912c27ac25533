#!/usr/bin/env bash
# Times Tamrel's segmenter (tamrel-cli segment: simplification, segmentation and pinyin lookup
# included) and jieba (python3-jieba, cut without HMM) side by side on the same text: the Chinese
# sentences of the shared Tatoeba pairs repeated to LINES lines (default 1,000,000).
#
#   scripts/segmentation-speed.sh [LINES] [--cli PATH]
#
# Needs a built tamrel-cli (default build-test/cli/tamrel-cli) and python3-jieba
# (scripts/install-deps.sh --lexicon). Prints seconds, lines per second and the ratio.
set -euo pipefail
cd "$(dirname "$0")/.."
lines=1000000
cli=build-test/cli/tamrel-cli
while (($#)); do
  case "$1" in
    --cli) cli=$2; shift 2 ;;
    *) lines=$1; shift ;;
  esac
done
pairs="${TAMREL_SHARED:-../shared}/corpora/tatoeba/pairs.tsv"
[[ -f "$pairs" ]] || { echo "missing $pairs" >&2; exit 2; }
[[ -x "$cli" ]] || { echo "missing $cli (build it first)" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cut -f2 "$pairs" > "$work/one.txt"
: > "$work/text.txt"
while (($(wc -l < "$work/text.txt") < lines)); do cat "$work/one.txt" >> "$work/text.txt"; done
head -n "$lines" "$work/text.txt" > "$work/input.txt"
echo "input: $(wc -l < "$work/input.txt") lines, $(wc -c < "$work/input.txt") bytes"

seconds() { # runs "$@" with input.txt on stdin, output to a file; prints wall seconds
  local start end
  start=$(date +%s.%N)
  "$@" < "$work/input.txt" > "$work/out.txt"
  end=$(date +%s.%N)
  echo "$end - $start" | bc -l
}
ours=$(seconds "$cli" segment)
jieba=$(seconds /usr/bin/python3 scripts/jieba-segment.py)
printf 'tamrel-cli segment:  %8.2f s  %10.0f lines/s\n' "$ours" "$(echo "$lines / $ours" | bc -l)"
printf 'jieba cut, no HMM:   %8.2f s  %10.0f lines/s\n' "$jieba" "$(echo "$lines / $jieba" | bc -l)"
printf 'tamrel is %.1f times as fast\n' "$(echo "$jieba / $ours" | bc -l)"
