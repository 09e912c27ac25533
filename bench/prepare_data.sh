#!/usr/bin/env bash
# Makes the runtime folders of the benchmark corpora, outside the repository:
#   $TAMREL_BENCH_DATA/tatoeba/  BDict/ copied from the shared Tatoeba corpus, and data/
#   $TAMREL_BENCH_DATA/syn1M/    BDict/ with a synthetic corpus of 1,000,000 sentence groups
#                                ("BI"; the generator takes one to two minutes), and data/
# Folders already complete are left as they are. TAMREL_BENCH_DATA defaults to
# <repository>/../cache/tamrel-bench; TAMREL_SHARED (default <repository>/../shared) is where the
# shared corpora and tools are.
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
data="${TAMREL_BENCH_DATA:-$repo/../cache/tamrel-bench}"
shared="${TAMREL_SHARED:-$repo/../shared}"
mkdir -p "$data"
data="$(cd "$data" && pwd)"

tatoeba="$data/tatoeba"
if [[ ! -f "$tatoeba/BDict/sents.finalBI" || ! -f "$tatoeba/BDict/word.dictBI" ]]; then
  echo "preparing $tatoeba"
  mkdir -p "$tatoeba/BDict"
  cp "$shared/corpora/tatoeba/BDict/"{sents.final,word.dict}{BI,MO} "$tatoeba/BDict/"
  chmod u+w "$tatoeba/BDict/"*
fi
mkdir -p "$tatoeba/data"

# The generator writes into BDict.partial, renamed when it has finished, so a BDict/ is whole.
syn="$data/syn1M"
if [[ ! -f "$syn/BDict/sents.finalBI" || ! -f "$syn/BDict/word.dictBI" ]]; then
  echo "generating $syn (1,000,000 sentence groups, about two minutes)"
  mkdir -p "$syn"
  rm -rf "$syn/BDict.partial"
  python3 "$shared/tools/gen_synthetic_corpus.py" --sentences 1000000 --tag BI --out "$syn/BDict.partial"
  rm -rf "$syn/BDict"
  mv "$syn/BDict.partial" "$syn/BDict"
fi
mkdir -p "$syn/data"
echo "benchmark corpora ready in $data"
