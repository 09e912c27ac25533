#!/usr/bin/env bash
# Prepares the benchmark corpora, builds the benchmarks (Release) in a build folder of their own,
# runs them one after the other and prints the comparison table (markdown) on stdout.
#   bench/run.sh [Google Benchmark flags, e.g. --benchmark_filter=query/]
# TAMREL_BENCH_BUILD: build folder (default <repository>/../build-bench); TAMREL_BENCH_DATA and
# TAMREL_BENCH_CORPORA: see bench/README.md. The raw results stay in the build folder as
# bench-results.json and the table as bench-summary.md.
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
build="${TAMREL_BENCH_BUILD:-$repo/../build-bench}"
export TAMREL_BENCH_DATA="${TAMREL_BENCH_DATA:-$repo/../cache/tamrel-bench}"

"$repo/scripts/install-deps.sh" --bench
"$repo/bench/prepare_data.sh" >&2
cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=Release -DTAMREL_BUILD_BENCH=ON \
  -DTAMREL_BUILD_TESTS=OFF -DTAMREL_BUILD_GUI=OFF > /dev/null
cmake --build "$build" -j2 --target tamrel_bench >&2

results="$build/bench-results.json"
"$build/bench/tamrel_bench" --benchmark_out="$results" --benchmark_out_format=json "$@" >&2
python3 "$repo/bench/summarize.py" "$results" | tee "$build/bench-summary.md"
