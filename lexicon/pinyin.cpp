#include "lexicon/pinyin.h"

namespace tamrel {

namespace {

size_t CodePointLength(std::u16string_view text, size_t at) {
  const char16_t unit = text[at];
  if (unit >= 0xD800 && unit <= 0xDBFF && at + 1 < text.size() && text[at + 1] >= 0xDC00 && text[at + 1] <= 0xDFFF) {
    return 2;
  }
  return 1;
}

}  // namespace

std::u16string TokenPinyin(const Lexicon& lexicon, std::u16string_view text, const Token& token) {
  const std::u16string_view word = text.substr(token.begin, token.length);
  if (token.kind != TokenKind::kChinese && token.kind != TokenKind::kNumber) return std::u16string(word);
  if (const Lexicon::Entry* entry = lexicon.FindWord(word); entry != nullptr && entry->readingCount > 0) {
    return std::u16string(lexicon.Reading(*entry));
  }
  // Not a word with a reading (a number such as 二〇〇一年, 2001年, or a character the lexicon
  // lacks): each character's common reading, and what has none as it stands.
  std::u16string reading;
  for (size_t at = 0; at < word.size();) {
    const size_t length = CodePointLength(word, at);
    const std::u16string_view character = word.substr(at, length);
    const Lexicon::Entry* entry = lexicon.FindWord(character);
    if (entry != nullptr && entry->readingCount > 0) {
      reading += lexicon.Reading(*entry);
    } else {
      reading += character;
    }
    at += length;
  }
  return reading;
}

std::vector<std::u16string> Pinyin(const Lexicon& lexicon, std::u16string_view text, const std::vector<Token>& tokens) {
  std::vector<std::u16string> readings;
  readings.reserve(tokens.size());
  for (const Token& token : tokens) readings.push_back(TokenPinyin(lexicon, text, token));
  return readings;
}

}  // namespace tamrel
