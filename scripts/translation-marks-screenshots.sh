#!/usr/bin/env bash
# Screenshots of the translations marked over the page (hello, 打算, cheese) and of the word
# panel's translation summary, on the shipped corpus in a scratch runtime folder, saved to
# docs/screenshots/; prints how long marking each page took.
#
#   BUILD_DIR=... scripts/translation-marks-screenshots.sh   an existing build folder (tests on)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build-screenshots}"
if [[ ! -f "$build/CMakeCache.txt" ]]; then
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DTAMREL_BUILD_TESTS=ON > /dev/null
fi
cmake --build "$build" -j2 --target tamrel-cli tamrel-translation-marks-screenshots

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
xvfb-run -a -s "-screen 0 1280x1024x24" "$build/tamrel-translation-marks-screenshots" "$root/docs/screenshots"
