#!/usr/bin/env bash
# Times `tamrel-cli search` on very long queries against the shared Tatoeba corpus, to check that a
# search costs time linear in the query's length: many repeats of one term, tens of thousands of
# distinct terms, a megabyte of English words and a megabyte of Chinese text. With two builds the
# figures are shown side by side.
# Usage: scripts/long-queries.sh NEW_CLI [OLD_CLI]
#   SHARED_DIR (default ../shared beside the checkout) holds corpora/tatoeba/BDict;
#   RUNS (default 3) runs per query, the fastest is shown; LIMIT (default 120) seconds per run.

set -u

if [[ $# -lt 1 || $# -gt 2 ]]; then
    echo "usage: $0 NEW_CLI [OLD_CLI]" >&2
    exit 2
fi
REPO=$(cd "$(dirname "$0")/.." && pwd)
SHARED=$(realpath "${SHARED_DIR:-$REPO/../shared}")
TATOEBA=$SHARED/corpora/tatoeba/BDict
RUNS=${RUNS:-3}
LIMIT=${LIMIT:-120}
CLIS=("$(realpath "$1")")
NAMES=(new)
if [[ $# -eq 2 ]]; then
    CLIS=("$(realpath "$2")" "${CLIS[0]}")
    NAMES=(old new)
fi
for f in "${CLIS[@]}"; do
    [[ -x $f ]] || { echo "not an executable: $f" >&2; exit 2; }
done
[[ -f $TATOEBA/sents.finalBI ]] || { echo "missing: $TATOEBA/sents.finalBI" >&2; exit 2; }

if [[ -z ${TMPDIR:-} && -d /dev/shm && -w /dev/shm ]]; then TMPDIR=/dev/shm; fi
TMP=$(mktemp -d "${TMPDIR:-/tmp}/tamrel-long.XXXXXX")
trap 'rm -rf "$TMP"' EXIT

# The queries, one file each (UTF-8, no line break). Sentence groups are three lines: Chinese
# (words split by spaces), pinyin, English.
Q=$TMP/queries
mkdir -p "$Q"
python3 - "$TATOEBA/sents.finalBI" "$Q" <<'EOF'
import random, sys
source, out = sys.argv[1], sys.argv[2]
lines = open(source, encoding="utf-8").read().split("\n")
chinese = [l.replace(" ", "") for l in lines[0::3] if l]
english = [w for l in lines[2::3] for w in l.split()]
random.seed(7)

def fill(pieces, size, sep):
    text, n, i = [], 0, 0
    while n < size:
        p = pieces[i % len(pieces)]
        text.append(p)
        n += len(p.encode()) + len(sep)
        i += 1
    return sep.join(text)

queries = {
    "the-x30000": " ".join(["the"] * 30000),
    "stop-x30000": "。" * 30000,
    # English queries must start with a letter to be searched as English.
    "words-30000": " ".join(["Tom"] + [random.choice(english) for _ in range(29999)]),
    "english-1MB": "Tom " + fill(english, (1 << 20) - 4, " "),
    "chinese-1MB": fill(chinese, 1 << 20, ""),
}
for name, text in queries.items():
    open(f"{out}/{name}", "w", encoding="utf-8").write(text)
EOF
QUERIES=(the-x30000 stop-x30000 words-30000 english-1MB chinese-1MB)

# One runtime folder per build, its indexes built by that build.
for i in "${!CLIS[@]}"; do
    rt=$TMP/rt-${NAMES[$i]}
    mkdir -p "$rt/BDict" "$rt/data"
    cp "$TATOEBA"/word.dict{BI,MO} "$TATOEBA"/sents.final{BI,MO} "$rt/BDict/"
    cp "$REPO"/data/*.html "$rt/data/"
    chmod -R u+w "$rt"
    (cd "$rt" && "${CLIS[$i]}" build >/dev/null 2>&1) || { echo "build failed: ${CLIS[$i]}" >&2; exit 1; }
done

# The query goes as arguments of at most 64 KB (one argument may not exceed 128 KB); the command
# joins them with single spaces. English is cut between words, so its text is unchanged; Chinese
# text gains a space every 64 KB, a handful of term breaks in a megabyte.
split_args() {
    python3 - "$1" <<'EOF'
import sys
text = open(sys.argv[1], encoding="utf-8").read()
chunks, start = [], 0
while start < len(text):
    end = min(start + 20000, len(text))  # characters; at most 3 bytes each
    if end < len(text) and " " in text[start:end]:
        end = text.rindex(" ", start, end)
    chunks.append(text[start:end].strip(" "))
    start = end
sys.stdout.write("\0".join(c for c in chunks if c))
EOF
}

# Fastest of RUNS runs in seconds, or ">LIMIT" when a run did not finish in time.
time_search() {
    local cli=$1 rt=$2 query=$3 best="" t r
    local -a args
    mapfile -d '' -t args < <(split_args "$query")
    for ((r = 0; r < RUNS; r++)); do
        local start end
        start=$(date +%s.%N)
        (cd "$rt" && timeout "$LIMIT" "$cli" search "${args[@]}" >/dev/null 2>&1)
        if [[ $? -eq 124 ]]; then
            echo ">$LIMIT"
            return
        fi
        end=$(date +%s.%N)
        t=$(echo "$end - $start" | bc)
        if [[ -z $best ]] || (($(echo "$t < $best" | bc))); then best=$t; fi
        (($(echo "$t > 5" | bc))) && break  # slow enough that one run tells
    done
    printf '%.3f\n' "$best"
}

printf '%-14s %10s' query bytes
for name in "${NAMES[@]}"; do printf ' %10s' "$name (s)"; done
printf '\n'
for q in "${QUERIES[@]}"; do
    printf '%-14s %10d' "$q" "$(stat -c %s "$Q/$q")"
    for i in "${!CLIS[@]}"; do
        printf ' %10s' "$(time_search "${CLIS[$i]}" "$TMP/rt-${NAMES[$i]}" "$Q/$q")"
    done
    printf '\n'
done
