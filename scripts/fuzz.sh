#!/usr/bin/env bash
# Builds the fuzzers with clang (ASan + UBSan, in their own build folder), replays the saved
# crash inputs of fuzz/regressions/, prepares seed folders, then runs every fuzzer for a while.
# Prints the executions per fuzzer; exits non-zero on any crash, naming the input that caused it.
#
#   scripts/fuzz.sh [SECONDS_PER_TARGET] [--build-dir DIR]
#
# SECONDS_PER_TARGET defaults to 7 (about a minute for all targets together). Seeds come from the
# committed fuzz/seeds/, from a small index that tamrel-cli builds from the first groups of a
# sentence file, and from pieces of the shared corpus ($TAMREL_SHARED, default ../shared beside the repository)
# when it is there, else of the shipped BDict/. The working corpus of each fuzzer is kept in the
# build folder, so that a later run goes on from the coverage an earlier one reached.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD

seconds=7
build=build-fuzz
while (($#)); do
  case "$1" in
    --build-dir)
      build=$2
      shift 2
      ;;
    --build-dir=*)
      build=${1#*=}
      shift
      ;;
    -h | --help)
      sed -n '2,13p' "$0"
      exit 0
      ;;
    *)
      [[ "$1" =~ ^[0-9]+$ ]] || { echo "usage: scripts/fuzz.sh [SECONDS_PER_TARGET] [--build-dir DIR]" >&2; exit 2; }
      seconds=$1
      shift
      ;;
  esac
done
[[ "$build" = /* ]] || build="$repo/$build"

targets=(word_table_fuzzer key_table_file_fuzzer level_file_fuzzer sentence_table_fuzzer sentence_records_fuzzer postings_fuzzer build_dictionary_fuzzer
         build_sentences_fuzzer prepare_fuzzer text_file_fuzzer config_fuzzer search_query_fuzzer segmenter_fuzzer
         pinyin_fuzzer import_reader_fuzzer sentence_view_fuzzer dictionary_fuzzer align_fuzzer)

scripts/install-deps.sh --fuzz
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
  -DTAMREL_BUILD_FUZZERS=ON -DTAMREL_BUILD_TESTS=OFF -DTAMREL_BUILD_GUI=OFF > /dev/null
cmake --build "$build" -j"$(nproc)" --target fuzzers tamrel-cli

bin="$build/fuzz"
seeds="$build/fuzz-seeds"
corpus="$build/fuzz-corpus"
crashes="$build/fuzz-crashes"
logs="$build/fuzz-logs"
mkdir -p "$corpus" "$crashes" "$logs"
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
failed=()

# 1. Saved crash inputs first: each must now run clean.
for t in "${targets[@]}"; do
  dir="$repo/fuzz/regressions/$t"
  [[ -d "$dir" ]] || continue
  mapfile -t inputs < <(find "$dir" -type f ! -name '.*' | sort)
  ((${#inputs[@]})) || continue
  if "$bin/$t" "${inputs[@]}" > "$logs/$t.regressions.log" 2>&1; then
    echo "regressions $t: ${#inputs[@]} inputs pass"
  else
    echo "regressions $t: FAILED, see $logs/$t.regressions.log"
    tail -n 30 "$logs/$t.regressions.log"
    failed+=("$t (regression)")
  fi
done

# 2. Seeds, made afresh at every run (never committed).
rm -rf "$seeds"
for t in "${targets[@]}"; do mkdir -p "$seeds/$t"; done
source_dir="${TAMREL_SHARED:-$repo/../shared}/corpora/tatoeba/BDict"
[[ -f "$source_dir/sents.finalBI" ]] || source_dir="$repo/BDict"
small=$(mktemp -d)
trap 'rm -rf "$small"' EXIT
mkdir -p "$small/BDict" "$small/data"
# A small corpus: the first 12 groups of each sentence file, prepared and built by the CLI.
for tag in BI MO; do head -n 36 "$source_dir/sents.final$tag" > "$small/BDict/sents.final$tag"; done
if (cd "$small" && "$build/cli/tamrel-cli" prepare BI && "$build/cli/tamrel-cli" prepare MO &&
    "$build/cli/tamrel-cli" build && "$build/cli/tamrel-cli" settings FLAGPRON=FALSE) > "$logs/seed-corpus.log" 2>&1; then
  for tag in BI MO; do
    cp "$small/data/index1.dat$tag" "$seeds/word_table_fuzzer/index1-$tag"
    cp "$small/data/index11.dat$tag" "$seeds/postings_fuzzer/index11-$tag"
    cp "$small/data/index2.dat$tag" "$seeds/sentence_table_fuzzer/index2-$tag"
    cp "$small/data/index21.dat$tag" "$seeds/sentence_records_fuzzer/index21-$tag"
    cp "$small/BDict/word.dict$tag" "$seeds/build_dictionary_fuzzer/small-$tag"
    # The first byte chooses whether the fuzzer makes the header match (odd) or not (even).
    for mode in 0 1; do
      { printf "\\$mode"; cat "$small/data/keytable.dat$tag"; } > "$seeds/key_table_file_fuzzer/keys$mode-$tag"
    done
  done
  cp "$small/data/config.data" "$seeds/config_fuzzer/written"
  # A search at a level writes the level files.
  mkdir -p "$seeds/level_file_fuzzer"
  if (cd "$small" && "$build/cli/tamrel-cli" search --no-page --level 3 a) >> "$logs/seed-corpus.log" 2>&1; then
    for tag in BI MO; do
      for mode in 0 1; do
        [[ -f $small/data/levels.dat$tag ]] &&
          { printf "\\$mode"; cat "$small/data/levels.dat$tag"; } > "$seeds/level_file_fuzzer/levels$mode-$tag"
      done
    done
  fi
else
  echo "warning: the seed corpus could not be built (see $logs/seed-corpus.log); going on without it"
fi
# Pieces of the source files: groups from a few places, short dictionary lines, lines as text.
for start in 1 301 1501 6001; do
  sed -n "${start},$((start + 29))p" "$source_dir/sents.finalBI" > "$seeds/prepare_fuzzer/bi-$start"
  sed -n "${start},$((start + 11))p" "$source_dir/sents.finalMO" > "$seeds/prepare_fuzzer/mo-$start"
  cp "$seeds/prepare_fuzzer/bi-$start" "$seeds/build_sentences_fuzzer/bi-$start"
done
for start in 1 500 2000; do
  awk 'length($0) < 200' "$source_dir/word.dictBI" | sed -n "${start},$((start + 19))p" \
    > "$seeds/build_dictionary_fuzzer/lines-$start"
done
head -c 3000 "$source_dir/word.dictBI" > "$seeds/build_dictionary_fuzzer/head-cut"
{ printf '\0'; sed -n '1,9p' "$source_dir/sents.finalBI"; } > "$seeds/text_file_fuzzer/utf8"
sed -n '1,3p' "$source_dir/sents.finalBI" > "$seeds/sentence_view_fuzzer/group"
# A pair as tamrel-cli align reads it: the Chinese words, "|||", the English line.
for start in 1 301 1501; do
  { sed -n "${start}p" "$source_dir/sents.finalBI"; printf ' ||| '; sed -n "$((start + 2))p" "$source_dir/sents.finalBI"; } \
    > "$seeds/align_fuzzer/pair-$start"
done
{ printf '\xe7\xff\xfe'; sed -n '1,9p' "$source_dir/sents.finalBI" | iconv -f UTF-8 -t UTF-16LE; } \
  > "$seeds/text_file_fuzzer/utf16-boundary"
{ printf '\0'; sed -n '1,9p' "$source_dir/sents.finalBI" | sed 's/$/\r/'; } > "$seeds/text_file_fuzzer/crlf"
# The first raw pairs of the shared Tatoeba download, as an import reads them.
pairs="${TAMREL_SHARED:-$repo/../shared}/corpora/tatoeba/pairs.tsv"
[[ -f "$pairs" ]] && head -n 40 "$pairs" > "$seeds/import_reader_fuzzer/tatoeba-pairs"
n=0
while IFS= read -r line; do
  n=$((n + 1))
  if ((n % 3 == 0)); then
    printf '%s' "$line" | cut -d' ' -f1-4 > "$seeds/search_query_fuzzer/en-$n"
  elif ((n % 3 == 1)); then
    printf '%s' "$line" | tr -d ' ' | head -c 24 > "$seeds/search_query_fuzzer/zh-$n"
  fi
done < <(head -n 30 "$source_dir/sents.finalBI")
# Chinese lines of the raw pairs (traditional ones too) as UTF-16LE text for the segmenter, and
# behind a zero first byte (no lexicon of their own) for pinyin.
pairs="$source_dir/../pairs.tsv"
if [[ -f "$pairs" ]]; then
  for start in 1 5000 20000; do
    sed -n "${start},$((start + 9))p" "$pairs" | cut -f2 | iconv -f UTF-8 -t UTF-16LE > "$seeds/segmenter_fuzzer/pairs-$start"
    { printf '\0'; cat "$seeds/segmenter_fuzzer/pairs-$start"; } > "$seeds/pinyin_fuzzer/pairs-$start"
  done
fi

# 3. The runs.
printf '\n%-26s %12s  %s\n' "fuzzer" "executions" "result"
for t in "${targets[@]}"; do
  mkdir -p "$corpus/$t"
  committed="$repo/fuzz/seeds/$t"
  regressions="$repo/fuzz/regressions/$t"
  dirs=("$corpus/$t" "$seeds/$t")
  [[ -d "$committed" ]] && dirs+=("$committed")
  [[ -d "$regressions" ]] && dirs+=("$regressions")
  status=0
  "$bin/$t" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 -artifact_prefix="$crashes/$t-" \
    "${dirs[@]}" > "$logs/$t.log" 2>&1 || status=$?
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$logs/$t.log" | grep -o '[0-9]*$' | tail -n 1)
  if ((status == 0)); then
    printf '%-26s %12s  ok\n' "$t" "${runs:-?}"
  else
    input=$(grep -o 'Test unit written to .*' "$logs/$t.log" | sed 's/Test unit written to //' | tail -n 1)
    printf '%-26s %12s  CRASH (exit %d): %s\n' "$t" "${runs:-?}" "$status" "${input:-no input saved}"
    grep -m 3 -E '^(==[0-9]+==ERROR|SUMMARY|.*runtime error|.*property broken)' "$logs/$t.log" || true
    echo "  log: $logs/$t.log"
    echo "  replay: $bin/$t ${input:-INPUT}"
    failed+=("$t")
  fi
done

if ((${#failed[@]})); then
  echo
  echo "Crashes in: ${failed[*]}"
  echo "Keep each crash input as a regression once fixed: copy it into fuzz/regressions/<fuzzer>/."
  exit 1
fi
echo
echo "No crash."
