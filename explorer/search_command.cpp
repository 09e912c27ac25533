#include "explorer/search_command.h"

#include <algorithm>

#include "explorer/not_found_page.h"
#include "explorer/result_page.h"
#include "search/query.h"

namespace tamrel {

namespace {

// Searches `query` in the corpora `settings` names; true when either found a sentence.
bool SearchReading(std::u16string_view query, const SearchSources& sources, const SysSettings& settings,
                   std::vector<ResultSentence>& bilingual, std::vector<ResultSentence>& monolingual) {
  if (settings.searchBilingual) SearchCorpus(query, sources.bilingual, bilingual);
  if (settings.searchMonolingual) SearchCorpus(query, sources.monolingual, monolingual);
  return !bilingual.empty() || !monolingual.empty();
}

void Take(TypedReading reading, SearchCommandResult& result) {
  result.route = reading.route;
  result.language = reading.language;
  result.query = std::move(reading.query);
  result.searched = std::move(reading.searched);
  result.notice = std::move(reading.notice);
}

// For a result that found monolingual sentences but no bilingual ones although the bilingual
// corpus is searched: the readings after the text as typed, tried on the bilingual corpus alone;
// the first that finds bilingual sentences gives them, the monolingual ones staying as found.
void TakeBilingualReading(std::u16string_view text, const SearchSources& sources, const SysSettings& settings,
                          SearchCommandResult& result) {
  SysSettings bilingualOnly = settings;
  bilingualOnly.searchMonolingual = false;
  TypedReadings readings(text, sources, bilingualOnly, TypedReadings::Start::kAfterAsTyped);
  while (std::optional<TypedReading> reading = readings.Next()) {
    std::vector<ResultSentence> bilingual, none;
    if (!SearchReading(reading->query, sources, bilingualOnly, bilingual, none)) continue;
    result.bilingual = std::move(bilingual);
    result.bilingualQuery = reading->query;
    const std::u16string_view shown = reading->searched.empty() ? reading->query : reading->searched;
    result.notice = u"Bilingual examples for " + Quoted(shown) + u" (no bilingual sentence holds " +
                    Quoted(WithoutSpacesAround(text)) + u")";
    return;
  }
}

// Each of `words` that the searched corpora hold, with how many of their sentences do, the
// commonest first (words as common keep the readings' order, the more frequent word first).
std::vector<OfferedReading> Counted(const std::vector<std::u16string>& words, const SearchSources& sources,
                                    const SysSettings& settings) {
  std::vector<OfferedReading> counted;
  for (const std::u16string& word : words) {
    size_t sentences = 0;
    if (settings.searchBilingual) sentences += CountSentences(sources.bilingual, word);
    if (settings.searchMonolingual) sentences += CountSentences(sources.monolingual, word);
    if (sentences > 0) counted.push_back({word, sentences});
  }
  std::stable_sort(counted.begin(), counted.end(),
                   [](const OfferedReading& a, const OfferedReading& b) { return a.sentences > b.sentences; });
  return counted;
}

// For a search that found sentences: the Chinese words of an English text that is also pinyin
// (one word's reading: "shi", "ma", "women"), or each word of a pinyin text whose one word
// position reads as several words (shi4: 是 事 试 市 室).
void OfferOtherReadings(std::u16string_view text, const SearchSources& sources, const SysSettings& settings,
                        SearchCommandResult& result) {
  const std::u16string_view trimmed = WithoutSpacesAround(text);
  const bool asPinyin = result.route == SearchRoute::kPinyin;
  // English read as typed (or without its spaces); text read as pinyin offers its homophones.
  if (!asPinyin && (result.language != Language::kEnglish || result.route == SearchRoute::kEnglishBaseForm)) return;
  const std::optional<PinyinWords> words = PinyinWordsOf(trimmed, sources, settings);
  if (!words || words->spans.size() != 1) return;
  if (asPinyin && words->spans.front().size() < 2) return;
  std::vector<OfferedReading> offered = Counted(words->spans.front(), sources, settings);
  if (offered.empty() || (asPinyin && offered.size() < 2)) return;
  result.offer.readings = std::move(offered);
  result.offer.intro = asPinyin ? Quoted(trimmed) + u" reads as several words; search one of them:"
                                : Quoted(trimmed) + u" is also pinyin:";
}

PageReading PageReadingOf(const SearchCommandResult& result) {
  PageReading reading(result.notice);
  reading.offer = result.offer;
  reading.bilingualQuery = result.bilingualQuery;
  return reading;
}

}  // namespace

SearchCommandResult RunSearchCommand(std::u16string_view text, const SearchSources& sources,
                                     const SysSettings& settings, const std::filesystem::path& pagePath,
                                     const PageOptions& pageOptions, size_t offset) {
  SearchCommandResult result;
  result.typed = text;
  result.offset = offset;
  TypedReadings readings(text, sources, settings);
  while (std::optional<TypedReading> reading = readings.Next()) {
    const bool asTyped = reading->route == SearchRoute::kAsTyped;
    if (SearchReading(reading->query, sources, settings, result.bilingual, result.monolingual)) {
      Take(std::move(*reading), result);
      break;
    }
    // Found by nothing, the text is named as the search as typed read it.
    if (asTyped) Take(std::move(*reading), result);
  }
  if (result.found()) {
    if (settings.searchBilingual && result.bilingual.empty()) TakeBilingualReading(text, sources, settings, result);
    OfferOtherReadings(text, sources, settings, result);
    // A later page is the same search, read from further down: the reading is the one the first
    // page found.
    if (offset > 0) {
      result.bilingual.clear();
      result.monolingual.clear();
      const std::u16string& bilingualQuery = result.bilingualQuery.empty() ? result.query : result.bilingualQuery;
      if (settings.searchBilingual) SearchCorpus(bilingualQuery, sources.bilingual, result.bilingual, offset);
      if (settings.searchMonolingual) SearchCorpus(result.query, sources.monolingual, result.monolingual, offset);
      if (!result.found()) return result;  // no page after the last one
    }
  } else {
    result.route = SearchRoute::kNothingFound;
    result.searched.clear();
    result.notice.clear();
  }
  result.searchedAt = std::chrono::steady_clock::now();
  if (!pagePath.empty()) {
    // Found as typed, the notice is empty and the page is the plain result page.
    result.pageFile = result.found() ? pagePath : NotFoundPageFileName(pagePath);
    const Status written = result.found()
                               ? WriteResultPage(result.query, result.language, result.bilingual, result.monolingual,
                                                 pagePath, settings, pageOptions, PageReadingOf(result))
                               : WritePage(RenderNotFoundPage(text), result.pageFile);
    result.page = written.ok() ? PageResult::kWritten : PageResult::kFailed;
  }
  return result;
}

}  // namespace tamrel
