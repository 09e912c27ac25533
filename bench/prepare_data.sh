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
# A synthetic corpus is made only when it is asked for (TAMREL_BENCH_CORPORA, or syn1M by default),
# since syn10M takes about 17 minutes of one core and 5 GB of disk.
wanted="${TAMREL_BENCH_CORPORA:-tatoeba syn1M}"
synthetic() { # name sentences duration
  local syn="$data/$1"
  [[ " ${wanted//,/ } " == *" $1 "* ]] || return 0
  if [[ ! -f "$syn/BDict/sents.finalBI" || ! -f "$syn/BDict/word.dictBI" ]]; then
    echo "generating $syn ($2 sentence groups, $3)"
    mkdir -p "$syn"
    rm -rf "$syn/BDict.partial" "$syn/runs.tmp"
    mkdir -p "$syn/runs.tmp"
    nice python3 "$shared/tools/gen_synthetic_corpus.py" --sentences "$2" --seed 1 --tag BI \
      --out "$syn/BDict.partial" --tmp "$syn/runs.tmp"
    rm -rf "$syn/BDict" "$syn/runs.tmp"
    mv "$syn/BDict.partial" "$syn/BDict"
  fi
  mkdir -p "$syn/data"
}
synthetic syn1M 1000000 "about two minutes"
synthetic syn10M 10000000 "about 17 minutes"
echo "benchmark corpora ready in $data"
