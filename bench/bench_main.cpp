// tamrel_bench: the build, load and query benchmarks of every corpus found under the data root,
// each beside SQLite FTS5 on the same workload. Takes Google Benchmark's flags
// (--benchmark_filter=query/syn1M, --benchmark_out=results.json ...); bench/summarize.py turns
// the JSON output into the comparison table.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <iostream>

#include "bench/bench_config.h"
#include "bench/corpus_bench.h"
#include "bench/query_bench.h"
#include "bench/query_set.h"

int main(int argc, char** argv) {
  using namespace tamrel::bench;
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

  const auto corpora = BenchCorpora();
  if (corpora.empty()) {
    std::cerr << "no corpus under " << DataRoot() << "; run bench/prepare_data.sh\n";
    return 1;
  }
  const auto queries = LoadQueries(QueryFile());
  if (queries.empty()) std::cerr << "no queries in " << QueryFile() << "; the query benchmarks are left out\n";
  for (const BenchCorpus& corpus : corpora) {
    RegisterCorpusBenchmarks(corpus);
    if (!queries.empty()) RegisterQueryBenchmarks(corpus, queries);
  }
  benchmark::AddCustomContext("data_root", DataRoot().string());
  benchmark::AddCustomContext("query_file", QueryFile().string());
  benchmark::AddCustomContext("sqlite", sqlite3_libversion());
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
