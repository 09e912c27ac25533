#!/usr/bin/env bash
# Opens the explorer on a corpus under a virtual X display, searches an English and a Chinese
# word, opens the Word Test, and saves PNGs to docs/screenshots/.
#
#   scripts/screenshots.sh                 the shipped corpus (the repository root is the runtime folder)
#   scripts/screenshots.sh --corpus DIR    the corpus sources in DIR (word.dict*, sents.final*),
#                                          copied into a temporary runtime folder
#   ENGLISH=weather CHINESE=天气 scripts/screenshots.sh   other search words
#   BUILD_DIR=... scripts/screenshots.sh   an existing build folder (configured with tests on)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
corpus=""
if [[ "${1:-}" == "--corpus" ]]; then
  corpus="$(cd "${2:?--corpus needs a folder}" && pwd)"
fi
out="$root/docs/screenshots"
build="${BUILD_DIR:-$root/build-screenshots}"

if [[ ! -f "$build/CMakeCache.txt" ]]; then
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DTAMREL_BUILD_TESTS=ON > /dev/null
fi
cmake --build "$build" -j2 --target tamrel-cli tamrel-screenshots

runtime="$root"
if [[ -n "$corpus" ]]; then
  runtime="$(mktemp -d)"
  trap 'rm -rf "$runtime"' EXIT
  mkdir -p "$runtime/BDict" "$runtime/data"
  cp "$corpus"/word.dict* "$corpus"/sents.final* "$runtime/BDict/"
  cp "$root"/data/*.html "$runtime/data/" 2> /dev/null || true
fi
cd "$runtime"
if [[ ! -f data/index1.datBI || ! -f data/index1.datMO ]]; then
  "$build/cli/tamrel-cli" build
fi

mkdir -p "$out"
# The web view's renderer cannot use its sandbox under root or in most containers.
export QTWEBENGINE_DISABLE_SANDBOX=1
export QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:---no-sandbox}"
xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$build/tamrel-screenshots" "$out" "${ENGLISH:-friend}" "${CHINESE:-朋友}"
