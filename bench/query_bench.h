// Query benchmarks: every query of one kind, answered by SearchCorpus on the loaded index and by
// FTS5 with the statements of the reference script, warm, on the same corpus in the same run;
// "tamrel-level" is SearchCorpus at HSK level 3 (search/level_order.h).
#pragma once

#include <vector>

#include "bench/bench_config.h"
#include "bench/query_set.h"

namespace tamrel::bench {

// Registers query/<corpus>/<kind>/tamrel and query/<corpus>/<kind>/fts5 for each kind that has
// queries. Each iteration runs every query of the kind once, after one untimed warm-up pass; a
// query's latency is the median over the iterations, and the counters p50_ms, p95_ms and max_ms
// are taken over the queries of the kind.
void RegisterQueryBenchmarks(const BenchCorpus& corpus, const std::vector<BenchQuery>& queries);

}  // namespace tamrel::bench
