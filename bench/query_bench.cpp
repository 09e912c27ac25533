#include "bench/query_bench.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <functional>
#include <memory>

#include "bench/corpus_bench.h"
#include "bench/fts5_peer.h"
#include "corpus/corpus_index.h"
#include "dictionary/dictionary.h"
#include "explorer/hsk_levels.h"
#include "explorer/level_table.h"
#include "explorer/search_command.h"
#include "search/query.h"
#include "search/search_core.h"
#include "text/text_utils.h"

namespace tamrel::bench {

namespace {

using Clock = std::chrono::steady_clock;
constexpr double kMinTimedSeconds = 0.5;

// Both engines opened on one corpus, kept between the benchmarks of that corpus.
struct OpenCorpus {
  std::string name;
  CorpusIndex index;
  Fts5Searcher fts5;
  std::unique_ptr<SentenceLevels> levels;  // made at the first search at a level
};

// The level the "tamrel-level" engine searches at: the middle of the range, where a common word
// has many sentences on both sides of it.
constexpr int kBenchLevel = 3;

// The open corpus for `corpus`, replacing the one held before; null when it cannot be opened.
OpenCorpus* Open(const BenchCorpus& corpus) {
  static std::unique_ptr<OpenCorpus> held;
  if (held && held->name == corpus.name) return held.get();
  held.reset();
  auto opened = std::make_unique<OpenCorpus>();
  opened->name = corpus.name;
  opened->index = CorpusIndex(corpus.dir, kBenchTag);
  if (!LoadCorpus(opened->index).ok() || opened->fts5.Open(corpus.Fts5Database()) < 0) {
    return nullptr;
  }
  held = std::move(opened);
  return held.get();
}

// One engine's answer to query i: the number of rows it returned, or -1 on failure.
using QueryRunner = std::function<int(size_t)>;

QueryRunner TamrelRunner(OpenCorpus& open, const std::vector<BenchQuery>& queries, bool atLevel) {
  std::vector<std::u16string> texts;
  for (const BenchQuery& q : queries) {
    std::u16string text = Utf8ToUtf16(q.text);
    // Several Chinese words typed without spaces are cut as the search command cuts them.
    if (q.kind == "zhN" && text.find(u' ') == std::u16string::npos) text = SegmentQuery(open.index, text);
    texts.push_back(std::move(text));
  }
  LevelRanking ranking;
  if (atLevel) {
    // Made before the timing starts, as a search at a level reads them from the level file.
    if (!open.levels) {
      HskLevels hsk;
      (void)ReadHskLevels(FindDictionary(std::filesystem::current_path()), hsk);
      open.levels = std::make_unique<SentenceLevels>(MakeSentenceLevels(open.index, hsk));
    }
    ranking = {open.levels.get(), kBenchLevel};
  }
  return [&index = open.index, texts = std::move(texts), ranking](size_t i) {
    std::vector<ResultSentence> results;
    SearchCorpus(texts[i], index, results, 0, ranking);
    return static_cast<int>(results.size());
  };
}

// The search command as the window runs it, on the one benchmarked corpus: its dictionary cuts
// Chinese text and gives the readings, and only its bilingual section is searched.
QueryRunner SearchCommandRunner(const OpenCorpus& open, const std::vector<BenchQuery>& queries) {
  std::vector<std::u16string> texts;
  for (const BenchQuery& q : queries) texts.push_back(Utf8ToUtf16(q.text));
  // Opened before the timing starts, as the window opens it at start.
  auto simplifier = std::make_shared<Simplifier>();
  (void)simplifier->Open();
  return [&index = open.index, texts = std::move(texts), simplifier](size_t i) {
    SysSettings settings;
    settings.searchMonolingual = false;
    const SearchCommandResult result = RunSearchCommand(texts[i], {index, index, *simplifier}, settings, {});
    return static_cast<int>(result.bilingual.size());
  };
}

QueryRunner Fts5Runner(OpenCorpus& open, const std::vector<BenchQuery>& queries) {
  std::vector<Fts5Query> prepared;
  for (const BenchQuery& q : queries) prepared.push_back(MakeFts5Query(q));
  return [&fts5 = open.fts5, prepared = std::move(prepared)](size_t i) { return fts5.Run(prepared[i]); };
}

void QueryBenchmark(benchmark::State& state, const BenchCorpus& corpus, const std::vector<BenchQuery>& queries,
                    const std::string& engine) {
  if (!EnsureIndexes(corpus)) return state.SkipWithError("corpus not built");
  OpenCorpus* open = Open(corpus);
  if (open == nullptr) return state.SkipWithError("cannot open the corpus");
  const QueryRunner run = engine == "tamrel-command" ? SearchCommandRunner(*open, queries)
                          : engine == "tamrel"       ? TamrelRunner(*open, queries, false)
                          : engine == "tamrel-level" ? TamrelRunner(*open, queries, true)
                                                     : Fts5Runner(*open, queries);

  for (size_t i = 0; i < queries.size(); ++i) {  // warm-up pass
    if (run(i) < 0) return state.SkipWithError("query failed");
  }
  std::vector<std::vector<double>> seconds(queries.size());
  int64_t rows = 0;
  int64_t passes = 0;
  for (auto _ : state) {
    // At least QueryRepetitions() passes over the queries, and more until the timed passes have
    // lasted kMinTimedSeconds: a kind whose queries take microseconds is then timed over many
    // passes, so that a moment of contention on a shared machine moves few of a query's runs and
    // not its median. Queries of a second or more keep the minimum.
    const auto begin = Clock::now();
    while (passes < QueryRepetitions() ||
           std::chrono::duration<double>(Clock::now() - begin).count() < kMinTimedSeconds) {
      for (size_t i = 0; i < queries.size(); ++i) {
        const auto start = Clock::now();
        const int found = run(i);
        seconds[i].push_back(std::chrono::duration<double>(Clock::now() - start).count());
        rows += found;
      }
      ++passes;
    }
  }

  std::vector<double> latencies;  // one per query: the median of its timed runs
  size_t slowest = 0;
  for (size_t i = 0; i < queries.size(); ++i) {
    latencies.push_back(Median(seconds[i]));
    if (latencies[i] > latencies[slowest]) slowest = i;
  }
  state.counters["queries"] = static_cast<double>(queries.size());
  state.counters["p50_ms"] = Percentile(latencies, 50) * 1e3;
  state.counters["p95_ms"] = Percentile(latencies, 95) * 1e3;
  state.counters["max_ms"] = latencies[slowest] * 1e3;
  state.counters["rows_per_query"] =
      static_cast<double>(rows) / static_cast<double>(queries.size() * static_cast<size_t>(passes));
  state.counters["passes"] = static_cast<double>(passes);
  state.SetLabel("slowest: " + queries[slowest].text);
}

}  // namespace

void RegisterQueryBenchmarks(const BenchCorpus& corpus, const std::vector<BenchQuery>& queries) {
  for (const char* kind : kQueryKinds) {
    std::vector<BenchQuery> ofKind = QueriesOfKind(queries, kind);
    if (ofKind.empty()) continue;
    for (const char* engine : {"tamrel", "tamrel-level", "fts5"}) {
      const std::string name = "query/" + corpus.name + "/" + kind + "/" + engine;
      benchmark::RegisterBenchmark(name.c_str(), QueryBenchmark, corpus, ofKind, std::string(engine))
          ->Iterations(1)
          ->UseRealTime()
          ->Unit(benchmark::kMillisecond);
    }
  }
  for (const char* kind : kTypedReadingKinds) {
    std::vector<BenchQuery> ofKind = QueriesOfKind(queries, kind);
    if (ofKind.empty()) continue;
    const std::string name = "query/" + corpus.name + "/" + kind + "/tamrel";
    benchmark::RegisterBenchmark(name.c_str(), QueryBenchmark, corpus, ofKind, std::string("tamrel-command"))
        ->Iterations(1)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
  }
}

}  // namespace tamrel::bench
