#include "explorer/word_lookup.h"

#include <algorithm>

#include "text/text_utils.h"

namespace tamrel {

NumberBoxEntry ParseNumberBox(std::u16string_view text) {
  NumberBoxEntry entry;
  if (text.empty()) return entry;
  if (!std::all_of(text.begin(), text.end(), [](char16_t c) { return IsAsciiDigit(c); })) {
    entry.kind = NumberBoxEntry::Kind::kNoLines;
    return entry;
  }
  entry.kind = NumberBoxEntry::Kind::kPosition;
  entry.position = ParseDecimal(text);  // saturates at 2147483647
  return entry;
}

std::optional<std::vector<NumberedWord>> LookUpWords(const CorpusIndex& bilingual, std::u16string_view text,
                                                     Language language) {
  const NumberBoxEntry entry = ParseNumberBox(text);
  switch (entry.kind) {
    case NumberBoxEntry::Kind::kKeepList:
      return std::nullopt;
    case NumberBoxEntry::Kind::kNoLines:
      return std::vector<NumberedWord>{};
    case NumberBoxEntry::Kind::kPosition:
      break;
  }
  return ListWords(bilingual, entry.position, language, kLookupLines);
}

std::u16string WordListSense(const Dictionary& dictionary, std::u16string_view word, Language language) {
  std::vector<DictionaryEntry> entries;
  // A damaged dictionary line leaves what was read before it, or nothing.
  if (language == Language::kEnglish) {
    (void)dictionary.LookUpEnglish(word, 1, entries);
    return entries.empty() ? std::u16string() : entries.front().simplified;
  }
  (void)dictionary.LookUpChinese(word, entries);
  for (const DictionaryEntry& entry : entries) {
    if (!entry.senses.empty()) return entry.senses.front();
    if (!entry.referred.empty()) return entry.referred.front();
  }
  return {};
}

}  // namespace tamrel
