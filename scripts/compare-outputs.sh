#!/usr/bin/env bash
# Proves that two builds of tamrel-cli behave identically: runs the same commands with each in
# identical runtime folders (shipped corpus and shared Tatoeba corpus) and compares every output byte.
# Usage: scripts/compare-outputs.sh OLD_CLI NEW_CLI [SHARED_DIR]   (exit 0 = no difference)

set -u

if [[ $# -lt 2 || $# -gt 3 ]]; then
    echo "usage: $0 OLD_CLI NEW_CLI [SHARED_DIR]" >&2
    exit 2
fi
REPO=$(cd "$(dirname "$0")/.." && pwd)
OLD_CLI=$(realpath "$1")
NEW_CLI=$(realpath "$2")
SHARED=$(realpath "${3:-$REPO/../shared}")
for f in "$OLD_CLI" "$NEW_CLI"; do
    [[ -x $f ]] || { echo "not an executable: $f" >&2; exit 2; }
done
TATOEBA=$SHARED/corpora/tatoeba/BDict
for f in "$SHARED/bench/queries.txt" "$SHARED/bench/queries.tsv" "$TATOEBA/sents.finalBI"; do
    [[ -f $f ]] || { echo "missing: $f" >&2; exit 2; }
done

START=$SECONDS
# The outputs (a few hundred MB with the Tatoeba indexes) go to memory when possible: writing
# and deleting them on disk can take longer than running the commands.
if [[ -z ${TMPDIR:-} && -d /dev/shm && -w /dev/shm ]]; then TMPDIR=/dev/shm; fi
TMP=$(mktemp -d "${TMPDIR:-/tmp}/tamrel-compare.XXXXXX")
# COMPARE_KEEP=1 leaves the outputs in place for a closer look.
if [[ ${COMPARE_KEEP:-0} == 1 ]]; then
    trap 'echo "outputs kept in $TMP"' EXIT
else
    trap 'rm -rf "$TMP"' EXIT
fi

# Both builds are called as "tamrel-cli" through a symlink, so that argv[0] (shown by --help)
# does not differ between them.
mkdir -p "$TMP/bin/old" "$TMP/bin/new"
ln -s "$OLD_CLI" "$TMP/bin/old/tamrel-cli"
ln -s "$NEW_CLI" "$TMP/bin/new/tamrel-cli"

# Search queries: the benchmark lists (one query a line; the .tsv holds "set<TAB>query<TAB>hits"),
# without repeats, then hand-picked edge cases.
mapfile -t BENCH_QUERIES < <(cat "$SHARED/bench/queries.txt" <(cut -f2 "$SHARED/bench/queries.tsv") \
                             | awk 'NF && !seen[$0]++')
EDGE_QUERIES=(
    hello good Hello HELLO hElLo student the a I "don't" "it's"
    "good morning" "good  morning" "Good Morning!" "hello," "hello." "?" "!" "," "。" "，" "..."
    你好 学生 中国 东西 了 的 "我 很 好" 我很好 "你好吗？" "你 好 吗 ？" 汤姆
    " hello" " 你好" "hello " "  " "hello 你好" "nǐhǎo" "ni hao"
    10 2024 0 "３" "10 点"
    '<b>&"' "<script>alert(1)</script>" "&amp;" "'" '"' "a<b" "\\"
    zzzqqq qwertyuiop 龘龘龘
    "😀" "👍 good" "the the the" "的 的 的"
    $'hello\tworld' $'hello\nworld' $'\xff\xfe' ""
    "$(printf 'word %.0s' {1..60})"
)

# ---------------------------------------------------------------------------------------------
# Running the commands. OUT (where the outputs go), RT (the runtime folder) and BIN are set by
# run_all; every case gets a numbered folder holding its category, command line, stdout, stderr,
# exit code and copies of the files it is meant to leave behind.

n=0
# run CATEGORY "FILES TO KEEP" ARGS...
run() {
    local category=$1 keep=$2 d
    shift 2
    n=$((n + 1))
    d=$OUT/$(printf %05d $n)
    LAST=$d
    mkdir -p "$d/files"
    echo "$category" >"$d/category"
    printf '%q ' tamrel-cli "$@" >"$d/command"
    (cd "$RT" && PATH=$BIN:$PATH timeout 120 tamrel-cli "$@" >"$d/stdout" 2>"$d/stderr")
    echo $? >"$d/rc"
    local f
    for f in $keep; do
        [[ -e $RT/$f ]] && (cd "$RT" && cp --parents "$f" "$d/files/")
    done
}

INDEX_FILES=$(for t in BI MO; do for i in 1 11 2 21; do printf 'data/index%s.dat%s ' $i $t; done; done)
PAGE=data/displayResult.html

# A search case: the page is removed first, so the page kept is the one this search wrote (or
# its absence shows that none was written).
search_case() {
    local category=$1
    shift
    rm -f "$RT/$PAGE"
    run "$category" "$PAGE" search "$@"
}

search_three_ways() {
    local category=$1
    shift
    search_case "$category" "$@"
    search_case "$category" --json "$@"
    search_case "$category" --no-page "$@"
}

# Copies a corpus (its four BDict files) and the pages of data/ into a fresh runtime folder.
make_runtime() {
    local bdict=$1
    rm -rf "$RT"
    mkdir -p "$RT/BDict" "$RT/data"
    local t
    for t in BI MO; do
        cp "$bdict/word.dict$t" "$bdict/sents.final$t" "$RT/BDict/"
    done
    cp "$REPO"/data/*.html "$RT/data/"
    chmod -R u+w "$RT"
}

# run_all SIDE CORPUS_BDICT: the whole sequence of cases with one build, in one runtime folder.
run_all() {
    local side=$1 bdict=$2 q t
    BIN=$TMP/bin/$side
    OUT=$TMP/out/$CORPUS/$side
    RT=$TMP/runtime
    n=0
    mkdir -p "$OUT"
    make_runtime "$bdict"

    # 1. build from the sources.
    run build "$INDEX_FILES" build

    # Command-line handling: help texts and usage errors.
    run usage "" --help
    run usage ""
    run usage "" frobnicate
    for q in build words search settings prepare; do run usage "" $q --help; done
    run usage "" search
    run usage "" words
    run usage "" words abc
    run usage "" words 1 2 3
    run usage "" prepare
    run usage "" prepare XX
    run usage "" prepare bi
    run usage "" settings --bogus
    run usage "" search --bogus hello
    run usage "" search -- -x

    # 2. search.
    for q in "${BENCH_QUERIES[@]}" "${EDGE_QUERIES[@]}"; do
        search_three_ways search "$q"
    done
    search_three_ways search good morning
    search_three_ways search 汤姆 的
    search_three_ways search hello 你好 world

    # 3. words, English then Chinese.
    for t in "" --cn; do
        run words "" words $t 0
        run words "" words $t 0 20
        run words "" words $t 5 3
        run words "" words $t 100 10
        run words "" words $t 0 0
        run words "" words $t 3 -1
        run words "" words $t -1 5
        run words "" words $t 0 100000000
        local count
        count=$(wc -l <"$LAST/stdout")
        run words "" words $t $((count - 3)) 10
        run words "" words $t $count 5
        run words "" words $t 1000000 5
        run words "" words $t 2147483647 1
        run words "" words $t 99999999999 1
    done
    run words "" words 5 3 --cn

    # 4. settings, each step followed by the settings file; searches show their effect (words
    # found in both corpora).
    local conf=data/config.data
    run settings "$conf"
    for q in FLAGPRON=FALSE FLAGBI=FALSE; do
        run settings "$conf" settings $q
        search_case settings good
        search_case settings 你好
        search_case settings --json 你好
        search_case settings --no-page good
    done
    run settings "$conf" settings FLAGMONO=TRUE
    run settings "$conf" settings FLAGSTARTUP=FALSE
    run settings "$conf" settings FLAGBI=maybe
    run settings "$conf" settings FOO=TRUE
    run settings "$conf" settings flagpron=true
    run settings "$conf" settings FLAGPRON
    run settings "$conf" settings
    run settings "$conf" settings FLAGMONO=FALSE
    search_case settings good
    search_case settings --json good
    run settings "$conf" settings FLAGPRON=TRUE FLAGBI=TRUE FLAGMONO=TRUE FLAGSTARTUP=TRUE
    run settings "$conf" settings
    search_case settings good
    printf 'garbage\nFLAGBI##FALSE\n' >"$RT/$conf"
    run settings "$conf" settings
    search_case settings good
    rm -f "$RT/$conf"

    # 5. prepare: the dictionaries it writes, and refusals.
    local dicts="BDict/word.dictBI BDict/word.dictMO"
    run prepare "$dicts" prepare BI
    run prepare "$dicts" prepare MO
    for t in BI MO; do
        cp "$RT/BDict/sents.final$t" "$TMP/sents.saved"
        sed -i '2s/$/\tx/' "$RT/BDict/sents.final$t"
        run prepare "$dicts" prepare $t
        mv "$TMP/sents.saved" "$RT/BDict/sents.final$t"
    done
    mv "$RT/BDict/sents.finalBI" "$TMP/sents.saved"
    run prepare "$dicts" prepare BI
    mv "$TMP/sents.saved" "$RT/BDict/sents.finalBI"

    # 6. Missing index files, then build again.
    rm -f "$RT"/data/index*
    search_three_ways rebuild good
    run rebuild "" words 0 5
    run rebuild "$INDEX_FILES" build
    search_three_ways rebuild good
    rm -f "$RT/data/index21.datMO"
    search_case rebuild 你好
    mv "$RT/BDict/word.dictBI" "$TMP/dict.saved"
    run rebuild "$INDEX_FILES" build
    mv "$TMP/dict.saved" "$RT/BDict/word.dictBI"
    run rebuild "$INDEX_FILES" build
    search_case rebuild 你好

    rm -rf "$RT"
}

# ---------------------------------------------------------------------------------------------
# Comparing: per corpus and category, how many cases and how many differ, with a short diff of
# the first few that do.

compare() {
    python3 - "$TMP/out" <<'EOF'
import difflib, os, sys

root = sys.argv[1]
MAX_SHOWN = 3

def read_case(d):
    """Everything a case left behind, as {name: bytes}."""
    out = {}
    for name in ("stdout", "stderr", "rc"):
        with open(os.path.join(d, name), "rb") as f:
            out[name] = f.read()
    files = os.path.join(d, "files")
    for folder, _, names in os.walk(files):
        for name in names:
            path = os.path.join(folder, name)
            with open(path, "rb") as f:
                out["file " + os.path.relpath(path, files)] = f.read()
    return out

def clip(line, start=0, width=150):
    """A long line (the result page is mostly one line) cut to a window around `start`."""
    start = max(0, start - 40)
    text = line[start:start + width]
    return ("..." if start else "") + text + ("..." if start + width < len(line) else "")

def short_diff(name, a, b):
    if a is None or b is None:
        return [f"    {name}: only written by the {'new' if a is None else 'old'} build"]
    if name == "rc":
        return [f"    exit code: {a.decode().strip()} vs {b.decode().strip()}"]
    try:
        ta, tb = a.decode(), b.decode()
    except UnicodeDecodeError:
        ta = tb = None
    if ta is None or "/index" in name:
        pos = next((i for i, (x, y) in enumerate(zip(a, b)) if x != y), min(len(a), len(b)))
        return [f"    {name}: {len(a)} vs {len(b)} bytes, first difference at byte {pos}"]
    lines = list(difflib.unified_diff(ta.splitlines(), tb.splitlines(), "old", "new", lineterm="", n=1))[2:]
    # Show a changed line from where it starts to differ from its counterpart.
    shown = [f"    {name}:"]
    for i, line in enumerate(lines[:12]):
        other = lines[i + 1] if line.startswith("-") and i + 1 < len(lines) else lines[i - 1] if i else ""
        same = 0
        if line[:1] in "+-" and other[:1] in "+-" and line[:1] != other[:1]:
            same = len(os.path.commonprefix([line[1:], other[1:]]))
        shown.append("      " + line[:1] + clip(line[1:], same))
    if len(lines) > 12:
        shown.append(f"      ... ({len(lines) - 12} more diff lines)")
    if not lines:
        shown.append("      (same lines, different line endings or final newline)")
    return shown

failed = False
for corpus in sorted(os.listdir(root)):
    old_dir, new_dir = (os.path.join(root, corpus, s) for s in ("old", "new"))
    cases = sorted(set(os.listdir(old_dir)) | set(os.listdir(new_dir)))
    counts, differing = {}, {}
    for case in cases:
        po, pn = os.path.join(old_dir, case), os.path.join(new_dir, case)
        some = po if os.path.isdir(po) else pn
        category = open(os.path.join(some, "category")).read().strip()
        command = open(os.path.join(some, "command")).read().strip()
        counts[category] = counts.get(category, 0) + 1
        if not (os.path.isdir(po) and os.path.isdir(pn)):
            report = [f"    case only run with the {'old' if os.path.isdir(po) else 'new'} build"]
        else:
            if command != open(os.path.join(pn, "command")).read().strip():
                report = [f"    the builds ran different commands here (new: {open(os.path.join(pn, 'command')).read().strip()})"]
            else:
                a, b = read_case(po), read_case(pn)
                report = []
                for name in sorted(set(a) | set(b)):
                    if a.get(name) != b.get(name):
                        report += short_diff(name, a.get(name), b.get(name))
        if report:
            differing.setdefault(category, []).append((command, report))
    print(f"{corpus} corpus:")
    for category in counts:
        bad = differing.get(category, [])
        print(f"  {category + ':':10} {counts[category]:4} cases, {len(bad)} differ")
        for command, report in bad[:MAX_SHOWN]:
            print(f"    > {command}")
            print("\n".join(report))
        if len(bad) > MAX_SHOWN:
            print(f"    ... and {len(bad) - MAX_SHOWN} more")
        failed = failed or bool(bad)
sys.exit(1 if failed else 0)
EOF
}

for CORPUS in shipped tatoeba; do
    [[ $CORPUS == shipped ]] && bdict=$REPO/BDict || bdict=$TATOEBA
    run_all old "$bdict"
    run_all new "$bdict"
done
compare
status=$?
echo "$([[ $status == 0 ]] && echo "no difference" || echo "DIFFERENCES FOUND") ($((SECONDS - START)) s)"
exit $status
