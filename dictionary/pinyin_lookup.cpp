#include "dictionary/pinyin_lookup.h"

#include <algorithm>
#include <optional>
#include <tuple>

#include "text/code_points.h"
#include "text/pinyin_syllables.h"
#include "text/text_utils.h"

namespace tamrel {

namespace {

std::optional<PinyinText> ReadingOf(const DictionaryFile& file, size_t i) {
  return ReadPinyin(Utf8ToUtf16(file.Field(i, 2)));
}

}  // namespace

PinyinLookup::PinyinLookup(const DictionaryFile& file) : file_(file) {
  for (size_t i = 0; i < file.size(); ++i) {
    if (!ContainsHan(Utf8ToUtf16(file.Headword(i)))) continue;
    const std::optional<PinyinText> reading = ReadingOf(file, i);
    if (!reading || reading->syllables.empty()) continue;
    byLetters_[TonelessLetters(reading->syllables)].push_back(static_cast<uint32_t>(i));
  }
}

std::vector<size_t> PinyinLookup::Find(std::u16string_view text, const SentenceCount& count) const {
  std::vector<size_t> found;
  const std::optional<PinyinText> typed = ReadPinyin(text);
  if (!typed || typed->syllables.empty()) return found;
  const auto candidates = byLetters_.find(TonelessLetters(typed->syllables));
  if (candidates == byLetters_.end()) return found;
  for (const uint32_t i : candidates->second) {
    const std::optional<PinyinText> reading = ReadingOf(file_, i);
    if (reading && SyllablesMatch(reading->syllables, typed->syllables, 0, typed->syllables.size(), typed->toned)) {
      found.push_back(i);
    }
  }
  if (found.empty() && !typed->toned && typed->syllables.size() == 1) {
    found.assign(candidates->second.begin(), candidates->second.end());
  }

  struct Ranked {
    bool rare;  // a proper noun, or a less common form of its word (见 read xiàn)
    uint32_t sentences;
    uint32_t rank;
    size_t entry;
  };
  std::vector<Ranked> ranked;
  ranked.reserve(found.size());
  for (const size_t i : found) {
    const bool rare = file_.IsProperNoun(i) || file_.IsSecondary(i);
    const uint32_t rank = file_.FrequencyRank(i);
    const uint32_t sentences = count ? count(Utf8ToUtf16(file_.Headword(i))) : 0;
    ranked.push_back({rare, sentences, rank == 0 ? UINT32_MAX : rank, i});
  }
  std::stable_sort(ranked.begin(), ranked.end(), [](const Ranked& a, const Ranked& b) {
    return std::tie(a.rare, b.sentences, a.rank, a.entry) < std::tie(b.rare, a.sentences, b.rank, b.entry);
  });
  found.clear();
  for (const Ranked& r : ranked) found.push_back(r.entry);
  return found;
}

}  // namespace tamrel
