#!/usr/bin/env bash
# The importer's figures on the shared Tatoeba pairs (../shared beside the repository, or
# $TAMREL_SHARED): the time to import and build the 27,155 raw pairs, how many English lines of
# that import equal the shared corpus's group for group, and the time and peak memory of an
# import of a million pairs (the raw pairs repeated, each made distinct by a counter).
#
#   scripts/import-figures.sh [PAIRS]      PAIRS: how many pairs for the large run (1000000)
#   BUILD_DIR=build-test scripts/import-figures.sh
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
large=${1:-1000000}
build="${BUILD_DIR:-$repo/build-test}"
shared="${TAMREL_SHARED:-$repo/../shared}/corpora/tatoeba"
cli="$build/cli/tamrel-cli"
[[ -f "$shared/pairs.tsv" ]] || { echo "no $shared/pairs.tsv" >&2; exit 2; }
if [[ ! -x "$cli" ]]; then
  cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
  cmake --build "$build" -j2 --target tamrel-cli
fi
[[ -x /usr/bin/time ]] || { echo "needs /usr/bin/time (apt-get install time)" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Runs an import of $2 into a fresh runtime folder $1; prints seconds and peak memory in MB.
measure() {
  rm -rf "$1" && mkdir -p "$1/BDict" "$1/data"
  (cd "$1" && /usr/bin/time -f '%e %M' -o "$work/time" "$cli" import BI "$2" > "$work/out" 2>&1) ||
    { cat "$work/out" >&2; exit 1; }
  read -r seconds kilobytes < "$work/time"
  echo "$seconds s, peak $((kilobytes / 1024)) MB"
}

echo "== import of the raw pairs ($(wc -l < "$shared/pairs.tsv") lines), three runs"
for run in 1 2 3; do echo "  run $run: $(measure "$work/small" "$shared/pairs.tsv")"; done
head -n 1 "$work/out" | sed 's/^/  /'

echo "== English lines against $shared/BDict/sents.finalBI"
# The shared corpus has a group for every raw pair; the import keeps a repeated pair once, so the
# reference's groups of repeated pairs are left out before comparing in order.
awk -F'\t' '!seen[$1 FS $2]++ { print NR }' "$shared/pairs.tsv" > "$work/kept"
awk 'NR % 3 == 0' "$shared/BDict/sents.finalBI" > "$work/reference"
awk 'NR == FNR { want[$1] = 1; next } (FNR in want)' "$work/kept" "$work/reference" > "$work/expected"
awk 'NR % 3 == 0' "$work/small/BDict/sents.finalBI" > "$work/imported"
total=$(wc -l < "$work/expected")
same=$(paste -d '\n' "$work/expected" "$work/imported" | awk 'NR % 2 { line = $0; next } $0 == line { n++ } END { print n + 0 }')
echo "  $same of $total groups equal ($(awk -v a="$same" -v b="$total" 'BEGIN { printf "%.2f", 100 * a / b }')%);" \
  "$(($(wc -l < "$work/reference") - total)) repeated pairs imported once"

echo "== import of $large pairs (the raw pairs repeated, a counter appended to each sentence)"
awk -F'\t' -v n="$large" '{ line[NR] = $1 FS $2 } END {
  for (i = 0; i < n; i++) { split(line[i % NR + 1], f, FS); print f[1] " " i "\t" f[2] i } }' \
  "$shared/pairs.tsv" > "$work/large.tsv"
echo "  $(measure "$work/large" "$work/large.tsv")"
head -n 1 "$work/out" | sed 's/^/  /'
