// The readings of a typed text, in the order a search tries them, the text as typed being one of
// them: first those the language decision plainly misreads (English with spaces around it is
// decided Chinese, pinyin with tones would be searched as English, traditional characters are in
// no simplified corpus), then the text as typed, then the text without the spaces around it, as
// pinyin, and its English words as their base forms. The first reading that finds sentences is
// shown, and the page says which.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "corpus/corpus_index.h"
#include "explorer/pinyin_query.h"
#include "explorer/search_result.h"
#include "lexicon/simplify.h"
#include "search/sentence_levels.h"
#include "settings/sys_settings.h"

namespace tamrel {

// What a search reads: the two loaded corpora and the converter of traditional characters, which
// its owner opens (a closed one leaves text as it is, so that reading finds nothing new).
struct SearchSources {
  const CorpusIndex& bilingual;
  const CorpusIndex& monolingual;
  const Simplifier& simplifier;
  // The learner's level, with each corpus's sentence levels: inactive (corpus order) unless set.
  LevelRanking bilingualLevels = {};
  LevelRanking monolingualLevels = {};
};

// One way of reading the typed text: what is searched, and how the page names it.
struct TypedReading {
  SearchRoute route = SearchRoute::kAsTyped;
  Language language = Language::kEnglish;
  std::u16string query;     // the query as the search takes it (Chinese cut into words)
  std::u16string searched;  // for the routes after kAsTyped: what the page says was searched
  std::u16string notice;    // for those routes: the page's first line
};

// The query of `text` read in `language`: Chinese text cut into the words of every corpus the
// settings search (the monolingual one's when they search none), so that a word only one of
// them holds stays whole; other text as it is.
std::u16string QueryOfText(std::u16string_view text, Language language, const SearchSources& sources,
                           const SysSettings& settings);

// The readings of one typed text, each made only when it is asked for, so that a text found as
// typed costs no other reading.
class TypedReadings {
 public:
  enum class Start {
    kFirst,         // every reading
    kAfterAsTyped,  // the readings tried when the text as typed found nothing
  };
  TypedReadings(std::u16string_view text, const SearchSources& sources, const SysSettings& settings,
                Start start = Start::kFirst);

  // The next reading to try, or nothing when none is left. A reading whose search would repeat an
  // earlier one's (the same language and query) is passed over: it would find the same nothing.
  std::optional<TypedReading> Next();

 private:
  enum class Step { kTrimmedFirst, kTonedPinyin, kSimplified, kAsTyped, kTrimmed, kPinyin, kBaseForm, kDone };
  std::optional<TypedReading> Make(Step step) const;
  std::optional<TypedReading> Trimmed() const;
  std::optional<TypedReading> Pinyin() const;
  bool Known(std::u16string_view englishWord) const;

  std::u16string_view text_;
  std::u16string_view trimmed_;   // the text without the spaces around it
  const SearchSources& sources_;  // outlives the readings, as the text does
  SysSettings settings_;
  Step step_;
  std::vector<std::pair<Language, std::u16string>> tried_;  // normalised queries already given
};

// The Chinese words `text` names as pinyin in the corpora the settings search.
std::optional<PinyinWords> PinyinWordsOf(std::u16string_view text, const SearchSources& sources,
                                         const SysSettings& settings);

// `text` between double quotes, as notices name what was typed or searched.
std::u16string Quoted(std::u16string_view text);

// The text without the spaces, tabs, no-break and ideographic spaces around it.
std::u16string_view WithoutSpacesAround(std::u16string_view text);

}  // namespace tamrel
