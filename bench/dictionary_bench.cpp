// The dictionary's speed: opening the shipped file (what a window pays at start), a define of a
// Chinese word (binary search and parse), of pinyin and of an English word (after their indexes
// are built), and the one-time builds of those indexes. Target: a define under 1 ms.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <vector>

#include "dictionary/dictionary.h"

namespace tamrel {
namespace {

const std::filesystem::path kDictionary = std::filesystem::path(TAMREL_SOURCE_DIR) / "resources/lexicon/dictionary.tsv";

const Dictionary& Opened() {
  static Dictionary* dictionary = [] {
    auto* d = new Dictionary;
    if (!d->Open(kDictionary).ok()) std::abort();
    return d;
  }();
  return *dictionary;
}

void BM_Open(benchmark::State& state) {
  for (auto _ : state) {
    Dictionary dictionary;
    if (!dictionary.Open(kDictionary).ok()) state.SkipWithError("cannot open the dictionary");
    benchmark::DoNotOptimize(dictionary.size());
  }
}
BENCHMARK(BM_Open)->Unit(benchmark::kMillisecond);

void BM_DefineChinese(benchmark::State& state) {
  const char16_t* words[] = {u"苹果", u"学习", u"了", u"行", u"一命归天", u"蘋果"};
  std::vector<DictionaryEntry> entries;
  size_t i = 0;
  for (auto _ : state) {
    if (!Opened().LookUpChinese(words[i++ % std::size(words)], entries).ok()) state.SkipWithError("damaged");
    benchmark::DoNotOptimize(entries.data());
  }
}
BENCHMARK(BM_DefineChinese)->Unit(benchmark::kMicrosecond);

void BM_DefinePinyin(benchmark::State& state) {
  const char16_t* texts[] = {u"nihao", u"shi4", u"xian", u"pingguo", u"xue2xi2"};
  std::vector<DictionaryEntry> entries;
  size_t i = 0;
  for (auto _ : state) {
    if (!Opened().LookUpPinyin(texts[i++ % std::size(texts)], {}, entries).ok()) state.SkipWithError("damaged");
    benchmark::DoNotOptimize(entries.data());
  }
}
BENCHMARK(BM_DefinePinyin)->Unit(benchmark::kMicrosecond);

void BM_DefineEnglish(benchmark::State& state) {
  const char16_t* texts[] = {u"apple", u"study", u"water", u"went", u"good morning"};
  std::vector<DictionaryEntry> entries;
  size_t i = 0;
  for (auto _ : state) {
    if (!Opened().LookUpEnglish(texts[i++ % std::size(texts)], 20, entries).ok()) state.SkipWithError("damaged");
    benchmark::DoNotOptimize(entries.data());
  }
}
BENCHMARK(BM_DefineEnglish)->Unit(benchmark::kMicrosecond);

// The first pinyin and English look-ups of a dictionary build their indexes.
void BM_FirstPinyinLookUp(benchmark::State& state) {
  std::vector<DictionaryEntry> entries;
  for (auto _ : state) {
    Dictionary dictionary;
    if (!dictionary.Open(kDictionary).ok() || !dictionary.LookUpPinyin(u"nihao", {}, entries).ok()) {
      state.SkipWithError("cannot open the dictionary");
    }
  }
}
BENCHMARK(BM_FirstPinyinLookUp)->Unit(benchmark::kMillisecond);

void BM_FirstEnglishLookUp(benchmark::State& state) {
  std::vector<DictionaryEntry> entries;
  for (auto _ : state) {
    Dictionary dictionary;
    if (!dictionary.Open(kDictionary).ok() || !dictionary.LookUpEnglish(u"apple", 20, entries).ok()) {
      state.SkipWithError("cannot open the dictionary");
    }
  }
}
BENCHMARK(BM_FirstEnglishLookUp)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tamrel
