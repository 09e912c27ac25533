#!/usr/bin/env bash
# Attacks tamrel-cli as a hostile user, a full disk and a kill -9 would, in scratch copies of a
# runtime folder made from the shared Tatoeba corpus, and prints one line per check: what was
# tried, how many cases, how many held and how many did not. The cases that did not hold are
# described in full after the table. Needs root (tmpfs and read-only mounts) and a built
# tamrel-cli; the fuzzer row runs scripts/fuzz.sh (clang).
#
#   scripts/hostile-audit.sh [CLI]      CLI defaults to build/cli/tamrel-cli
#
# Environment: SHARED_DIR (default ../shared beside the checkout, holding corpora/tatoeba),
# KILLS (70), SEARCHES (2000), FUZZ_SECONDS (60; 0 skips the fuzzers), FUZZ_LOG (the output of an
# earlier `scripts/fuzz.sh N` of the same commit, read instead of running it again, once that run
# has ended), MILLION (1: also measures the peak memory of importing a million tiny pairs),
# CASES_LOG (a file that receives the exit code and message of every disk-full and read-only case),
# PARTS (the letters of the checks to run, default "a b c d e f g").
set -u

REPO=$(cd "$(dirname "$0")/.." && pwd)
CLI=$(realpath "${1:-$REPO/build/cli/tamrel-cli}")
SHARED=$(realpath "${SHARED_DIR:-$REPO/../shared}")
PAIRS=$SHARED/corpora/tatoeba/pairs.tsv
TATOEBA=$SHARED/corpora/tatoeba/BDict
KILLS=${KILLS:-70}
SEARCHES=${SEARCHES:-2000}
FUZZ_SECONDS=${FUZZ_SECONDS:-60}
PARTS=${PARTS:-a b c d e f g}
want() { [[ " $PARTS " == *" $1 "* ]]; }
[[ -x $CLI ]] || { echo "not an executable: $CLI" >&2; exit 2; }
[[ -f $PAIRS && -f $TATOEBA/sents.finalBI ]] || { echo "missing: $PAIRS or $TATOEBA" >&2; exit 2; }
[[ $(id -u) -eq 0 ]] || { echo "run as root: the disk-full and read-only cases mount file systems" >&2; exit 2; }

WORK=$(mktemp -d "${TMPDIR:-/tmp}/tamrel-audit.XXXXXX")
MOUNTS=()
cleanup() {
  local m
  for m in "${MOUNTS[@]}"; do umount "$m" 2> /dev/null; done
  jobs -p | xargs -r kill -9 2> /dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT
START=$(date +%s)
TABLE=$WORK/table
DETAILS=$WORK/details
: > "$TABLE"
: > "$DETAILS"

# row WHAT CASES HELD: one line of the table.
row() { printf '%-62s %6d %6d %9d\n' "$1" "$2" "$3" $(($2 - $3)) >> "$TABLE"; echo "done: $1 ($3 of $2 held)" >&2; }
# fail TEXT: one case that did not hold, described.
fail() { printf '%s\n' "$*" >> "$DETAILS"; }
log() { echo "[$(($(date +%s) - START)) s] $*" >&2; }

# What a command left that only a running or killed operation should have: staged files, backups,
# commit records and scratch folders.
leftovers() { (cd "$1" && find data BDict \( -name 'import.tmp*' -o -name '*.new' -o -name '*.old' -o -name 'commit.dat*' \) -prune -print 2> /dev/null | sort | tr '\n' ' '); }
# The bytes of the bilingual corpus: sources and index.
corpus_sum() { (cd "$1" && cat BDict/sents.finalBI BDict/word.dictBI data/index1.datBI data/index11.datBI data/index2.datBI data/index21.datBI 2> /dev/null | sha256sum | cut -c1-16); }
# Every file of both folders but the result page and the history, with its bytes.
folder_sum() { (cd "$1" && find BDict data -type f ! -name 'displayResult.html' ! -name 'history*' ! -name '*.lock' ! -name 'index.lock*' ! -name filler -print0 2> /dev/null | sort -z | xargs -0 -r sha256sum | sha256sum | cut -c1-16); }
# The same but for the build stamp and the key table, which carries it: what a whole change leaves,
# whichever run made it.
state_sum() { (cd "$1" && find BDict data -type f ! -name 'displayResult.html' ! -name 'history*' ! -name '*.lock' ! -name 'index.lock*' ! -name filler ! -name 'stamp.dat*' ! -name 'keytable.dat*' -print0 2> /dev/null | sort -z | xargs -0 -r sha256sum | sha256sum | cut -c1-16); }
cli() { (cd "$1" && shift && "$CLI" "$@"); }
fresh() { rm -rf "$2" && cp -a "$1" "$2"; }

# --- The corpora -----------------------------------------------------------------------------
log "preparing the corpora in $WORK"
head -n 9000 "$PAIRS" > "$WORK/old.tsv"
sed -n '9001,18000p' "$PAIRS" > "$WORK/new.tsv"
head -n 300 "$PAIRS" > "$WORK/small-old.tsv"
sed -n '301,600p' "$PAIRS" > "$WORK/small-new.tsv"
sed -n '20001,20060p' "$PAIRS" | cut -f2 > "$WORK/mo.txt"

# base: the Tatoeba monolingual corpus and a bilingual corpus imported from 9,000 pairs; searches
# use the bilingual corpus only, so that an import into the monolingual one changes no answer.
BASE=$WORK/base
mkdir -p "$BASE/BDict" "$BASE/data"
cp "$TATOEBA"/sents.finalMO "$TATOEBA"/word.dictMO "$BASE/BDict/"
cp "$REPO"/data/*.html "$BASE/data/"
chmod -R u+w "$BASE"
cli "$BASE" import BI "$WORK/old.tsv" > /dev/null 2>&1 || { echo "the first import failed" >&2; exit 1; }
cli "$BASE" build > /dev/null 2>&1 || { echo "the first build failed" >&2; exit 1; }
cli "$BASE" settings FLAGMONO=FALSE > /dev/null || exit 1
# The states after a whole replace and a whole append, and the answer of each state.
for mode in replace append; do
  fresh "$BASE" "$WORK/$mode"
  flag=()
  [[ $mode == append ]] && flag=(--append)
  t0=$(date +%s%N)
  cli "$WORK/$mode" import BI "${flag[@]}" "$WORK/new.tsv" > /dev/null 2>&1 || { echo "import $mode failed" >&2; exit 1; }
  declare "DURATION_$mode=$((($(date +%s%N) - t0) / 1000))"
done
QUERY=weather
declare -A SUM ANSWER
for state in base replace append; do
  SUM[$state]=$(corpus_sum "$WORK/$state")
  ANSWER[$state]=$(cli "$WORK/$state" search --no-page $QUERY 2>&1 | sha256sum | cut -c1-16)
done
# A build of the same sources writes the same bytes, so a state is known after a build too.
fresh "$WORK/replace" "$WORK/check"
cli "$WORK/check" build > /dev/null 2>&1
[[ $(corpus_sum "$WORK/check") == "${SUM[replace]}" ]] || log "warning: a build does not write the bytes an import writes"
[[ ${ANSWER[base]} != "${ANSWER[replace]}" && ${ANSWER[base]} != "${ANSWER[append]}" ]] ||
  log "warning: the query '$QUERY' does not tell the corpora apart"
log "one import takes $((DURATION_replace / 1000)) ms (replace), $((DURATION_append / 1000)) ms (append)"

# small: a corpus of 300 pairs and 60 monolingual lines, small enough for a tmpfs of a few pages.
SMALL=$WORK/small
mkdir -p "$SMALL/BDict" "$SMALL/data"
cp "$REPO"/data/*.html "$SMALL/data/"
cli "$SMALL" import BI "$WORK/small-old.tsv" > /dev/null 2>&1 && cli "$SMALL" import MO "$WORK/mo.txt" > /dev/null 2>&1 ||
  { echo "the small corpus could not be imported" >&2; exit 1; }

# which_state ROOT: base, replace or append when the corpus and its answer are one whole state.
which_state() {
  local sum answer s
  sum=$(corpus_sum "$1")
  answer=$(cli "$1" search --no-page $QUERY 2>&1 | sha256sum | cut -c1-16)
  for s in base replace append; do
    [[ $sum == "${SUM[$s]}" && $answer == "${ANSWER[$s]}" ]] && { echo "$s"; return; }
  done
  echo "mixed (corpus $sum, answer $answer)"
}

# --- a. kill -9 during imports ---------------------------------------------------------------
if want a; then
log "a. $KILLS kills during imports"
NEXT=("search --no-page $QUERY" "words 0 5" "settings" "build" "import MO $WORK/mo.txt")
whole=0 clean=0 killed=0
RT=$WORK/kill
for ((i = 0; i < KILLS; i++)); do
  fresh "$BASE" "$RT"
  mode=replace flag=()
  ((i % 2)) && mode=append flag=(--append)
  duration=$([[ $mode == replace ]] && echo "$DURATION_replace" || echo "$DURATION_append")
  # Spread over the import and a little after it: one slot of the window each, a random moment in it.
  slots=$(((KILLS + 1) / 2))
  slot=$((i / 2))
  delay=$((duration * 115 / 100 * slot / slots + (RANDOM * 32768 + RANDOM) % (duration * 115 / 100 / slots + 1)))
  (cd "$RT" && exec "$CLI" import BI "${flag[@]}" "$WORK/new.tsv" > /dev/null 2>&1) &
  pid=$!
  sleep "$((delay / 1000000)).$(printf %06d $((delay % 1000000)))"
  during=$(leftovers "$RT")
  kill -9 $pid 2> /dev/null
  wait $pid 2> /dev/null
  status=$?
  ((status == 137)) && killed=$((killed + 1))
  next=${NEXT[$((i % ${#NEXT[@]}))]}
  # shellcheck disable=SC2086
  out=$(cli "$RT" $next 2>&1)
  left=$(leftovers "$RT")
  state=$(which_state "$RT")
  expected=$([[ $state == base || $state == "$mode" ]] && echo yes)
  if [[ -n $expected ]]; then
    whole=$((whole + 1))
  else
    fail "a. kill $i: import $mode killed after $((delay / 1000)) ms (exit $status), next '$next': corpus $state"
  fi
  if [[ -z $left ]]; then
    clean=$((clean + 1))
  else
    fail "a. kill $i: import $mode killed after $((delay / 1000)) ms (left then: ${during:-nothing}); after '$next' (${out:0:160}) still left: $left"
  fi
done
row "a. kill -9 during import: next command finds a whole corpus" "$KILLS" "$whole"
row "a. kill -9 during import: nothing left after the next command" "$KILLS" "$clean"
log "   $killed of $KILLS imports were killed, the others had finished"

# The same for builds, by scripts/kill-during-build.sh on the shipped corpus.
"$REPO/scripts/kill-during-build.sh" "$CLI" 20 > "$WORK/kill-build.txt" 2>&1
# A kill that did not hold is named on a line of its own, but for a changed index file, only counted.
bad=$(grep -oE '^kill [0-9]+' "$WORK/kill-build.txt" | sort -u | wc -l)
changed=$(tail -n 1 "$WORK/kill-build.txt" | grep -oE 'changed [0-9]+' | grep -oE '[0-9]+')
[[ -n $changed ]] || { changed=20; fail "a. scripts/kill-during-build.sh gave no summary: $(tail -n 2 "$WORK/kill-build.txt")"; }
((changed > bad)) && bad=$changed
grep -E '^kill [0-9]+' "$WORK/kill-build.txt" | head -n 10 | while read -r line; do fail "a. scripts/kill-during-build.sh: $line"; done
row "a. kill -9 during build (scripts/kill-during-build.sh)" 20 $((20 - bad))

fi

# --- b. searches during imports --------------------------------------------------------------
if want b; then
log "b. $SEARCHES searches during imports"
searches=0 answered=0 imports=0
RT=$WORK/during
while ((searches < SEARCHES)); do
  fresh "$BASE" "$RT"
  mode=replace flag=()
  ((imports % 2)) && mode=append flag=(--append)
  imports=$((imports + 1))
  (cd "$RT" && exec "$CLI" import BI "${flag[@]}" "$WORK/new.tsv" > /dev/null 2>&1) &
  pid=$!
  while kill -0 $pid 2> /dev/null && ((searches < SEARCHES)); do
    out=$(cli "$RT" search --no-page $QUERY 2>&1)
    status=$?
    answer=$(printf '%s\n' "$out" | sha256sum | cut -c1-16)
    searches=$((searches + 1))
    if [[ $answer == "${ANSWER[base]}" || $answer == "${ANSWER[$mode]}" ]]; then
      answered=$((answered + 1))
    else
      fail "b. search $searches during import $imports ($mode): exit $status, answered from neither corpus: ${out:0:200}"
    fi
  done
  wait $pid
done
row "b. searches during imports answer from one whole corpus" "$searches" "$answered"
log "   over $imports imports"

fi

# --- c. a full disk and a read-only folder ---------------------------------------------------
if want c; then
log "c. a full disk"
OPS=("build" "import BI $WORK/small-new.tsv" "import BI --append $WORK/small-new.tsv" "prepare BI" "settings FLAGPRON=FALSE")
# Each operation's result in a folder with room enough.
declare -A DONE_SUM
for op in "${OPS[@]}"; do
  fresh "$SMALL" "$WORK/roomy"
  # shellcheck disable=SC2086
  cli "$WORK/roomy" $op > /dev/null 2>&1
  DONE_SUM[$op]=$(state_sum "$WORK/roomy")
done

FULL=$WORK/full
# layout: "root" mounts the tmpfs at the runtime folder, "data" at its data/ only. fill_disk
# LAYOUT FREE_KB: a fresh copy of the small corpus with FREE_KB left free in the tmpfs.
mount_point() { [[ $1 == root ]] && echo "$FULL" || echo "$FULL/data"; }
fill_disk() {
  local mp
  mp=$(mount_point "$1")
  umount "$mp" 2> /dev/null
  rm -rf "$FULL"
  mkdir -p "$FULL"
  [[ $1 == data ]] && { cp -a "$SMALL/BDict" "$FULL/"; mkdir -p "$FULL/data"; }
  mount -t tmpfs -o size=8m tmpfs "$mp" && MOUNTS+=("$mp")
  if [[ $1 == root ]]; then cp -a "$SMALL/BDict" "$SMALL/data" "$FULL/"; else cp -a "$SMALL/data/." "$FULL/data/"; fi
  local avail
  avail=$(df -k --output=avail "$mp" | tail -n 1)
  ((avail > $2)) && dd if=/dev/zero of="$mp/filler" bs=1k count=$((avail - $2)) 2> /dev/null
}
free_disk() { umount "$(mount_point "$1")" 2> /dev/null; }

disk_cases=0 disk_held=0
for layout in root data; do
  for op in "${OPS[@]}"; do
    [[ $layout == data && $op == prepare* ]] && continue  # prepare writes BDict/ only
    # The least free space with which the operation succeeds, to 4 KB.
    lo=0 hi=4096
    fill_disk "$layout" "$hi"
    # shellcheck disable=SC2086
    cli "$FULL" $op > /dev/null 2>&1 || fail "c. disk full ($layout): '$op' fails even with $hi KB free"
    free_disk "$layout"
    while ((hi - lo > 4)); do
      mid=$(((lo + hi) / 2 / 4 * 4))
      fill_disk "$layout" "$mid"
      # shellcheck disable=SC2086
      if cli "$FULL" $op > /dev/null 2>&1; then hi=$mid; else lo=$mid; fi
      free_disk "$layout"
    done
    # Free space from none to just short of that, at up to 6 points.
    frees=$(for k in 0 1 2 3 4 5; do echo $((hi * k / 6 / 4 * 4)); done; echo $((hi - 4)))
    for free in $(echo "$frees" | sort -nu); do
      ((free < 0 || free >= hi)) && continue
      fill_disk "$layout" "$free"
      before=$(folder_sum "$FULL")
      # shellcheck disable=SC2086
      out=$(cli "$FULL" $op 2>&1)
      status=$?
      next=$(cli "$FULL" search --no-page $QUERY 2>&1)
      after=$(folder_sum "$FULL")
      after_state=$(state_sum "$FULL")
      left=$(leftovers "$FULL")
      free_disk "$layout"
      disk_cases=$((disk_cases + 1))
      named=$(printf '%s\n' "$out" | grep -oE '(BDict|data)/[A-Za-z0-9_.]+' | head -n 1)
      folder=$([[ $layout == root ]] && echo '(BDict|data)/' || echo 'data/')
      why=""
      ((status == 0)) && why+="exit 0; "
      [[ $out == *"the disk is full"* ]] || why+="does not say the disk is full; "
      [[ $out == *"Input/output error"* ]] && why+="says Input/output error; "
      [[ $named =~ ^$folder ]] || why+="names ${named:-no file} (the full folder is ${folder%/}); "
      if ((status == 3)); then
        [[ $after_state == "${DONE_SUM[$op]}" ]] || why+="exit 3 but the next command did not finish the change; "
      elif [[ $after != "$before" ]]; then
        why+="the corpus changed; "
      fi
      [[ -n $left ]] && why+="left after the next command: $left; "
      printf 'disk full, %s on a tmpfs, %d KB free: %s: exit %d: %s\n' "$layout" "$free" "$op" "$status" "$(printf '%s' "$out" | tr '\r\n' '  ' | cut -c1-300)" >> "$WORK/cases.txt"
      if [[ -z $why ]]; then
        disk_held=$((disk_held + 1))
      else
        fail "c. disk full ($layout on a tmpfs, ${free} KB free): '$op' exit $status: ${why}message: $(printf '%s' "$out" | tr '\r\n' '  ' | cut -c1-300)"
      fi
    done
  done
done
row "c. full disk: exit, message naming the full folder, corpus whole" "$disk_cases" "$disk_held"

# The bad import files of scripts/import-bad-input.sh (a FIFO, a folder, a read-only BDict/, a
# full disk, ...): each refused, naming the file, the corpus unchanged.
BUILD_DIR=$(dirname "$(dirname "$CLI")") "$REPO/scripts/import-bad-input.sh" > "$WORK/bad-input.txt" 2>&1
grep '^FAIL' "$WORK/bad-input.txt" | while read -r line; do fail "c. scripts/import-bad-input.sh: $line"; done
row "c. bad import input (scripts/import-bad-input.sh)" "$(grep -cE '^(ok|FAIL) ' "$WORK/bad-input.txt")" \
  "$(grep -c '^ok ' "$WORK/bad-input.txt")"

log "c. a read-only folder"
RO=$WORK/ro
ro_cases=0 ro_held=0
RO_OPS=("build" "import BI $WORK/small-new.tsv" "import BI --append $WORK/small-new.tsv" "import MO $WORK/mo.txt"
        "prepare BI" "prepare MO" "settings FLAGPRON=FALSE" "search $QUERY")
for layout in root data BDict; do
  for op in "${RO_OPS[@]}"; do
    # Only the operations that must write into the read-only folder.
    case $layout:$op in
      data:prepare* | BDict:build | BDict:settings* | BDict:search*) continue ;;
    esac
    fresh "$SMALL" "$RO"
    mp=$RO
    [[ $layout != root ]] && mp=$RO/$layout
    mount --bind "$mp" "$mp" && MOUNTS+=("$mp") && mount -o remount,bind,ro "$mp"
    before=$(folder_sum "$RO")
    # shellcheck disable=SC2086
    out=$(cli "$RO" $op 2>&1)
    status=$?
    after=$(folder_sum "$RO")
    umount "$mp"
    ro_cases=$((ro_cases + 1))
    printf 'read-only %s: %s: exit %d: %s\n' "$layout" "$op" "$status" "$(printf '%s' "$out" | tr '\r\n' '  ' | cut -c1-300)" >> "$WORK/cases.txt"
    want=1
    [[ $op == settings* ]] && want=2  # the settings command's code for a file it could not write
    if ((status == want)) && [[ $after == "$before" ]]; then
      ro_held=$((ro_held + 1))
    else
      fail "c. read-only $layout: '$op' exit $status (expected $want), corpus $([[ $after == "$before" ]] && echo unchanged || echo CHANGED): $(printf '%s' "$out" | tr '\r\n' '  ' | cut -c1-300)"
    fi
  done
done
row "c. read-only folder: exit 1, nothing changed" "$ro_cases" "$ro_held"

fi

# --- d. damaged or swapped key table files ---------------------------------------------------
if want d; then
log "d. damaged key table files"
KT=$WORK/keys
fresh "$WORK/replace" "$KT"
cli "$KT" settings FLAGMONO=TRUE > /dev/null
KEY_QUERIES=(weather 我 Tom ni3hao3 天氣 "I am" 喜欢)
answers() { local q; for q in "${KEY_QUERIES[@]}"; do timeout 20 "$CLI" search --no-page "$q" 2>&1; echo "exit $?"; done; }
for tag in BI MO; do cp "$KT/data/keytable.dat$tag" "$WORK/keytable.dat$tag"; done
mv "$KT/data/keytable.datBI" "$KT/data/keytable.datMO" "$WORK/"
WITHOUT=$(cd "$KT" && answers | sha256sum)
cp "$WORK/keytable.datBI" "$WORK/keytable.datMO" "$KT/data/"
WITH=$(cd "$KT" && answers | sha256sum)
[[ $WITH == "$WITHOUT" ]] || log "warning: the answers with and without the key tables differ"
key_cases=0 key_held=0
# damage TAG NAME COMMAND...: replace data/keytable.datTAG with what COMMAND makes of $target.
damage() {
  local tag=$1 name=$2 target=$KT/data/keytable.dat$1
  shift 2
  rm -rf "$target"
  cp "$WORK/keytable.dat$tag" "$target"
  "$@" "$target"
  local got
  got=$(cd "$KT" && answers | sha256sum)
  key_cases=$((key_cases + 1))
  if [[ $got == "$WITHOUT" ]]; then key_held=$((key_held + 1)); else fail "d. keytable.dat$tag $name: the answers differ from those without the file"; fi
  rm -rf "$target"
  cp "$WORK/keytable.dat$tag" "$target"
}
truncate_to() { truncate -s "$1" "$2"; }
flip() { python3 -c "import sys; p=sys.argv[2]; b=bytearray(open(p,'rb').read()); i=int(sys.argv[1]) % len(b); b[i]^=0x10; open(p,'wb').write(b)" "$1" "$2"; }
flip_middle() { flip $(($(stat -c %s "$1") / 2)) "$1"; }
flip_last() { flip $(($(stat -c %s "$1") - 1)) "$1"; }
half() { truncate -s $(($(stat -c %s "$1") / 2)) "$1"; }
shorter() { truncate -s $(($(stat -c %s "$1") - 1)) "$1"; }
longer() { printf 'x' >> "$1"; }
from_base() { cp "$BASE/data/keytable.datBI" "$1"; }
from_small() { cp "$SMALL/data/keytable.datBI" "$1"; }
from_other_tag() { [[ $1 == *BI ]] && cp "$WORK/keytable.datMO" "$1" || cp "$WORK/keytable.datBI" "$1"; }
fifo() { rm -f "$1" && mkfifo "$1"; }
folder() { rm -f "$1" && mkdir "$1"; }
to_zero() { rm -f "$1" && ln -s /dev/zero "$1"; }
for tag in BI MO; do
  for n in 0 1 8 24; do damage $tag "truncated to $n bytes" truncate_to $n; done
  damage $tag "cut in half" half
  damage $tag "one byte short" shorter
  damage $tag "one byte longer" longer
  for at in 0 5 12 40; do damage $tag "bit flip at byte $at" flip $at; done
  damage $tag "bit flip in the middle" flip_middle
  damage $tag "bit flip in the last byte" flip_last
  damage $tag "from the other corpus of the folder" from_other_tag
  damage $tag "a FIFO" fifo
done
damage BI "from the same corpus before an import" from_base
damage BI "from another runtime folder" from_small
damage BI "a folder" folder
damage BI "a link to /dev/zero" to_zero
row "d. damaged or swapped key table: answers as without it" "$key_cases" "$key_held"

fi

# --- e. hostile queries ----------------------------------------------------------------------
if want e; then
log "e. hostile queries"
Q=$WORK/queries
mkdir -p "$Q"
python3 - "$TATOEBA/sents.finalBI" "$Q" << 'EOF'
import random, sys
source, out = sys.argv[1], sys.argv[2]
lines = open(source, encoding="utf-8").read().split("\n")
chinese = [l.replace(" ", "") for l in lines[0::3] if l]
english = [w for l in lines[2::3] for w in l.split()]
pinyin = [w for l in lines[1::3] for w in l.split()]
random.seed(11)
MB = 1 << 20

def fill(pieces, size, sep):
    text, n, i = [], 0, 0
    while n < size:
        p = pieces[i % len(pieces)]
        text.append(p)
        n += len(p.encode()) + len(sep)
        i += 1
    return sep.join(text)

queries = {
    # The five of scripts/long-queries.sh, which times them by the clock on the wall only.
    "the x 30000": " ".join(["the"] * 30000),
    "。 x 30000": "。" * 30000,
    "30000 random words": " ".join(["Tom"] + [random.choice(english) for _ in range(29999)]),
    "1 MB of English": "Tom " + fill(english, MB - 4, " "),
    "1 MB of Chinese": fill(chinese, MB, ""),
    "1 MB of one character": "我" * (MB // 3),
    "1 MB of 'a'": "a" * MB,
    "1 MB of traditional characters": "天氣" * (MB // 6),
    "1 MB of toned pinyin": fill(["ni3", "hao3", "lv3xing2", "shi4"], MB, ""),
    "1 MB of pinyin syllables": fill(["ni", "hao", "shi", "ma"], MB, " "),
    "1 MB of tone marks": fill(["nǐhǎo", "lǚxíng"], MB, " "),
    "1 MB of digits": "1" * MB,
    "1 MB of markup": fill(["<script>alert(1)</script>", "&amp;", "\"'", "%s%n"], MB, ""),
    "1 MB of punctuation": fill(list("!?.,;:()[]{}'\"-"), MB, ""),
    "1 MB of spaces around a word": " " * (MB // 2) + "weather" + " " * (MB // 2),
    "1 MB of emoji": "😀" * (MB // 4),
    "1 MB of combining marks": "e" + "\u0301" * (MB // 2),
    "1 MB of right-to-left text": "\u05e9\u05dc\u05d5\u05dd " * (MB // 9),
    "1 MB of control characters": fill(["\x1b[31m", "\x07", "\t", "\r"], MB, ""),
    "1 MB of mixed scripts": fill([random.choice(english) + random.choice(chinese)[:3] for _ in range(2000)], MB, " "),
    "1 MB of invalid UTF-8": None,
    "1 MB of apostrophes and hyphens": fill(["don't", "x-ray", "'", "-"], MB, " "),
    "1 MB of English base forms": fill(["studied", "went", "wolves", "apples"], MB, " "),
    "1 MB of full-width letters": "ｗｅａｔｈｅｒ" * (MB // 21),
}
for i, (name, text) in enumerate(queries.items()):
    with open(f"{out}/{i:02d}", "wb") as f:
        f.write(bytes([0xff, 0xfe, 0xc3, 0x28, 0xe2, 0x82]) * (MB // 6) if text is None else text.encode("utf-8"))
    with open(f"{out}/{i:02d}.name", "w", encoding="utf-8") as f:
        f.write(name)
EOF
# The query goes as arguments of at most about 60 KB each, cut at spaces where there are some (an
# argument may not exceed 128 KB).
split_args() {
  python3 - "$1" << 'EOF'
import sys
data = open(sys.argv[1], "rb").read()
chunks, start = [], 0
while start < len(data):
    end = min(start + 60000, len(data))
    if end < len(data):
        cut = data.rfind(b" ", start, end)
        if cut > start: end = cut
        else:
            while end > start and (data[end] & 0xC0) == 0x80: end -= 1
    chunks.append(data[start:end])
    start = end
sys.stdout.buffer.write(b"\0".join(c for c in chunks if c.strip(b" ")))
EOF
}
LQ=$WORK/long
fresh "$WORK/replace" "$LQ"
cp "$TATOEBA"/sents.finalMO "$TATOEBA"/word.dictMO "$LQ/BDict/"
cli "$LQ" settings FLAGMONO=TRUE > /dev/null
cli "$LQ" build > /dev/null 2>&1
q_cases=0 q_held=0
for f in "$Q"/??; do
  mapfile -d '' -t args < <(split_args "$f")
  best="" best_wall=""
  for r in 1 2 3; do
    # CPU time (user + system) decides, since other work on the machine stretches the wall clock.
    (cd "$LQ" && timeout 60 /usr/bin/time -f '%e %U %S' -o "$WORK/q.time" "$CLI" search "${args[@]}" > /dev/null 2> "$WORK/q.err")
    status=$(grep -oE 'exited with non-zero status [0-9]+' "$WORK/q.time" | grep -oE '[0-9]+$' || echo 0)
    read -r wall user system < <(tail -n 1 "$WORK/q.time")
    t=$(echo "$user $system" | awk '{ printf "%d", ($1 + $2) * 1000 }')
    w=$(echo "$wall" | awk '{ printf "%d", $1 * 1000 }')
    [[ -z $best || $t -lt $best ]] && best=$t best_wall=$w
    ((t > 5000)) && break  # slow enough that one run tells
  done
  q_cases=$((q_cases + 1))
  if ((best < 400 && (status == 0 || status == 1))); then
    q_held=$((q_held + 1))
  else
    fail "e. query '$(cat "$f.name")' ($(stat -c %s "$f") bytes): best of 3 runs $best ms CPU ($best_wall ms wall), exit $status $(head -c 200 "$WORK/q.err" | tr '\n' ' ')"
  fi
  printf '   %-34s %8d bytes %6d ms CPU %6d ms wall, exit %d\n' "$(cat "$f.name")" "$(stat -c %s "$f")" "$best" "$best_wall" "$status" >> "$WORK/queries.txt"
done
row "e. hostile queries up to 1 MB: answered in under 0.4 s of CPU" "$q_cases" "$q_held"

fi

# --- f. the fuzzers --------------------------------------------------------------------------
if ! want f; then
  :
elif [[ -n ${FUZZ_LOG:-} ]]; then
  log "f. the fuzzers: reading $FUZZ_LOG (waiting up to 40 min for its run to end)"
  for ((w = 0; w < 240; w++)); do grep -qE '^(No crash\.|Crashes in)' "$FUZZ_LOG" && break; sleep 10; done
  cp "$FUZZ_LOG" "$WORK/fuzz.log"
elif ((FUZZ_SECONDS > 0)); then
  log "f. the fuzzers, $FUZZ_SECONDS s each"
  "$REPO/scripts/fuzz.sh" "$FUZZ_SECONDS" > "$WORK/fuzz.log" 2>&1
fi
if [[ -f $WORK/fuzz.log ]]; then
  fuzz_cases=$(grep -cE '^[a-z_]+_fuzzer +[0-9?]+ +(ok|CRASH)' "$WORK/fuzz.log")
  fuzz_held=$(grep -cE '^[a-z_]+_fuzzer +[0-9?]+ +ok' "$WORK/fuzz.log")
  grep -E '^[a-z_]+_fuzzer +[0-9?]+ +CRASH|^regressions .*FAILED' "$WORK/fuzz.log" | while read -r line; do fail "f. $line"; done
  seconds=$(grep -o 'max_total_time=[0-9]*' "$WORK"/fuzz.log | head -n 1)
  row "f. fuzzers, ${FUZZ_SECONDS}s each: no crash" "$fuzz_cases" "$fuzz_held"
fi

# --- g. the faults of the last audit, one by one ---------------------------------------------
if want g; then
log "g. the faults of the last audit"
g_case() { # g_case WHAT HELD(0/1) DETAIL
  echo "$2 $1" >> "$WORK/g.list"
  (($2)) || fail "g. $1: $3"
}
: > "$WORK/g.list"
RT=$WORK/g
# 1. A killed import's scratch folder goes at the next command, whichever it is.
for next in "search --no-page $QUERY" "build" "words 0 5" "settings" "import MO $WORK/mo.txt" "prepare MO"; do
  fresh "$BASE" "$RT"
  (cd "$RT" && exec "$CLI" import BI "$WORK/new.tsv" > /dev/null 2>&1) &
  pid=$!
  for ((w = 0; w < 400; w++)); do [[ -e $RT/data/import.tmpBI ]] && break; sleep 0.01; done
  sleep 0.2
  kill -9 $pid 2> /dev/null
  wait $pid 2> /dev/null
  had=$(leftovers "$RT")
  # shellcheck disable=SC2086
  cli "$RT" $next > /dev/null 2>&1
  left=$(leftovers "$RT")
  g_case "1. scratch folder of a killed import removed by '${next%% /*}'" "$([[ -z $left ]] && echo 1 || echo 0)" \
    "left before: ${had:-nothing}; after: $left"
done
# 3. options.json nested 60,000 deep: read, refused, never saved recursively.
mkdir -p "$WORK/probe"
cat > "$WORK/probe/probe.cpp" << 'EOF'
// Saves one learner option in the runtime folder argv[1]; prints the status.
#include <iostream>
#include "settings/learner_options.h"
int main(int, char** argv) {
  const tamrel::Status s = tamrel::UpdateLearnerOptions(argv[1], [](tamrel::LearnerOptions& o) { o.toneColours = true; });
  std::cout << (s.ok() ? "saved" : s.ToString()) << '\n';
  return s.ok() ? 0 : 1;
}
EOF
fresh "$WORK/replace" "$RT"
python3 -c "print('[' * 60000 + ']' * 60000)" > "$RT/data/options.json"
libs=$(cd "$(dirname "$CLI")/.." && for l in settings files text; do ls "$PWD"/libtamrel_$l.a 2> /dev/null; done)
if g++ -std=c++20 -O1 -I"$REPO" "$WORK/probe/probe.cpp" $libs $(pkg-config --libs icu-uc icu-i18n 2> /dev/null) -o "$WORK/probe/probe" 2> "$WORK/probe/cc.log"; then
  out=$("$WORK/probe/probe" "$RT" 2>&1)
  status=$?
  g_case "3. options.json nested 60,000 deep: an option save does not crash" "$([[ $status -lt 128 ]] && echo 1 || echo 0)" "exit $status: $out"
  out=$(cd "$RT" && timeout 20 "$CLI" search --no-page $QUERY 2>&1 | head -c 300)
  status=${PIPESTATUS[0]}
  g_case "3. options.json nested 60,000 deep: search does not crash" "$([[ $status == 0 ]] && echo 1 || echo 0)" "exit $status: $out"
else
  fail "g. 3. the probe that saves an option could not be compiled: $(head -c 300 "$WORK/probe/cc.log")"
  echo "0 3. options.json nested 60,000 deep (probe not compiled)" >> "$WORK/g.list"
fi
# 4. Files that are not files never make a command wait.
fresh "$WORK/replace" "$RT"
rm -f "$RT/data/keytable.datBI" && mkfifo "$RT/data/keytable.datBI"
out=$(cd "$RT" && timeout 20 "$CLI" search --no-page $QUERY 2>&1)
status=$?
g_case "4. a FIFO as data/keytable.datBI: search answers" "$([[ $status == 0 ]] && echo 1 || echo 0)" "exit $status (124: hung): ${out:0:200}"
fresh "$WORK/replace" "$RT"
mkfifo "$RT/data/options.json"
out=$(cd "$RT" && timeout 20 "$CLI" search --no-page $QUERY 2>&1)
status=$?
g_case "4. a FIFO as data/options.json: search answers" "$([[ $status == 0 ]] && echo 1 || echo 0)" "exit $status (124: hung): ${out:0:200}"
if [[ -x $WORK/probe/probe ]]; then
  out=$(timeout 20 "$WORK/probe/probe" "$RT" 2>&1)
  status=$?
  g_case "4. a FIFO as data/options.json: an option save refuses it" "$([[ $status == 1 ]] && echo 1 || echo 0)" "exit $status (124: hung): $out"
fi
fresh "$WORK/replace" "$RT"
mkfifo "$WORK/pipe.tsv"
before=$(folder_sum "$RT")
out=$(cd "$RT" && timeout 20 "$CLI" import BI "$WORK/pipe.tsv" 2>&1)
status=$?
g_case "4. a FIFO without a writer as the import file: refused" "$([[ $status == 1 && $(folder_sum "$RT") == "$before" ]] && echo 1 || echo 0)" "exit $status (124: hung): ${out:0:200}"
# 5. Output errors and raw control characters.
fresh "$WORK/replace" "$RT"
(cd "$RT" && "$CLI" search --tsv $QUERY > /dev/full 2> "$WORK/err")
status=$?
g_case "5. search --tsv $QUERY > /dev/full exits non-zero" "$([[ $status != 0 ]] && echo 1 || echo 0)" "exit $status: $(head -c 200 "$WORK/err")"
(cd "$RT" && "$CLI" search $QUERY > /dev/full 2> "$WORK/err")
status=$?
g_case "5. search $QUERY > /dev/full exits non-zero" "$([[ $status != 0 ]] && echo 1 || echo 0)" "exit $status: $(head -c 200 "$WORK/err")"
printf 'The bell\a rings \033[31mred\033[0m weather.\t天气铃响了。\n' > "$WORK/control.tsv"
cli "$RT" import BI --append "$WORK/control.tsv" > /dev/null 2>&1
raw=$(cli "$RT" search weather 2>&1 | tr -d '\n' | grep -c $'[\a\033]')
g_case "5. ESC and BEL of an imported sentence not printed raw" "$([[ $raw == 0 ]] && echo 1 || echo 0)" "the plain search printed them raw"
# 6. Configuration is not read from the runtime folder; the import fuzzer runs from any folder.
fresh "$WORK/replace" "$RT"
want=$(cli "$RT" search --no-page 天氣 2>&1)
for where in "$RT" "$RT/data"; do echo '{"broken": ' > "$where/t2s.json"; done
got=$(cli "$RT" search --no-page 天氣 2>&1)
g_case "6. a broken t2s.json in the runtime folder: 天氣 answers as before" "$([[ $got == "$want" ]] && echo 1 || echo 0)" "answers: ${got:0:200}"
out=$(cli "$RT" import BI --append "$WORK/small-new.tsv" 2>&1)
status=$?
g_case "6. a broken t2s.json in the runtime folder: an import works" "$([[ $status == 0 ]] && echo 1 || echo 0)" "exit $status: ${out:0:200}"
fuzzer=$REPO/build-fuzz/fuzz/import_reader_fuzzer
if [[ -x $fuzzer ]]; then
  mkdir -p "$WORK/elsewhere"
  head -n 40 "$PAIRS" > "$WORK/elsewhere/seed"
  out=$(cd "$WORK/elsewhere" && timeout 120 "$fuzzer" -runs=500 seed 2>&1 | tail -n 3)
  status=$?
  g_case "6. import_reader_fuzzer runs from another folder" "$([[ $status == 0 ]] && echo 1 || echo 0)" "exit $status: $out"
fi
# 7. Peak memory of importing a million tiny pairs (the README's figure is the bound).
if [[ ${MILLION:-0} == 1 ]]; then
  fresh "$BASE" "$RT"
  python3 -c "
import random
random.seed(3)
han = [chr(c) for c in range(0x4e00, 0x4e00 + 3000)]
with open('$WORK/million.tsv', 'w', encoding='utf-8') as f:
    for i in range(1000000):
        f.write('Word %d.\t%s。\n' % (i, ''.join(random.choice(han) for _ in range(3))))"
  /usr/bin/time -f '%M' -o "$WORK/peak" bash -c "cd '$RT' && '$CLI' import BI '$WORK/million.tsv' > /dev/null 2>&1"
  peak=$(($(tail -n 1 "$WORK/peak") / 1024))
  g_case "7. a million tiny pairs imported under 500 MB (peak $peak MB)" "$([[ $peak -lt 500 ]] && echo 1 || echo 0)" "peak $peak MB"
fi
row "g. the faults of the last audit, rechecked" "$(wc -l < "$WORK/g.list")" "$(grep -c '^1 ' "$WORK/g.list")"

# 2. A failure after the commit record tells that the change took effect. tamrel-cli built with
# the file fault seam armed from its environment (as the fault suite of the tests builds it)
# fails the Nth file operation of an import with ENOSPC, for every N from the last operation back
# to the first write of the commit record (the suite of the tests takes every N); after each run
# and one search by tamrel-cli: exit 1 ("not changed") leaves the folder as it was, exit 0 or 3
# leaves it as a whole import does.
log "g. 2. an import failing at each of its file operations from the commit record on"
FAULTS=$WORK/faults
mkdir -p "$FAULTS"
cp "$(dirname "$CLI")/lexicon.tsv" "$FAULTS/"
if g++ -std=c++20 -O1 -I"$REPO" "$REPO/cli/main.cpp" "$REPO/tests/cli/file_faults_from_environment.cpp" \
     -Wl,--start-group "$(dirname "$CLI")/libtamrel_cli_commands.a" "$(dirname "$CLI")"/../libtamrel_*.a -Wl,--end-group \
     $(pkg-config --libs opencc icu-uc) -pthread -o "$FAULTS/tamrel-cli-faults" 2> "$FAULTS/cc.log"; then
  f_cases=0 f_held=0
  for mode in replace append; do
    flag=()
    [[ $mode == append ]] && flag=(--append)
    fresh "$SMALL" "$RT"
    cli "$RT" import BI "${flag[@]}" "$WORK/small-new.tsv" > /dev/null 2>&1
    cli "$RT" search --no-page $QUERY > /dev/null 2>&1
    done_sum=$(state_sum "$RT")
    fresh "$SMALL" "$RT"
    rm -f "$FAULTS/report"
    (cd "$RT" && TAMREL_FAULT_AT=1000000000 TAMREL_FAULT_REPORT="$FAULTS/report" "$FAULTS/tamrel-cli-faults" import BI "${flag[@]}" "$WORK/small-new.tsv" > /dev/null 2>&1)
    count=$(head -n 1 "$FAULTS/report" 2> /dev/null)
    [[ $count =~ ^[0-9]+$ ]] || { fail "g. 2. import $mode: tamrel-cli-faults counted no operations"; continue; }
    for ((n = count; n >= 1; n--)); do
      fresh "$SMALL" "$RT"
      before=$(folder_sum "$RT")
      rm -f "$FAULTS/report"
      out=$(cd "$RT" && TAMREL_FAULT_AT=$n TAMREL_FAULT_REPORT="$FAULTS/report" "$FAULTS/tamrel-cli-faults" import BI "${flag[@]}" "$WORK/small-new.tsv" 2>&1)
      status=$?
      failed=$(sed -n 2p "$FAULTS/report" 2> /dev/null)
      [[ -z $failed ]] && break
      cli "$RT" search --no-page $QUERY > /dev/null 2>&1
      after=$(folder_sum "$RT")
      after_state=$(state_sum "$RT")
      left=$(leftovers "$RT")
      why=""
      case $status in
        1) [[ $after == "$before" ]] || why+="exit 1 (not changed) but the folder changed; " ;;
        0 | 3) [[ $after_state == "$done_sum" ]] || why+="exit $status but the next command did not find the whole import; " ;;
        *) why+="exit $status; " ;;
      esac
      ((status != 0)) && [[ $out != *"the disk is full"* ]] && why+="does not say the disk is full; "
      [[ -n $left ]] && why+="left after the next command: $left; "
      f_cases=$((f_cases + 1))
      if [[ -z $why ]]; then
        f_held=$((f_held + 1))
      else
        fail "g. 2. import $mode, file operation $n ($failed) fails: ${why}message: $(printf '%s' "$out" | tr '\r\n' '  ' | cut -c1-300)"
      fi
      printf 'fault, import %s, operation %d (%s): exit %d: %s\n' "$mode" "$n" "$failed" "$status" "$(printf '%s' "$out" | tr '\r\n' '  ' | cut -c1-200)" >> "$WORK/cases.txt"
      # The creation of the commit record is the last case: before it, nothing has taken effect.
      [[ $failed == "open "*commit.dat* ]] && break
      ((count - n >= 80)) && { fail "g. 2. import $mode: no creation of a commit record among the last 80 operations"; break; }
    done
  done
  row "g. 2. import failing from the commit record on: truth told" "$f_cases" "$f_held"
else
  fail "g. 2. tamrel-cli with the fault seam could not be built: $(head -c 300 "$FAULTS/cc.log")"
fi
fi

# --- The table -------------------------------------------------------------------------------
echo
printf '%-62s %6s %6s %9s\n' what cases held "not held"
cat "$TABLE"
if [[ -f $WORK/g.list ]]; then
  echo
  echo "Faults of the last audit:"
  sed 's/^1 /  held      /; s/^0 /  NOT HELD  /' "$WORK/g.list"
fi
if [[ -f $WORK/queries.txt ]]; then
  echo
  echo "Hostile queries (the run of 3 with the least CPU time):"
  cat "$WORK/queries.txt"
fi
if [[ -s $DETAILS ]]; then
  echo
  echo "Cases that did not hold:"
  cat "$DETAILS"
fi
[[ -n ${CASES_LOG:-} && -f $WORK/cases.txt ]] && cp "$WORK/cases.txt" "$CASES_LOG"
echo
echo "Ran $(($(date +%s) - START)) s."
! [[ -s $DETAILS ]]
