#!/usr/bin/env bash
# Runs `tamrel-cli import` on bad input against a built corpus and checks each time that it exits
# non-zero with a message naming the file, and that the corpus (sentence file, dictionary, index)
# is byte for byte what it was: an empty file, a binary file, a folder, a FIFO without a writer
# (under a timeout, so that an import that waits for one fails the check), a file of another language
# pair, a read-only BDict/ (run as the user nobody when this runs as root) and a full disk (a tiny
# tmpfs, when this process may mount one; otherwise said and skipped).
#
#   scripts/import-bad-input.sh            BUILD_DIR=build-test by default
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$repo/build-test}"
cli="$build/cli/tamrel-cli"
[[ -x "$cli" ]] || { echo "build tamrel-cli first ($cli)" >&2; exit 2; }
work=$(mktemp -d)
mounted=""
cleanup() {
  [[ -n "$mounted" ]] && umount "$mounted" 2> /dev/null
  chmod -R u+w "$work" 2> /dev/null
  rm -rf "$work"
}
trap cleanup EXIT
chmod 755 "$work"
failures=0

# A runtime folder $1 holding a small built bilingual corpus.
make_corpus() {
  mkdir -p "$1/BDict" "$1/data"
  printf 'Hi.\t嗨。\nRun!\t跑！\n' > "$work/good.tsv"
  (cd "$1" && "$cli" import BI "$work/good.tsv" > /dev/null)
}
snapshot() { (cd "$1" && sha256sum BDict/sents.finalBI BDict/word.dictBI data/index*.datBI && ls -A BDict data); }

# check NAME ROOT [RUNNER...] -- FILE...: the import must fail, name the file, change nothing.
check() {
  local name=$1 root=$2
  shift 2
  local runner=()
  while [[ "$1" != "--" ]]; do runner+=("$1"); shift; done
  shift
  local before status=0
  before=$(snapshot "$root")
  (cd "$root" && "${runner[@]}" "$cli" import BI "$@") > "$work/out" 2>&1 || status=$?
  local message
  message=$(head -n 1 "$work/out")
  if ((status == 0)); then
    echo "FAIL $name: exit 0"; failures=$((failures + 1))
  elif [[ "$(snapshot "$root")" != "$before" ]]; then
    echo "FAIL $name: the corpus changed"; failures=$((failures + 1))
  else
    echo "ok   $name (exit $status): $message"
  fi
}

root="$work/rt"
make_corpus "$root"
: > "$work/empty.tsv"
head -c 4096 "$cli" > "$work/binary.bin"
mkdir "$work/folder.tsv"
mkfifo "$work/fifo.tsv"
printf 'Hello\tBonjour\nYes\tOui\n' > "$work/french.tsv"
printf '1\tcmn\t我们。\n' > "$work/sentences.csv"
printf 'Fine.\t好。\n' > "$work/fine.tsv"
check "empty file" "$root" -- "$work/empty.tsv"
check "binary file" "$root" -- "$work/binary.bin"
check "folder" "$root" -- "$work/folder.tsv"
check "FIFO without a writer" "$root" timeout 20 -- "$work/fifo.tsv"
check "missing file" "$root" -- "$work/missing.tsv"
check "no Chinese" "$root" -- "$work/french.tsv"
check "sentences without links" "$root" -- "$work/sentences.csv"
check "one bad file of two" "$root" -- "$work/fine.tsv" "$work/empty.tsv"

chmod a-w "$root/BDict"
if [[ $(id -u) -eq 0 ]]; then
  if command -v setpriv > /dev/null; then
    chmod -R a+rX "$work" && chmod a+w "$root/data" "$root/data"/* && chmod a+x "$build" "$build/cli" 2> /dev/null || true
    check "read-only BDict/ (as nobody)" "$root" setpriv --reuid=65534 --regid=65534 --clear-groups -- "$work/fine.tsv"
  else
    echo "skip read-only BDict/: root ignores permissions and setpriv is missing"
  fi
else
  check "read-only BDict/" "$root" -- "$work/fine.tsv"
fi
chmod u+w "$root/BDict"

full="$work/full"
mkdir -p "$full"
if mount -t tmpfs -o size=160k tmpfs "$full" 2> /dev/null; then
  mounted="$full"
  make_corpus "$full"
  # Fill the disk but for a little, so that the import's own files cannot fit.
  dd if=/dev/zero of="$full/filler" bs=4k count=1000 2> /dev/null || true
  rm -f "$full/filler" && dd if=/dev/zero of="$full/filler" bs=1k count=$(($(df -k --output=avail "$full" | tail -n 1) - 8)) 2> /dev/null || true
  awk '{ for (i = 0; i < 200; i++) print "Sentence " i " " $0 "\t句子" i "。" }' "$work/good.tsv" > "$work/bigger.tsv"
  check "full disk" "$full" -- "$work/bigger.tsv"
else
  echo "skip full disk: a tmpfs cannot be mounted here"
fi

if ((failures)); then
  echo "$failures failed"
  exit 1
fi
echo "All refused, every corpus unchanged."
