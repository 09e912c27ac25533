// Helpers of the segmenter and pinyin fuzzers: a small lexicon built into the harness (words with
// readings, words without, numerals, an astral character) and the properties every segmentation
// must have, whatever the text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "lexicon/lexicon.h"
#include "lexicon/segmenter.h"

namespace tamrel::fuzz {

inline constexpr std::string_view kSmallLexicon =
    "# a small lexicon for the fuzzers\n"
    "我\t100\twǒ\n我们\t50\twǒmen\n们\t5\tmen\n说\t80\tshuō,shuì\n说话\t20\tshuōhuà\n话\t30\thuà\n"
    "的\t200\tde,dí,dì\n目的\t10\tmùdì\n长\t40\tcháng,zhǎng\n长大\t10\tzhǎngdà\n大\t60\tdà\n"
    "一\t90\tyī\n二\t20\tèr\n十\t20\tshí\n年\t30\tnián\n十分\t15\tshífēn\n分\t10\tfēn\n"
    "天气\t10\ttiānqì\n天\t20\ttiān\n气\t10\tqì\n研究生\t5\t\n研究\t10\tyánjiū\n生\t5\tshēng\n"
    "\xF0\xA0\x80\x80\t2\tkāo\n\xF0\xA0\x80\x80\xE6\x88\x91\t1\t\n";

inline const Lexicon& SmallLexicon() {
  static const Lexicon* lexicon = [] {
    auto* parsed = new Lexicon;
    const Status status = parsed->Parse(kSmallLexicon, "small-lexicon.tsv");
    TAMREL_FUZZ_CHECK(status.ok());
    return parsed;
  }();
  return *lexicon;
}

// The input bytes as UTF-16 units, two bytes (little-endian) a unit, so that any unit, unpaired
// surrogates included, can appear; an odd last byte is dropped.
inline std::u16string UnitsOf(const uint8_t* data, size_t size) {
  std::u16string text;
  text.reserve(size / 2);
  for (size_t i = 0; i + 1 < size; i += 2) text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
  return text;
}

// Tokens follow each other without gap or overlap from the first unit to the last, none is
// empty, and none ends inside a surrogate pair: every input unit is kept exactly once.
inline void CheckEveryUnitOnce(std::u16string_view text, const std::vector<Token>& tokens) {
  size_t at = 0;
  for (const Token& token : tokens) {
    TAMREL_FUZZ_CHECK(token.begin == at);
    TAMREL_FUZZ_CHECK(token.length > 0);
    const size_t end = token.begin + token.length;
    TAMREL_FUZZ_CHECK(end <= text.size());
    if (end < text.size()) {
      TAMREL_FUZZ_CHECK(
          !(text[end - 1] >= 0xD800 && text[end - 1] <= 0xDBFF && text[end] >= 0xDC00 && text[end] <= 0xDFFF));
    }
    at = end;
  }
  TAMREL_FUZZ_CHECK(at == text.size());
}

}  // namespace tamrel::fuzz
