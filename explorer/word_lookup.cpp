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

}  // namespace tamrel
