#include "dictionary/dictionary_entry.h"

#include <unicode/uchar.h>

#include "text/pinyin_syllables.h"

namespace tamrel {

std::u16string JoinedPinyin(const std::vector<std::u16string>& syllables) {
  std::u16string out;
  for (const std::u16string& syllable : syllables) {
    if (!out.empty() && !syllable.empty()) {
      const std::optional<PinyinLetter> first = ReadPinyinLetter(syllable.front());
      if (u_isupper(syllable.front())) {
        out += u' ';  // each name of a proper noun capitalised, apart: Xī'ān Shì
      } else if (first && (first->base == 'a' || first->base == 'o' || first->base == 'e')) {
        out += u'\'';
      }
    }
    out += syllable;
  }
  return out;
}

std::u16string HskText(HskLevel level) {
  switch (level) {
    case HskLevel::kNone:
      return {};
    case HskLevel::k7To9:
      return u"7-9";
    default:
      return std::u16string(1, static_cast<char16_t>(u'0' + static_cast<int>(level)));
  }
}

FrequencyBand BandOfRank(uint32_t rank) {
  if (rank == 0) return FrequencyBand::kUnknown;
  if (rank <= 1000) return FrequencyBand::kVeryCommon;
  if (rank <= 5000) return FrequencyBand::kCommon;
  if (rank <= 20000) return FrequencyBand::kLessCommon;
  return FrequencyBand::kRare;
}

}  // namespace tamrel
