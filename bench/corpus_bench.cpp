#include "bench/corpus_bench.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <iostream>

#include "bench/probe_client.h"
#include "bench/query_set.h"
#include "corpus/corpus_files.h"
#include "corpus/corpus_index.h"

namespace tamrel::bench {

namespace {

constexpr double kMiB = 1024.0 * 1024.0;
constexpr int64_t kLargeCorpusBytes = 64 << 20;         // above this, fewer builds per run
constexpr int64_t kHugeCorpusBytes = int64_t{1} << 30;  // above this (syn10M), one: FTS5's takes minutes

// True when `target` exists and is at least as new as every file of `sources`.
bool UpToDate(const std::filesystem::path& target, std::initializer_list<std::filesystem::path> sources) {
  std::error_code error;
  const auto built = std::filesystem::last_write_time(target, error);
  if (error) return false;
  return std::all_of(sources.begin(), sources.end(), [&](const std::filesystem::path& source) {
    std::error_code e;
    return std::filesystem::last_write_time(source, e) <= built && !e;
  });
}

// Runs the build of `mode` in a fresh process per iteration; the time is what the child measured
// around the build itself, the memory its peak resident set.
void BuildBenchmark(benchmark::State& state, const BenchCorpus& corpus, const std::string& mode) {
  double peakKb = 0;
  double baseKb = 0;
  std::vector<double> seconds;
  ProbeFigures last;
  for (auto _ : state) {
    const auto figures = RunProbe(mode, corpus.dir);
    if (!figures) {
      state.SkipWithError("the build failed");
      return;
    }
    state.SetIterationTime(figures->at("seconds"));
    seconds.push_back(figures->at("seconds"));
    peakKb = std::max(peakKb, figures->at("peak_kb"));
    baseKb = figures->at("base_kb");
    last = *figures;
  }
  // On a shared machine one slow build moves the mean; the median is the figure compared.
  state.counters["median_seconds"] = Median(seconds);
  state.counters["peak_rss_mb"] = peakKb / 1024;
  state.counters["base_rss_mb"] = baseKb / 1024;
  state.counters["source_mb"] = static_cast<double>(corpus.sentenceBytes) / kMiB;
  for (const char* extra : {"insert_seconds", "optimize_seconds", "rows", "groups", "skipped"}) {
    if (last.count(extra) > 0) state.counters[extra] = last[extra];
  }
}

void LoadWordTableBenchmark(benchmark::State& state, const BenchCorpus& corpus) {
  if (!EnsureIndexes(corpus)) return state.SkipWithError("corpus not built");
  size_t keys = 0;
  for (auto _ : state) {
    CorpusIndex index(corpus.dir, kBenchTag);
    if (!LoadWordTable(index).ok()) return state.SkipWithError("LoadWordTable failed");
    keys = index.words().size();
    state.PauseTiming();  // freeing the tables is not part of loading them
    index = CorpusIndex();
    state.ResumeTiming();
  }
  state.counters["keys"] = static_cast<double>(keys);
}

void LoadSentenceTableBenchmark(benchmark::State& state, const BenchCorpus& corpus) {
  if (!EnsureIndexes(corpus)) return state.SkipWithError("corpus not built");
  size_t sentences = 0;
  for (auto _ : state) {
    CorpusIndex index(corpus.dir, kBenchTag);
    if (!LoadSentenceTable(index).ok()) return state.SkipWithError("LoadSentenceTable failed");
    sentences = index.sentenceCount();
    state.PauseTiming();
    index = CorpusIndex();
    state.ResumeTiming();
  }
  state.counters["sentences"] = static_cast<double>(sentences);
}

// Both tables loaded by a fresh process: the time of the two loads and the resident memory they
// add, against the size of the word table on disk.
void ResidentBenchmark(benchmark::State& state, const BenchCorpus& corpus) {
  if (!EnsureIndexes(corpus)) return state.SkipWithError("corpus not built");
  ProbeFigures worst;
  for (auto _ : state) {
    const auto figures = RunProbe("load", corpus.dir);
    if (!figures) return state.SkipWithError("the load failed");
    state.SetIterationTime(figures->at("seconds"));
    if (worst.empty() || figures->at("rss_kb") > worst["rss_kb"]) worst = *figures;
  }
  const double wordTableMb = worst["word_table_bytes"] / kMiB;
  state.counters["rss_mb"] = worst["rss_kb"] / 1024;
  state.counters["words_rss_mb"] = worst["words_rss_kb"] / 1024;
  state.counters["word_table_mb"] = wordTableMb;
  state.counters["sentence_table_mb"] = worst["sentence_table_bytes"] / kMiB;
  state.counters["rss_per_word_table"] = wordTableMb > 0 ? worst["rss_kb"] / 1024 / wordTableMb : 0;
  state.counters["cold_word_seconds"] = worst["word_seconds"];
  state.counters["cold_sentence_seconds"] = worst["sentence_seconds"];
}

}  // namespace

bool EnsureIndexes(const BenchCorpus& corpus) {
  const auto dictionary = CorpusFileName(corpus.dir, CorpusFile::kDictionary, kBenchTag);
  bool ours = true;
  for (CorpusFile f :
       {CorpusFile::kWordTable, CorpusFile::kPostings, CorpusFile::kSentenceTable, CorpusFile::kSentenceRecords}) {
    ours = ours && UpToDate(CorpusFileName(corpus.dir, f, kBenchTag), {dictionary, corpus.SentenceFile()});
  }
  if (!ours && !RunProbe("build-tamrel", corpus.dir)) return false;
  if (!UpToDate(corpus.Fts5Database(), {corpus.SentenceFile()}) && !RunProbe("build-fts5", corpus.dir)) return false;
  return true;
}

void RegisterCorpusBenchmarks(const BenchCorpus& corpus) {
  const int builds = corpus.sentenceBytes > kHugeCorpusBytes ? 1 : corpus.sentenceBytes > kLargeCorpusBytes ? 3 : 5;
  for (const char* engine : {"tamrel", "fts5"}) {
    const std::string mode = std::string("build-") + engine;
    benchmark::RegisterBenchmark(("build/" + corpus.name + "/" + engine).c_str(), BuildBenchmark, corpus, mode)
        ->Iterations(builds)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::RegisterBenchmark(("load/" + corpus.name + "/words").c_str(), LoadWordTableBenchmark, corpus)
      ->UseRealTime()
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark(("load/" + corpus.name + "/sentences").c_str(), LoadSentenceTableBenchmark, corpus)
      ->UseRealTime()
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark(("load/" + corpus.name + "/resident").c_str(), ResidentBenchmark, corpus)
      ->Iterations(3)
      ->UseManualTime()
      ->Unit(benchmark::kMillisecond);
}

}  // namespace tamrel::bench
