// What the Search command found: the reading of the typed text that found the sentences shown,
// the sentences of each corpus, the readings the page offers instead, and what became of the
// result page.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "corpus/corpus_index.h"
#include "explorer/result_page.h"
#include "search/search_core.h"

namespace tamrel {

// What became of the result page of a search.
enum class PageResult {
  kNotAsked,  // nothing was found, or no page was asked for
  kWritten,
  kFailed,  // the page file could not be written
};

// Which reading of the typed text found the sentences shown.
enum class SearchRoute {
  kAsTyped,          // the text as typed, by the language decision
  kTrimmed,          // without the spaces before and after it
  kPinyin,           // as pinyin, searched as the Chinese words with that reading
  kSimplified,       // traditional characters converted to simplified ones
  kEnglishBaseForm,  // English words as their base forms (apples -> apple, went -> go)
  kNothingFound,     // none found anything
};

struct SearchCommandResult {
  std::u16string query;  // as searched (segmented, normalised): the history entry, the page's title
  Language language = Language::kEnglish;
  std::vector<ResultSentence> bilingual;
  std::vector<ResultSentence> monolingual;
  PageResult page = PageResult::kNotAsked;
  std::filesystem::path pageFile;  // the page written or tried: the result page, or when nothing
                                   // was found the not-found page beside it
  SearchRoute route = SearchRoute::kAsTyped;
  std::u16string typed;     // the text as typed
  std::u16string searched;  // for the routes after kAsTyped: what was searched, as the page shows
                            // it ("apple", "nǐhǎo: 你好", "天气")
  std::u16string notice;    // for those routes: the line that starts the page, "Showing results
                            // for ..."; plain text
  // When the bilingual corpus found nothing for the text as searched and another reading found
  // bilingual sentences (wolves -> wolf): what they were found with; empty otherwise. The
  // monolingual sentences stay those of `query`.
  std::u16string bilingualQuery;
  // The other readings of the text that the page offers as links: its Chinese words when an
  // English text is also pinyin ("shi": 是 十 时 ...), or each word of a pinyin text that reads
  // as several (shi4: 是 事 试 市 室).
  ReadingOffer offer;
  // The page of results: 0 for the best 20 of each corpus, 20 for the next 20, and so on. A later
  // page that holds no sentence (the search found fewer) writes no page.
  size_t offset = 0;
  // When the search ended and the writing of its page began (the window's trace of a search).
  std::chrono::steady_clock::time_point searchedAt;
  // Only a search that found sentences goes into the history.
  bool found() const { return !bilingual.empty() || !monolingual.empty(); }
  // Whether a later page may hold more: a corpus gave a whole page.
  bool mayHaveMore() const { return bilingual.size() == kMaxResults || monolingual.size() == kMaxResults; }
};

}  // namespace tamrel
