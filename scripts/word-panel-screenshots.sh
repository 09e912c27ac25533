#!/usr/bin/env bash
# Screenshots of the word panel (an English query's translations, a hovered Chinese word) on the
# shipped corpus, in a scratch runtime folder, saved to docs/screenshots/; prints the window's
# opening times with the panel hidden and shown, and the time of each panel update.
#
#   BUILD_DIR=... scripts/word-panel-screenshots.sh [CHINESE_WORD]   an existing build folder (tests on)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build-screenshots}"
if [[ ! -f "$build/CMakeCache.txt" ]]; then
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DTAMREL_BUILD_TESTS=ON > /dev/null
fi
cmake --build "$build" -j2 --target tamrel-cli tamrel-word-panel-screenshots

runtime="$(mktemp -d)"
trap 'rm -rf "$runtime"' EXIT
mkdir -p "$runtime/BDict" "$runtime/data" "$root/docs/screenshots"
cp "$root"/BDict/word.dict* "$root"/BDict/sents.final* "$runtime/BDict/"
cp "$root"/data/*.html "$runtime/data/" 2> /dev/null || true
cd "$runtime"
"$build/cli/tamrel-cli" build > /dev/null
export QTWEBENGINE_DISABLE_SANDBOX=1
export QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:---no-sandbox}"
export TAMREL_TRACE_PANEL=1
xvfb-run -a -s "-screen 0 1280x1024x24" "$build/tamrel-word-panel-screenshots" "$root/docs/screenshots" "${1:-学习}"
