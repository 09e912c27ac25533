#include "cli/define_command.h"

#include <iostream>
#include <nlohmann/json.hpp>
#include <optional>
#include <vector>

#include "corpus/corpus_index.h"
#include "dictionary/dictionary.h"
#include "search/search_core.h"
#include "text/code_points.h"
#include "text/pinyin_syllables.h"
#include "text/text_utils.h"

namespace tamrel::cli {

namespace {

// How many entries an English or pinyin look-up prints at most.
constexpr size_t kMaxEntries = 20;

std::string U8(std::u16string_view s) { return Utf16ToUtf8(s); }

std::u16string Trimmed(std::u16string_view text) {
  size_t first = 0, last = text.size();
  while (first < last && IsAsciiSpace(text[first])) ++first;
  while (last > first && IsAsciiSpace(text[last - 1])) --last;
  return std::u16string(text.substr(first, last - first));
}

const char* BandName(FrequencyBand band) {
  switch (band) {
    case FrequencyBand::kVeryCommon:
      return "very common";
    case FrequencyBand::kCommon:
      return "common";
    case FrequencyBand::kLessCommon:
      return "less common";
    case FrequencyBand::kRare:
      return "rare";
    case FrequencyBand::kUnknown:
      break;
  }
  return "frequency unknown";
}

void PrintJson(const DictionaryEntry& entry) {
  nlohmann::ordered_json senses = nlohmann::ordered_json::array();
  for (const std::u16string& s : entry.senses) senses.push_back(U8(s));
  for (const std::u16string& s : entry.referred) senses.push_back(U8(s));
  nlohmann::ordered_json hsk = nullptr;
  if (entry.hsk == HskLevel::k7To9) {
    hsk = "7-9";
  } else if (entry.hsk != HskLevel::kNone) {
    hsk = static_cast<int>(entry.hsk);
  }
  nlohmann::ordered_json frequency = nullptr;
  if (entry.frequencyRank > 0) frequency = entry.frequencyRank;
  const nlohmann::ordered_json line = {{"word", U8(entry.simplified)},
                                       {"traditional", U8(entry.traditional)},
                                       {"pinyin", U8(JoinedPinyin(entry.syllables))},
                                       {"senses", senses},
                                       {"hsk", hsk},
                                       {"frequency", frequency}};
  std::cout << line.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
}

void PrintText(const DictionaryEntry& entry) {
  std::cout << U8(entry.simplified);
  if (entry.traditional != entry.simplified) std::cout << " (" << U8(entry.traditional) << ')';
  std::cout << "  " << U8(JoinedPinyin(entry.syllables));
  if (entry.hsk != HskLevel::kNone) std::cout << "  HSK " << U8(HskText(entry.hsk));
  std::cout << "  " << BandName(BandOfRank(entry.frequencyRank));
  if (entry.frequencyRank > 0) std::cout << " (rank " << entry.frequencyRank << ')';
  std::cout << '\n';
  for (size_t i = 0; i < entry.senses.size(); ++i) std::cout << "  " << i + 1 << ". " << U8(entry.senses[i]) << '\n';
  for (const std::u16string& s : entry.referred) std::cout << "  -> " << U8(s) << '\n';
  if (!entry.classifiers.empty()) {
    std::cout << "  CL:";
    for (size_t i = 0; i < entry.classifiers.size(); ++i) std::cout << (i > 0 ? ", " : " ") << U8(entry.classifiers[i]);
    std::cout << '\n';
  }
}

}  // namespace

int Define(const std::string& text, bool json) {
  const std::u16string query = Trimmed(Utf8ToUtf16(text));
  Dictionary dictionary;
  const std::filesystem::path root;
  if (Status status = dictionary.Open(FindDictionary(root)); !status.ok()) {
    std::cerr << "tamrel-cli define: the dictionary cannot be read: " << status.ToString() << '\n';
    return 2;
  }

  std::vector<DictionaryEntry> entries;
  Status status;
  if (ContainsHan(query)) {
    status = dictionary.LookUpChinese(query, entries);
  } else {
    // Toneless pinyin is English when some sense is that word alone ("ma": 妈), pinyin otherwise
    // ("shi", "xian": names of people and places are no translation).
    const std::optional<PinyinText> pinyin = ReadPinyin(query);
    bool central = false;
    if (!pinyin || !pinyin->toned) status = dictionary.LookUpEnglish(query, kMaxEntries, entries, &central);
    if (status.ok() && pinyin && !central) {
      // Readings ranked by the sentences of the runtime folder's corpora, where they load.
      CorpusIndex bilingual(root, u"BI"), monolingual(root, u"MO");
      const bool haveBilingual = LoadWordTable(bilingual).ok();
      const bool haveMonolingual = LoadWordTable(monolingual).ok();
      const SentenceCount count = [&](std::u16string_view word) {
        size_t n = 0;
        if (haveBilingual) n += CountSentences(bilingual, word);
        if (haveMonolingual) n += CountSentences(monolingual, word);
        return static_cast<uint32_t>(std::min<size_t>(n, UINT32_MAX));
      };
      std::vector<DictionaryEntry> read;
      status = dictionary.LookUpPinyin(query, count, read);
      if (!read.empty()) entries = std::move(read);
      if (entries.size() > kMaxEntries) entries.resize(kMaxEntries);
    }
  }
  if (!status.ok()) {
    std::cerr << "tamrel-cli define: the dictionary is damaged: " << status.ToString() << '\n';
    return 2;
  }
  if (entries.empty()) {
    std::cerr << "No dictionary entry for \"" << U8(query) << "\".\n";
    return 1;
  }
  for (const DictionaryEntry& entry : entries) {
    if (json) {
      PrintJson(entry);
    } else {
      PrintText(entry);
    }
  }
  return 0;
}

}  // namespace tamrel::cli
