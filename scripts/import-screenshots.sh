#!/usr/bin/env bash
# Screenshots of File > Import Sentences...: a copy of the shipped corpus in a temporary runtime
# folder, the shared Tatoeba pairs (or FILE) imported into its bilingual corpus through the dialog,
# then a search for WORD; PNGs go to docs/screenshots/ (or OUT).
#
#   scripts/import-screenshots.sh [FILE [WORD]]      BUILD_DIR, OUT as for scripts/screenshots.sh
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
file="$(realpath "${1:-${TAMREL_SHARED:-$root/../shared}/corpora/tatoeba/pairs.tsv}")"
word="${2:-umbrella}"
out="$(mkdir -p "${OUT:-$root/docs/screenshots}" && cd "${OUT:-$root/docs/screenshots}" && pwd)"
build="${BUILD_DIR:-$root/build-screenshots}"
if [[ ! -f "$build/CMakeCache.txt" ]]; then
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DTAMREL_BUILD_TESTS=ON > /dev/null
fi
cmake --build "$build" -j2 --target tamrel-cli tamrel-import-screenshots

runtime="$(mktemp -d)"
trap 'rm -rf "$runtime"' EXIT
mkdir -p "$runtime/BDict" "$runtime/data"
cp "$root"/BDict/word.dict* "$root"/BDict/sents.final* "$runtime/BDict/"
cp "$root"/data/*.html "$runtime/data/" 2> /dev/null || true
cd "$runtime"
"$build/cli/tamrel-cli" build > /dev/null
export QTWEBENGINE_DISABLE_SANDBOX=1
export QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:---no-sandbox}"
xvfb-run -a -s "-screen 0 1280x1024x24" "$build/tamrel-import-screenshots" "$out" "$file" "$word"
