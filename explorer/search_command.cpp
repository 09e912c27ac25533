#include "explorer/search_command.h"

#include "explorer/result_page.h"
#include "search/query.h"

namespace tamrel {

SearchCommandResult RunSearchCommand(std::u16string_view text, const CorpusIndex& bilingual,
                                     const CorpusIndex& monolingual, const SysSettings& settings,
                                     const std::filesystem::path& pagePath, const PageOptions& pageOptions) {
  SearchCommandResult result;
  result.language = DecideLanguage(text);
  result.query = result.language == Language::kChinese ? SegmentQuery(monolingual, text) : std::u16string(text);
  if (settings.searchBilingual) SearchCorpus(result.query, bilingual, result.bilingual);
  if (settings.searchMonolingual) SearchCorpus(result.query, monolingual, result.monolingual);
  if (result.found() && !pagePath.empty()) {
    const Status written = WriteResultPage(result.query, result.language, result.bilingual, result.monolingual,
                                           pagePath, settings, pageOptions);
    result.page = written.ok() ? PageResult::kWritten : PageResult::kFailed;
  }
  return result;
}

}  // namespace tamrel
