// Query preparation, search and the result page on arbitrary typed text: the input is the query
// as UTF-8, searched in both small corpora (built once per process). Checked: the search command
// agrees with the steps run one by one wherever they find sentences, and otherwise takes another
// reading or says nothing was found; normalising twice changes nothing, segmentation keeps every
// unit of the text, pinyin read from the text cuts into syllables of the table, and the page
// title and the not-found page show the query escaped (no raw < > " inside it).
#include <algorithm>

#include "explorer/not_found_page.h"
#include "explorer/result_page.h"
#include "explorer/search_command.h"
#include "explorer/typed_readings.h"
#include "fuzz/fuzz_support.h"
#include "search/query.h"
#include "text/pinyin_syllables.h"
#include "text/text_utils.h"

namespace {

struct Corpora {
  tamrel::CorpusIndex bilingual;
  tamrel::CorpusIndex monolingual;
};

const Corpora& SmallCorpora() {
  static const Corpora corpora = [] {
    using namespace tamrel;
    const std::filesystem::path& root = fuzz::RuntimeFolder();
    fuzz::BuildSmallCorpus(root, kTagBilingual);
    fuzz::BuildSmallCorpus(root, kTagMonolingual);
    Corpora loaded{CorpusIndex(root, kTagBilingual), CorpusIndex(root, kTagMonolingual)};
    const Status bi = LoadCorpus(loaded.bilingual);
    const Status mo = LoadCorpus(loaded.monolingual);
    TAMREL_FUZZ_CHECK(bi.ok() && mo.ok());
    return loaded;
  }();
  return corpora;
}

std::u16string WithoutSpaces(std::u16string text) {
  text.erase(std::remove(text.begin(), text.end(), u' '), text.end());
  return text;
}

// The text between the page's title opening and its closing quote.
std::u16string_view Title(std::u16string_view page) {
  constexpr std::u16string_view kOpen = u"The results for \"";
  constexpr std::u16string_view kClose = u"\" </font></a>:\n";
  const size_t open = page.find(kOpen);
  TAMREL_FUZZ_CHECK(open != std::u16string_view::npos);
  const size_t begin = open + kOpen.size();
  const size_t end = page.find(kClose, begin);
  TAMREL_FUZZ_CHECK(end != std::u16string_view::npos);
  return page.substr(begin, end - begin);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tamrel;
  const Corpora& corpora = SmallCorpora();
  const std::u16string text = Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(data), size));
  if (text.empty()) return 0;  // the window and the CLI never search empty text

  SysSettings settings;  // every option on: both corpora searched, both sections shown
  const Language language = DecideLanguage(text);
  static const Simplifier simplifier = [] {
    Simplifier opened;
    (void)opened.Open();
    return opened;
  }();
  const SearchSources sources{corpora.bilingual, corpora.monolingual, simplifier};
  std::u16string query = QueryOfText(text, language, sources, settings);
  if (language == Language::kChinese) TAMREL_FUZZ_CHECK(WithoutSpaces(query) == WithoutSpaces(text));
  NormaliseQuery(query);
  std::u16string twice = query;
  NormaliseQuery(twice);
  TAMREL_FUZZ_CHECK(twice == query);
  for (const std::u16string& term : SplitTerms(query)) (void)TermKey(term);

  std::vector<ResultSentence> bilingual, monolingual;
  std::u16string searched = query;
  SearchCorpus(searched, corpora.bilingual, bilingual);
  TAMREL_FUZZ_CHECK(searched == query);
  SearchCorpus(searched, corpora.monolingual, monolingual);
  TAMREL_FUZZ_CHECK(bilingual.size() <= kMaxResults && monolingual.size() <= kMaxResults);

  const SearchCommandResult command = RunSearchCommand(text, sources, settings, {});
  TAMREL_FUZZ_CHECK(command.page == PageResult::kNotAsked);
  TAMREL_FUZZ_CHECK(command.typed == text);
  if (!bilingual.empty() || !monolingual.empty()) {
    if (command.route == SearchRoute::kAsTyped) {
      TAMREL_FUZZ_CHECK(command.language == language);
      TAMREL_FUZZ_CHECK(command.query == query);
      TAMREL_FUZZ_CHECK(command.monolingual == monolingual);
      if (command.bilingualQuery.empty()) {
        TAMREL_FUZZ_CHECK(command.notice.empty());
        TAMREL_FUZZ_CHECK(command.bilingual == bilingual);
      } else {
        // The bilingual corpus found nothing as typed and another reading found something there.
        TAMREL_FUZZ_CHECK(bilingual.empty() && !command.bilingual.empty() && !command.notice.empty());
      }
    } else {
      // Only a reading the language decision misreads comes before the text as typed: English without the spaces around
      // it, pinyin with tones, simplified characters; and it found something.
      TAMREL_FUZZ_CHECK(command.route == SearchRoute::kTrimmed || command.route == SearchRoute::kPinyin ||
                        command.route == SearchRoute::kSimplified);
      TAMREL_FUZZ_CHECK(command.found() && !command.notice.empty());
    }
  } else {
    TAMREL_FUZZ_CHECK(command.route != SearchRoute::kAsTyped);
    TAMREL_FUZZ_CHECK(command.found() == (command.route != SearchRoute::kNothingFound));
    TAMREL_FUZZ_CHECK(command.found() == !command.notice.empty());
    TAMREL_FUZZ_CHECK(command.bilingual.size() <= kMaxResults && command.monolingual.size() <= kMaxResults);
    const std::u16string notFound = RenderNotFoundPage(text);
    const size_t open = notFound.find(u"<span class=\"query\">");
    const size_t close = notFound.find(u"</span>", open);
    TAMREL_FUZZ_CHECK(open != std::u16string::npos && close != std::u16string::npos);
    const std::u16string_view named = std::u16string_view(notFound).substr(open + 20, close - open - 20);
    TAMREL_FUZZ_CHECK(named.find_first_of(u"<>\"") == std::u16string_view::npos);
  }
  if (const auto pinyin = ReadPinyin(text)) {
    TAMREL_FUZZ_CHECK(!pinyin->syllables.empty() && pinyin->syllables.size() <= kMaxPinyinSyllables);
    for (const PinyinSyllable& s : pinyin->syllables) {
      TAMREL_FUZZ_CHECK(IsPinyinSyllable(s.letters) || s.letters == u"lve" || s.letters == u"nve");
      TAMREL_FUZZ_CHECK(s.tone >= 0 && s.tone <= 5);
    }
  }

  // The settings vary with the input so that every page layout is rendered.
  settings.showPinyin = (size & 1) != 0;
  settings.searchBilingual = (size & 2) == 0;
  settings.searchMonolingual = (size & 4) == 0;
  const std::u16string page = RenderResultPage(query, language, bilingual, monolingual, settings);
  const std::u16string_view title = Title(page);
  TAMREL_FUZZ_CHECK(title.find_first_of(u"<>\"") == std::u16string_view::npos);
  TAMREL_FUZZ_CHECK(title == HtmlEscape(query));
  return 0;
}
