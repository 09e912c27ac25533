// English to the Chinese words that translate it: the entries whose senses hold the typed word
// (or phrase) as whole words, the most central first. Built once from a DictionaryFile, whose
// senses it files by their lower-case words.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "dictionary/dictionary_file.h"

namespace tamrel {

class EnglishLookup {
 public:
  explicit EnglishLookup(const DictionaryFile& file);

  // The indexes of the entries whose own senses hold `text` (letters a-z in any case; other
  // characters separate its words), at most `limit`, best first. An entry ranks higher when the
  // sense part holding the text is the text alone ("apple"; "to study"), comes early among the
  // entry's senses, is short, is not marked literary, old or dialect, and when the word is
  // frequent; proper nouns and cross-reference senses come last or not at all. When the text is
  // one word, its English base forms (lexicon/english_base_forms.h) are looked up too, a little
  // below the word itself (studies finds 学习). Empty when the text has no letters.
  // `central`, when given, tells whether an entry returned has a sense part that is the text
  // alone (it is then a translation, not only a word that some sense mentions).
  std::vector<size_t> Find(std::u16string_view text, size_t limit, bool* central = nullptr) const;

  // How central the best sense of entry `i` holding `words` is, lower for better (below
  // kCentralScore: a sense part that is the words alone); negative when no sense holds them.
  double SenseScore(size_t i, const std::vector<std::string>& words) const;
  static constexpr double kCentralScore = 4.0;

 private:
  // An entry whose senses hold a word: how central its best sense part for the word is
  // (SenseScore of the word alone), and that with what the entry's frequency and kind add.
  struct Posting {
    uint32_t entry;
    float sense;
    float total;
    bool proper;
  };

  const DictionaryFile& file_;
  // Entries by the lower-case words of their senses, best total first.
  std::unordered_map<std::string, std::vector<Posting>> byWord_;
};

// The lower-case words of `text`: its runs of ASCII letters, leaving out the pinyin of the
// references to other entries ("[xian3]"), which is no English.
std::vector<std::string> EnglishWords(std::string_view text);

}  // namespace tamrel
