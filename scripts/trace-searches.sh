#!/usr/bin/env bash
# Enter -> first paint of the new page, measured from inside the window (tamrel --trace) over 50
# searches of the shipped corpus with the word panel shown, in a scratch runtime folder under Xvfb:
# the median and 95th percentile of each step. Xvfb renders in software on a shared machine, so
# the numbers are not those of an idle desktop.
#
#   BUILD_DIR=... scripts/trace-searches.sh [WORD...]   an existing build folder (tests on)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
cmake --build "$build" -j2 --target tamrel-cli tamrel-trace-searches

runtime="$(mktemp -d)"
trap 'rm -rf "$runtime"' EXIT
mkdir -p "$runtime/BDict" "$runtime/data"
cp "$root"/BDict/word.dict* "$root"/BDict/sents.final* "$runtime/BDict/"
cp "$root"/data/*.html "$runtime/data/" 2> /dev/null || true
cd "$runtime"
"$build/cli/tamrel-cli" build > /dev/null
export QTWEBENGINE_DISABLE_SANDBOX=1
export QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:---no-sandbox}"
xvfb-run -a -s "-screen 0 1280x1024x24" "$build/tamrel-trace-searches" "$@"
