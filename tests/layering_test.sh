#!/usr/bin/env bash
# Fails when a file includes a header of a folder that is not beneath its own: the folders are
# layers, and every include runs down (or stays in the folder). Qt may be included in app/ only.
# Usage: tests/layering_test.sh [SOURCE_DIR]
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"

# Each folder and the folders it may include from.
declare -A allowed=(
  [text]=""
  [files]="text"
  [corpus]="files text"
  [lexicon]="files text"
  [settings]="files text"
  [dictionary]="lexicon files text"
  [search]="corpus lexicon files text"
  [importer]="corpus lexicon files text"
  [runtime]="corpus files text"
  [learning]="search settings corpus lexicon files text"
  [explorer]="search settings dictionary corpus lexicon files text"
  [cli]="explorer learning importer runtime search settings dictionary corpus lexicon files text"
  [app]="resources explorer learning importer runtime search settings dictionary corpus lexicon files text"
  [resources]=""
)

faults=0
for folder in "${!allowed[@]}"; do
  [[ -d $folder ]] || continue
  while IFS=: read -r file line include; do
    target=${include#*\"}
    target=${target%%/*}
    [[ $target == "$folder" ]] && continue
    [[ " ${allowed[$folder]} " == *" $target "* ]] && continue
    echo "$file:$line: $folder/ includes $target/ (${include#\#include })"
    faults=$((faults + 1))
  done < <(grep -n '^#include "[a-z_]*/' "$folder"/*.h "$folder"/*.cpp 2>/dev/null || true)
  if [[ $folder != app ]]; then
    while IFS= read -r hit; do
      echo "$hit: Qt outside app/"
      faults=$((faults + 1))
    done < <(grep -n '^#include <Q' "$folder"/*.h "$folder"/*.cpp 2>/dev/null || true)
  fi
done
# A folder of code that the table does not place is a fault too: it would never be checked.
for folder in */; do
  folder=${folder%/}
  case $folder in build* | tests | fuzz | bench | tools | scripts | docs | data | BDict | resources) continue ;; esac
  compgen -G "$folder/*.cpp" > /dev/null || compgen -G "$folder/*.h" > /dev/null || continue
  [[ -v "allowed[$folder]" ]] || { echo "$folder/: not in the table of layers"; faults=$((faults + 1)); }
done
if ((faults > 0)); then
  echo "$faults include(s) against the layers"
  exit 1
fi
echo "every include runs down the layers"
