// CharacterChineseText: the simplest language tools, for the importer's tests: no conversion,
// every character (code point) a word of its own, and each word its own pinyin, so that the
// expected groups of a test can be written down by hand.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "importer/chinese_text.h"

namespace tamrel::test {

class CharacterChineseText : public ChineseText {
 public:
  std::u16string ToSimplified(std::u16string_view text) const override { return std::u16string(text); }
  std::vector<std::u16string> Segment(std::u16string_view text) const override {
    std::vector<std::u16string> words;
    for (size_t i = 0; i < text.size();) {
      const bool pair = text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                        text[i + 1] <= 0xDFFF;
      const size_t units = pair ? 2 : 1;
      words.emplace_back(text.substr(i, units));
      i += units;
    }
    return words;
  }
  std::vector<std::u16string> Pinyin(const std::vector<std::u16string>& words) const override { return words; }
};

}  // namespace tamrel::test
