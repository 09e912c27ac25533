#!/usr/bin/env bash
# Installs what is missing, builds Tamrel with warnings as errors, and runs every test through
# CTest (the window tests under a virtual X display).
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
# Formatting is checked by the tool, so nobody argues about spaces.
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAMREL_WERROR=ON -DTAMREL_BUILD_GUI=ON -DTAMREL_BUILD_TESTS=ON > /dev/null
cmake --build build-test -j2
cd build-test
if [[ -z "${DISPLAY:-}" ]] && command -v xvfb-run > /dev/null; then
  xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure -j2
else
  ctest --output-on-failure -j2
fi
