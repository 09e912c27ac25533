// What the window's word panel shows after a search and for a hovered word: the dictionary
// entries of the Chinese words searched, the Chinese words that translate an English query (each
// a link that searches it), or the words a pinyin text reads as with their sentence counts; and
// the panel's HTML (plain text in, escaped; Qt shows it).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary/dictionary.h"
#include "explorer/search_result.h"

namespace tamrel {

struct WordPanelContent {
  enum class Kind { kNothing, kEntries, kTranslations, kReadings };
  Kind kind = Kind::kNothing;
  std::u16string heading;                // what was looked up
  std::vector<DictionaryEntry> entries;  // in the order shown
  std::vector<uint32_t> counts;          // kReadings: the sentences holding each entry's word
};

// The words the panel shows around the dictionary's own text, in the window's language: English
// here; the window fills them with its translations. "%1" stands for the word, count or level.
struct WordPanelLabels {
  std::u16string noEntry = u"No dictionary entry for %1.";
  std::u16string hsk = u"HSK %1";
  std::u16string characterHsk = u"character: HSK %1";  // a one-character word's character
  std::u16string sentences = u"(%1 sentences)";
  std::u16string classifiers = u"CL:";
  std::u16string veryCommon = u"very common";
  std::u16string common = u"common";
  std::u16string lessCommon = u"less common";
  std::u16string rare = u"rare";
};

// How many Chinese words of a query, and how many translations or readings, the panel shows.
inline constexpr size_t kPanelWords = 3;
inline constexpr size_t kPanelChoices = 8;

// The content for the search `result` (a search that found nothing shows nothing): a Chinese
// query's words (at most kPanelWords), a pinyin query's readings ranked by `count`, an English
// query's translations. A damaged dictionary line shows what was read before it.
WordPanelContent WordPanelContentFor(const Dictionary& dictionary, const SearchCommandResult& result,
                                     const SentenceCount& count);

// The entries of the Chinese `word` (a hovered word).
WordPanelContent WordPanelContentOfWord(const Dictionary& dictionary, std::u16string_view word);

// The panel's HTML: each entry with its word, traditional form, pinyin, an HSK badge (and for a
// character whose own level differs, the character's), how common
// it is, its numbered senses (selectable text), the senses a reference leads to, and classifiers;
// translations and readings are links that search their word. Its own words are `labels`.
std::u16string WordPanelHtml(const WordPanelContent& content, const WordPanelLabels& labels = {});

// The tooltip of a hovered word: "苹果 píngguǒ: apple", its first entry's first sense; empty
// when there is no entry.
std::u16string WordGloss(const WordPanelContent& content);

}  // namespace tamrel
