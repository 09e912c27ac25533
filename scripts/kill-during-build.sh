#!/usr/bin/env bash
# Kills a running `tamrel-cli build` with SIGKILL at random moments and checks after each kill that
# the index still answers: `tamrel-cli search hello` must print what it printed before, and the
# index files must be the ones a whole build writes, with no staged (*.new), backup (*.old) or
# commit record file left in data/ once the search has run.
# Usage: scripts/kill-during-build.sh CLI [TIMES]   (runs on a copy of the shipped corpus; exit 0 = every
# search answered)

set -u

if [[ $# -lt 1 || $# -gt 2 ]]; then
    echo "usage: $0 CLI [TIMES]" >&2
    exit 2
fi
REPO=$(cd "$(dirname "$0")/.." && pwd)
CLI=$(realpath "$1")
TIMES=${2:-50}
[[ -x $CLI ]] || { echo "not an executable: $CLI" >&2; exit 2; }

TMP=$(mktemp -d "${TMPDIR:-/tmp}/tamrel-kill.XXXXXX")
trap 'rm -rf "$TMP"' EXIT
mkdir -p "$TMP/BDict" "$TMP/data"
cp "$REPO"/BDict/word.dict* "$REPO"/BDict/sents.final* "$TMP/BDict/"
cp "$REPO"/data/*.html "$TMP/data/"
cd "$TMP" || exit 2

index_sums() { md5sum data/index*.dat?? 2>/dev/null; }

"$CLI" build >/dev/null 2>&1 || { echo "the first build failed" >&2; exit 2; }
"$CLI" search --no-page hello >expected.out 2>&1 || { echo "the first search failed" >&2; exit 2; }
EXPECTED_SUMS=$(index_sums)
# How long one build takes, in microseconds: the kills fall anywhere in it, or just after it.
start=$(date +%s%N)
"$CLI" build >/dev/null 2>&1
duration=$((($(date +%s%N) - start) / 1000))
window=$((duration * 12 / 10 + 1))

killed=0 finished=0 answered=0 failed=0 changed=0 leftovers=0
for ((i = 1; i <= TIMES; i++)); do
    "$CLI" build >/dev/null 2>&1 &
    pid=$!
    delay=$(((RANDOM * 32768 + RANDOM) % window))
    sleep "$((delay / 1000000)).$(printf %06d $((delay % 1000000)))"
    kill -9 "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    if [[ $? == 137 ]]; then killed=$((killed + 1)); else finished=$((finished + 1)); fi
    if "$CLI" search --no-page hello >search.out 2>&1 && cmp -s search.out expected.out; then
        answered=$((answered + 1))
    else
        failed=$((failed + 1))
        echo "kill $i (after ${delay} us): the search did not answer as before:" >&2
        head -3 search.out >&2
    fi
    [[ $(index_sums) == "$EXPECTED_SUMS" ]] || changed=$((changed + 1))
    left=$(ls data | grep -E '\.(new|old)$|^commit\.dat')
    if [[ -n $left ]]; then
        leftovers=$((leftovers + 1))
        echo "kill $i: left in data/: $left" >&2
    fi
done
echo "$TIMES builds (one takes about $((duration / 1000)) ms): $killed killed, $finished finished first;" \
     "searches answered $answered, failed $failed; index files changed $changed times, leftovers $leftovers times"
[[ $failed == 0 && $changed == 0 && $leftovers == 0 ]]
