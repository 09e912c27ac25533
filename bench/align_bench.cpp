// The word aligner's speed: marking the 20 results of a search page (20 sentence pairs of the
// syn1M benchmark corpus, by an aligner whose caches are warm, and by a fresh one, as the first
// search of a window meets it), and learning the co-occurrence table of the shared Tatoeba corpus.
// Targets: 20 results under 2 ms; 10,000 pairs a second or better.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "align/cooccurrence.h"
#include "align/sentence_links.h"
#include "align/word_aligner.h"
#include "dictionary/dictionary_file.h"
#include "files/mapped_file.h"

namespace tamrel {
namespace {

const std::filesystem::path kDictionary = std::filesystem::path(TAMREL_SOURCE_DIR) / "resources/lexicon/dictionary.tsv";
const std::filesystem::path kTatoeba =
    std::filesystem::path(TAMREL_SOURCE_DIR) / "../shared/corpora/tatoeba/BDict/sents.finalBI";
const std::filesystem::path kSyn1M = std::filesystem::path(TAMREL_BENCH_DATA) / "syn1M/BDict/sents.finalBI";

const DictionaryFile& Dictionary() {
  static DictionaryFile* file = [] {
    auto* f = new DictionaryFile;
    if (!f->Open(kDictionary).ok()) std::abort();
    return f;
  }();
  return *file;
}

const CooccurrenceTable& Table() {
  static CooccurrenceTable* table = [] {
    auto* t = new CooccurrenceTable;
    if (!t->Learn(kTatoeba).ok()) std::abort();
    return t;
  }();
  return *table;
}

// `count` sentence pairs (Chinese words, English text) from pair `first` of a sents.final file.
std::vector<std::pair<std::string, std::string>> Pairs(const std::filesystem::path& file, size_t first, size_t count) {
  MappedFile mapped;
  std::vector<std::pair<std::string, std::string>> pairs;
  if (!mapped.OpenChecked(file).ok()) return pairs;
  std::string_view rest = mapped.bytes();
  std::vector<std::string_view> lines;
  while (!rest.empty() && lines.size() < 3 * (first + count)) {
    const size_t end = rest.find('\n');
    lines.push_back(rest.substr(0, end));
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  }
  for (size_t k = 3 * first; k + 2 < lines.size(); k += 3) pairs.emplace_back(lines[k], lines[k + 2]);
  return pairs;
}

void AlignPage(benchmark::State& state, bool fresh) {
  const auto pairs = Pairs(kSyn1M, 5000, 20);
  if (pairs.size() != 20) return state.SkipWithError("the syn1M corpus is missing (bench/prepare_data.sh)");
  WordAligner warm(Dictionary(), &Table());
  for (const auto& [zh, en] : pairs) benchmark::DoNotOptimize(AlignSentencePair(warm, zh, en));
  for (auto _ : state) {
    WordAligner cold(Dictionary(), &Table());
    WordAligner& aligner = fresh ? cold : warm;
    for (const auto& [zh, en] : pairs) benchmark::DoNotOptimize(AlignSentencePair(aligner, zh, en));
  }
}
void BM_AlignPageOf20(benchmark::State& state) { AlignPage(state, false); }
void BM_AlignPageOf20Fresh(benchmark::State& state) { AlignPage(state, true); }
BENCHMARK(BM_AlignPageOf20)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AlignPageOf20Fresh)->Unit(benchmark::kMicrosecond);

// Pairs a second over the first 10,000 Tatoeba pairs.
void BM_AlignTatoeba(benchmark::State& state) {
  const auto pairs = Pairs(kTatoeba, 0, 10000);
  if (pairs.empty()) return state.SkipWithError("the shared Tatoeba corpus is missing");
  WordAligner aligner(Dictionary(), &Table());
  for (auto _ : state) {
    for (const auto& [zh, en] : pairs) benchmark::DoNotOptimize(AlignSentencePair(aligner, zh, en));
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * pairs.size()));
}
BENCHMARK(BM_AlignTatoeba)->Unit(benchmark::kMillisecond);

void BM_LearnTatoebaTable(benchmark::State& state) {
  for (auto _ : state) {
    CooccurrenceTable table;
    if (!table.Learn(kTatoeba).ok()) return state.SkipWithError("the shared Tatoeba corpus is missing");
    benchmark::DoNotOptimize(table.pairs());
  }
}
BENCHMARK(BM_LearnTatoebaTable)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tamrel
