#!/usr/bin/env bash
# Installs what is missing, builds Tamrel, builds the indexes of the shipped corpus and opens the
# explorer. The repository root is the runtime folder (BDict/ and data/).
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DTAMREL_BUILD_GUI=ON -DTAMREL_BUILD_TESTS=OFF > /dev/null
cmake --build build -j2
# Build the indexes when one is missing or older than the corpus sources.
stale=0
for tag in BI MO; do
  for index in data/index1.dat data/index11.dat data/index2.dat data/index21.dat; do
    for source in BDict/word.dict BDict/sents.final; do
      [[ -f "$index$tag" && ! "$source$tag" -nt "$index$tag" ]] || stale=1
    done
  done
done
if ((stale)); then
  ./build/cli/tamrel-cli build
fi
exec ./build/tamrel "$@"
