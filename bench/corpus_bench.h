// Benchmarks of the index build and the two loaders on one corpus, beside the FTS5 build of the
// same sentence file; and the helpers that make sure a corpus is built before it is searched.
#pragma once

#include "bench/bench_config.h"

namespace tamrel::bench {

// Builds our index files and the FTS5 database of `corpus` when they are missing or older than
// their sources. False when a build fails.
bool EnsureIndexes(const BenchCorpus& corpus);

// Registers, in this order: build/<corpus>/tamrel, build/<corpus>/fts5, load/<corpus>/words,
// load/<corpus>/sentences, load/<corpus>/resident.
void RegisterCorpusBenchmarks(const BenchCorpus& corpus);

}  // namespace tamrel::bench
