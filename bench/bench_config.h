// Where the benchmarks find their inputs: the runtime folders of the corpora (BDict/ and data/,
// made by bench/prepare_data.sh) and the query list. Environment variables override the
// defaults recorded by the build:
//   TAMREL_BENCH_DATA     folder holding one runtime folder per corpus
//   TAMREL_BENCH_CORPORA  names of the corpora to run, separated by spaces ("tatoeba syn1M")
//   TAMREL_BENCH_QUERIES  the query list (KIND<TAB>QUERY[<TAB>...] per line)
//   TAMREL_BENCH_REPS     timed runs of each query (default 5)
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tamrel::bench {

// The corpus tag every benchmark builds, loads and searches.
inline constexpr std::u16string_view kBenchTag = u"BI";

struct BenchCorpus {
  std::string name;           // folder name under the data root, e.g. "syn1M"
  std::filesystem::path dir;  // absolute runtime folder
  int64_t sentenceBytes = 0;  // size of BDict/sents.finalBI

  std::filesystem::path SentenceFile() const { return dir / "BDict" / "sents.finalBI"; }
  std::filesystem::path Fts5Database() const { return dir / "fts5" / "sents.db"; }
};

std::filesystem::path DataRoot();
std::filesystem::path QueryFile();
int QueryRepetitions();

// The corpora named by TAMREL_BENCH_CORPORA whose sentence file exists, in the order named.
// A named corpus that is missing is reported on stderr and left out.
std::vector<BenchCorpus> BenchCorpora();

}  // namespace tamrel::bench
