#include "explorer/search_command.h"

#include "explorer/not_found_page.h"
#include "explorer/result_page.h"
#include "explorer/search_road.h"
#include "search/query.h"

namespace tamrel {

namespace {

PageReading PageReadingOf(const SearchCommandResult& result) {
  PageReading reading(result.notice);
  reading.offer = result.offer;
  reading.bilingualQuery = result.bilingualQuery;
  return reading;
}

}  // namespace

SearchCommandResult RunSearchCommand(std::u16string_view text, const CorpusIndex& bilingual,
                                     const CorpusIndex& monolingual, const SysSettings& settings,
                                     const std::filesystem::path& pagePath, const PageOptions& pageOptions) {
  SearchCommandResult result;
  result.typed = text;
  if (!TakePlainerReading(text, bilingual, monolingual, settings, result)) {
    result.language = DecideLanguage(text);
    result.query = QueryOfText(text, result.language, bilingual, monolingual, settings);
    if (settings.searchBilingual) SearchCorpus(result.query, bilingual, result.bilingual);
    if (settings.searchMonolingual) SearchCorpus(result.query, monolingual, result.monolingual);
    if (!result.found()) TakeSearchRoad(text, bilingual, monolingual, settings, result);
  }
  if (result.found()) {
    if (settings.searchBilingual && result.bilingual.empty()) {
      TakeBilingualReading(text, bilingual, monolingual, settings, result);
    }
    OfferOtherReadings(text, bilingual, monolingual, settings, result);
  }
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
