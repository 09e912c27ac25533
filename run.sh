#!/usr/bin/env bash
# Installs what is missing, builds Tamrel, builds the indexes of the shipped corpus and opens the
# explorer. The repository root is the runtime folder (BDict/ and data/).
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DTAMREL_BUILD_TESTS=OFF > /dev/null
cmake --build build -j2
./build/cli/tamrel-cli build
if [[ -x build/tamrel ]]; then
  exec ./build/tamrel "$@"
fi
./build/cli/tamrel-cli words 0 20
