#!/usr/bin/env bash
# Times Tamrel's segmenter (tamrel-cli segment, with OpenCC simplification and without it) and jieba (python3-jieba, cut without HMM) side by side on the same text: the Chinese
# sentences of the shared Tatoeba pairs repeated to LINES lines (default 1,000,000).
#
#   scripts/segmentation-speed.sh [LINES] [--cli PATH]
#
# Needs a built tamrel-cli (default build-test/cli/tamrel-cli) and python3-jieba
# (scripts/install-deps.sh --lexicon). Prints wall and CPU seconds, lines per CPU second and the
# ratio.
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

# Runs "$@" with input.txt on stdin and the output to a file; prints "WALL CPU" seconds. CPU
# time (user + system) is what the comparison uses: other work on the machine stretches wall
# time but not it.
measure() {
  /usr/bin/time -f "%e %U %S" -o "$work/time.txt" "$@" < "$work/input.txt" > "$work/out.txt"
  awk '{ printf "%.2f %.2f\n", $1, $2 + $3 }' "$work/time.txt"
}
read -r ours_wall ours_cpu < <(measure "$cli" segment)
read -r raw_wall raw_cpu < <(measure "$cli" segment --keep-traditional)
read -r jieba_wall jieba_cpu < <(measure /usr/bin/python3 scripts/jieba-segment.py)
rate() { echo "$lines / $1" | bc -l; }
printf '%-22s %9s %9s %12s\n' "" "wall s" "CPU s" "lines/CPU s"
printf '%-22s %9.2f %9.2f %12.0f\n' "tamrel-cli segment" "$ours_wall" "$ours_cpu" "$(rate "$ours_cpu")"
printf '%-22s %9.2f %9.2f %12.0f\n' "  --keep-traditional" "$raw_wall" "$raw_cpu" "$(rate "$raw_cpu")"
printf '%-22s %9.2f %9.2f %12.0f\n' "jieba cut, no HMM" "$jieba_wall" "$jieba_cpu" "$(rate "$jieba_cpu")"
printf 'tamrel is %.1f times as fast (CPU time; %.1f by wall time); %.1f times without simplifying\n' \
  "$(echo "$jieba_cpu / $ours_cpu" | bc -l)" "$(echo "$jieba_wall / $ours_wall" | bc -l)" \
  "$(echo "$jieba_cpu / $raw_cpu" | bc -l)"
