#include "explorer/word_lookup.h"

#include <algorithm>

#include "corpus/text_utils.h"
#include "search/query.h"

namespace tamrel {

NumberBoxEntry ParseNumberBox(std::u16string_view text) {
  NumberBoxEntry entry;
  if (text.empty()) return entry;
  if (!std::all_of(text.begin(), text.end(), [](char16_t c) { return IsAsciiDigit(c); })) {
    entry.kind = NumberBoxEntry::kNoLines;
    return entry;
  }
  entry.kind = NumberBoxEntry::kPosition;
  entry.position = ParseDecimal(text);  // saturates at 2147483647
  return entry;
}

std::optional<std::vector<std::u16string>> LookUpWords(const CorpusIndex& bilingual, std::u16string_view text,
                                                       bool english) {
  const NumberBoxEntry entry = ParseNumberBox(text);
  switch (entry.kind) {
    case NumberBoxEntry::kKeepList:
      return std::nullopt;
    case NumberBoxEntry::kNoLines:
      return std::vector<std::u16string>{};
    case NumberBoxEntry::kPosition:
      break;
  }
  return ListWords(bilingual, entry.position, english ? LANG_EN : LANG_CN, kLookupLines);
}

std::optional<std::u16string> WordOfLine(std::u16string_view line) {
  const size_t colon = line.find(u':');
  if (colon == std::u16string_view::npos) return std::nullopt;
  return std::u16string(line.substr(colon + 1));
}

}  // namespace tamrel
