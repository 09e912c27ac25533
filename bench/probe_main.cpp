// tamrel_probe: runs one measured operation in a process of its own, so that its peak and
// resident memory are its own and not the benchmark's. Prints one line of key=value pairs
// (seconds, kB) on stdout and exits 0, or prints a message on stderr and exits 1.
//
//   tamrel_probe build-tamrel DIR   BuildCorpus("BI") in the runtime folder DIR
//   tamrel_probe build-fts5 DIR     the FTS5 table of DIR/BDict/sents.finalBI in DIR/fts5/sents.db
//   tamrel_probe load DIR           LoadWordTable and LoadSentenceTable of "BI" in DIR
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>

#include "bench/bench_config.h"
#include "bench/fts5_peer.h"
#include "bench/process_memory.h"
#include "corpus/corpus_files.h"
#include "corpus/corpus_index.h"
#include "corpus/index_build.h"

namespace tamrel::bench {
namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

int BuildTamrel(const std::filesystem::path& dir) {
  const int64_t baseKb = StatusKb("VmRSS");
  BuildReport report;
  const auto start = Clock::now();
  const Status status = BuildCorpus(dir, kBenchTag, &report);
  const double seconds = SecondsSince(start);
  if (!status.ok()) {
    std::cerr << "build failed: " << status.ToString() << '\n';
    return 1;
  }
  std::printf("seconds=%.6f peak_kb=%lld base_kb=%lld groups=%lld keys=%lld skipped=%lld\n", seconds,
              static_cast<long long>(StatusKb("VmHWM")), static_cast<long long>(baseKb),
              static_cast<long long>(report.sentenceGroups), static_cast<long long>(report.dictionaryLines),
              static_cast<long long>(report.skippedLines));
  return 0;
}

int BuildFts5Table(const std::filesystem::path& dir) {
  const int64_t baseKb = StatusKb("VmRSS");
  const BenchCorpus corpus{dir.filename().string(), dir};
  std::error_code error;
  std::filesystem::create_directories(corpus.Fts5Database().parent_path(), error);
  // Built beside its final name, so that a database under that name is always whole.
  std::filesystem::path staged = corpus.Fts5Database();
  staged += ".new";
  Fts5BuildTimes times;
  if (BuildFts5(corpus.SentenceFile(), staged, times) < 0) return 1;
  std::filesystem::rename(staged, corpus.Fts5Database(), error);
  if (error) return std::cerr << "cannot rename " << staged << ": " << error.message() << '\n', 1;
  std::printf("seconds=%.6f insert_seconds=%.6f optimize_seconds=%.6f peak_kb=%lld base_kb=%lld rows=%lld\n",
              times.insertSeconds + times.optimizeSeconds, times.insertSeconds, times.optimizeSeconds,
              static_cast<long long>(StatusKb("VmHWM")), static_cast<long long>(baseKb),
              static_cast<long long>(times.rows));
  return 0;
}

int Load(const std::filesystem::path& dir) {
  CorpusIndex index(dir, kBenchTag);
  const int64_t baseKb = StatusKb("VmRSS");
  auto start = Clock::now();
  if (!LoadWordTable(index).ok()) return std::cerr << "cannot load the word table\n", 1;
  const double wordSeconds = SecondsSince(start);
  const int64_t wordsKb = StatusKb("VmRSS");
  start = Clock::now();
  if (!LoadSentenceTable(index).ok()) return std::cerr << "cannot load the sentence table\n", 1;
  const double sentenceSeconds = SecondsSince(start);
  const int64_t bothKb = StatusKb("VmRSS");
  const auto wordTableBytes = std::filesystem::file_size(CorpusFileName(dir, CorpusFile::kWordTable, kBenchTag));
  const auto sentenceTableBytes =
      std::filesystem::file_size(CorpusFileName(dir, CorpusFile::kSentenceTable, kBenchTag));
  std::printf(
      "seconds=%.6f word_seconds=%.6f sentence_seconds=%.6f base_kb=%lld words_rss_kb=%lld rss_kb=%lld "
      "peak_kb=%lld word_table_bytes=%llu sentence_table_bytes=%llu keys=%zu sentences=%zu\n",
      wordSeconds + sentenceSeconds, wordSeconds, sentenceSeconds, static_cast<long long>(baseKb),
      static_cast<long long>(wordsKb - baseKb), static_cast<long long>(bothKb - baseKb),
      static_cast<long long>(StatusKb("VmHWM")), static_cast<unsigned long long>(wordTableBytes),
      static_cast<unsigned long long>(sentenceTableBytes), index.words().size(), index.sentenceCount());
  return 0;
}

}  // namespace
}  // namespace tamrel::bench

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: tamrel_probe build-tamrel|build-fts5|load RUNTIME_DIR\n";
    return 1;
  }
  const std::string mode = argv[1];
  const std::filesystem::path dir = std::filesystem::absolute(argv[2]);
  if (mode == "build-tamrel") return tamrel::bench::BuildTamrel(dir);
  if (mode == "build-fts5") return tamrel::bench::BuildFts5Table(dir);
  if (mode == "load") return tamrel::bench::Load(dir);
  std::cerr << "unknown mode " << mode << '\n';
  return 1;
}
