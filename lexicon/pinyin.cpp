#include "lexicon/pinyin.h"

#include <algorithm>
#include <optional>

#include "lexicon/reading_context.h"
#include "text/code_points.h"
#include "text/pinyin_syllables.h"

namespace tamrel {

namespace {

// Chinese words and numbers are read; other tokens stand as they are.
bool IsRead(TokenKind kind) { return kind == TokenKind::kChinese || kind == TokenKind::kNumber; }

// The token's reading from the lexicon, syllables joined and no apostrophes.
std::u16string LexiconReading(const Lexicon& lexicon, std::u16string_view word, TokenKind kind) {
  if (!IsRead(kind)) return std::u16string(word);
  if (const Lexicon::Entry* entry = lexicon.FindWord(word); entry != nullptr && entry->readingCount > 0) {
    return std::u16string(lexicon.Reading(*entry));
  }
  // Not a word with a reading (a number such as 二〇〇一年, 2001年, or a character the lexicon
  // lacks): each character's common reading, and what has none as it stands.
  std::u16string reading;
  for (size_t at = 0; at < word.size();) {
    const size_t length = CharacterUnitsAt(word, at);
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

// Cuts a reading into one syllable per character, by backtracking: at each character the
// syllables tried are first the readings the lexicon gives that character, then any other
// syllable, longest first.
class SyllableCutter {
 public:
  SyllableCutter(const Lexicon& lexicon, std::u16string_view reading, std::vector<std::u16string_view> characters)
      : lexicon_(lexicon), reading_(reading), characters_(std::move(characters)) {
    for (char16_t c : reading_) {
      const std::optional<PinyinLetter> letter = ReadPinyinLetter(c);
      if (!letter) {
        valid_ = false;
        return;
      }
      letters_.push_back(letter->base);
      marked_.push_back(letter->tone != 0);
    }
  }

  // The start of each syllable in the reading, or nothing.
  std::optional<std::vector<size_t>> Cut() {
    if (!valid_ || characters_.empty() || characters_.size() > Lexicon::kMaxWordLength) return std::nullopt;
    starts_.clear();
    if (!CutFrom(0, 0)) return std::nullopt;
    return starts_;
  }

 private:
  bool IsSyllable(size_t at, size_t length, size_t character) const {
    size_t marks = 0;
    std::u16string letters;
    for (size_t k = at; k < at + length; ++k) {
      marks += marked_[k] ? 1 : 0;
      letters.push_back(letters_[k]);
    }
    if (marks > 1) return false;
    if (letters == u"r") return character > 0;
    return IsPinyinSyllable(letters);
  }

  bool CutFrom(size_t at, size_t character) {
    if (character == characters_.size()) return at == reading_.size();
    if (at >= reading_.size()) return false;
    const uint64_t key = static_cast<uint64_t>(at) << 32 | character;
    if (std::find(failed_.begin(), failed_.end(), key) != failed_.end()) return false;
    std::vector<size_t> lengths;
    if (const Lexicon::Entry* entry = lexicon_.FindWord(characters_[character]); entry != nullptr) {
      for (size_t r = 0; r < entry->readingCount; ++r) {
        const std::u16string_view own = lexicon_.Reading(*entry, r);
        if (!own.empty() && reading_.substr(at, own.size()) == own) lengths.push_back(own.size());
      }
    }
    constexpr size_t kLongestSyllable = 6;  // zhuang
    for (size_t length = std::min(kLongestSyllable, reading_.size() - at); length > 0; --length) {
      if (std::find(lengths.begin(), lengths.end(), length) == lengths.end()) lengths.push_back(length);
    }
    for (const size_t length : lengths) {
      if (!IsSyllable(at, length, character)) continue;
      starts_.push_back(at);
      if (CutFrom(at + length, character + 1)) return true;
      starts_.pop_back();
    }
    failed_.push_back(key);
    return false;
  }

  const Lexicon& lexicon_;
  std::u16string_view reading_;
  std::vector<std::u16string_view> characters_;
  std::u16string letters_;
  std::vector<bool> marked_;
  bool valid_ = true;
  std::vector<size_t> starts_;
  std::vector<uint64_t> failed_;
};

}  // namespace

std::u16string WithSyllableApostrophes(const Lexicon& lexicon, std::u16string_view word, std::u16string_view reading) {
  std::vector<std::u16string_view> characters;
  for (size_t at = 0; at < word.size();) {
    const size_t length = CharacterUnitsAt(word, at);
    if (!IsHan(CodePointAt(word, at).value)) {
      return std::u16string(reading);
    }
    characters.push_back(word.substr(at, length));
    at += length;
  }
  if (characters.size() < 2) return std::u16string(reading);
  SyllableCutter cutter(lexicon, reading, std::move(characters));
  const std::optional<std::vector<size_t>> starts = cutter.Cut();
  if (!starts) return std::u16string(reading);
  std::u16string out;
  size_t done = 0;
  for (size_t s = 1; s < starts->size(); ++s) {
    const size_t at = (*starts)[s];
    const std::optional<PinyinLetter> first = ReadPinyinLetter(reading[at]);
    if (!first || (first->base != 'a' && first->base != 'o' && first->base != 'e')) continue;
    out += reading.substr(done, at - done);
    out += u'\'';
    done = at;
  }
  out += reading.substr(done);
  return out;
}

std::u16string TokenPinyin(const Lexicon& lexicon, std::u16string_view text, const Token& token) {
  const std::u16string_view word = text.substr(token.begin, token.length);
  const std::u16string reading = LexiconReading(lexicon, word, token.kind);
  return IsRead(token.kind) ? WithSyllableApostrophes(lexicon, word, reading) : reading;
}

std::vector<std::u16string> Pinyin(const Lexicon& lexicon, std::u16string_view text, const std::vector<Token>& tokens) {
  std::vector<std::u16string_view> words;  // the tokens but white space, read together
  std::vector<std::u16string> readings;
  std::vector<size_t> read;  // the token of each entry of `words`
  for (size_t i = 0; i < tokens.size(); ++i) {
    if (tokens[i].kind == TokenKind::kSpace) continue;
    const std::u16string_view word = text.substr(tokens[i].begin, tokens[i].length);
    words.push_back(word);
    readings.push_back(LexiconReading(lexicon, word, tokens[i].kind));
    read.push_back(i);
  }
  ApplyReadingContext(words, readings);
  std::vector<std::u16string> out(tokens.size());
  for (size_t i = 0; i < tokens.size(); ++i) {
    if (tokens[i].kind == TokenKind::kSpace) out[i].assign(text.substr(tokens[i].begin, tokens[i].length));
  }
  for (size_t w = 0; w < words.size(); ++w) {
    const size_t i = read[w];
    out[i] = IsRead(tokens[i].kind) ? WithSyllableApostrophes(lexicon, words[w], readings[w]) : std::move(readings[w]);
  }
  return out;
}

}  // namespace tamrel
