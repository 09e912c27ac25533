#include "explorer/search_road.h"

#include <algorithm>
#include <string>
#include <vector>

#include "explorer/pinyin_query.h"
#include "lexicon/english_base_forms.h"
#include "lexicon/pinyin_syllables.h"
#include "lexicon/simplify.h"
#include "search/query.h"
#include "search/search_core.h"
#include "text/code_points.h"
#include "text/text_utils.h"

namespace tamrel {

namespace {

// Searches `query` (a query as the search command makes it) in the corpora the settings name;
// on success it becomes the result's query and results.
bool Search(std::u16string query, Language language, const CorpusIndex& bilingual, const CorpusIndex& monolingual,
            const SysSettings& settings, SearchCommandResult& result) {
  std::vector<ResultSentence> foundBilingual, foundMonolingual;
  if (settings.searchBilingual) SearchCorpus(query, bilingual, foundBilingual);
  if (settings.searchMonolingual) SearchCorpus(query, monolingual, foundMonolingual);
  if (foundBilingual.empty() && foundMonolingual.empty()) return false;
  result.query = std::move(query);
  result.language = language;
  result.bilingual = std::move(foundBilingual);
  result.monolingual = std::move(foundMonolingual);
  return true;
}

// The search of `text` as the search command runs it on typed text.
bool SearchText(std::u16string_view text, const CorpusIndex& bilingual, const CorpusIndex& monolingual,
                const SysSettings& settings, SearchCommandResult& result) {
  const Language language = DecideLanguage(text);
  return Search(QueryOfText(text, language, bilingual, monolingual, settings), language, bilingual, monolingual,
                settings, result);
}

bool IsSpaceAround(char16_t c) { return c == u' ' || c == u'\t' || c == 0x00A0 || c == 0x3000; }

std::u16string_view Trimmed(std::u16string_view text) {
  while (!text.empty() && IsSpaceAround(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsSpaceAround(text.back())) text.remove_suffix(1);
  return text;
}

std::u16string Quoted(std::u16string_view text) { return u"\"" + std::u16string(text) + u"\""; }

// OpenCC's converter, opened once for the process (opening reads its dictionaries); without its
// configuration the text stays as it is and this reading finds nothing new.
const Simplifier& SharedSimplifier() {
  static const Simplifier simplifier = [] {
    Simplifier opened;
    (void)opened.Open();
    return opened;
  }();
  return simplifier;
}

// `text` with each English word that no searched corpus holds replaced by the first of its base
// forms that one holds; empty when no word was replaced.
std::u16string BaseFormQuery(std::u16string_view text, const CorpusIndex& bilingual, const CorpusIndex& monolingual,
                             const SysSettings& settings) {
  const auto known = [&](std::u16string_view word) {
    const std::u16string key = u"2" + std::u16string(word);
    return (settings.searchBilingual && bilingual.HasKey(key)) ||
           (settings.searchMonolingual && monolingual.HasKey(key));
  };
  std::u16string out;
  bool replaced = false;
  std::u16string normalised;
  ForEachField<char16_t>(text, u" ", [&](std::u16string_view word) {
    if (!out.empty()) out += u' ';
    normalised = word;
    NormaliseWord(normalised);
    if (!normalised.empty() && !known(normalised)) {
      for (const std::u16string& base : EnglishBaseForms(normalised)) {
        if (!known(base)) continue;
        out += base;
        replaced = true;
        return;
      }
    }
    out += word;
  });
  return replaced ? out : std::u16string();
}

// The Chinese words `text` names as pinyin in the searched corpora.
std::optional<PinyinWords> PinyinWordsOf(std::u16string_view text, const CorpusIndex& bilingual,
                                         const CorpusIndex& monolingual, const SysSettings& settings) {
  std::vector<std::shared_ptr<const ReadingIndex>> held;
  if (settings.searchBilingual) held.push_back(ReadingsOf(bilingual));
  if (settings.searchMonolingual) held.push_back(ReadingsOf(monolingual));
  std::vector<const ReadingIndex*> readings;
  for (const auto& r : held) readings.push_back(r.get());
  return FindPinyinWords(text, readings);
}

bool TryPinyin(std::u16string_view text, const CorpusIndex& bilingual, const CorpusIndex& monolingual,
               const SysSettings& settings, SearchCommandResult& result) {
  const std::optional<PinyinWords> words = PinyinWordsOf(text, bilingual, monolingual, settings);
  if (!words || !Search(words->query, Language::kChinese, bilingual, monolingual, settings, result)) return false;
  result.searched = words->shown;
  result.notice = u"Showing results for the pinyin " + words->shown;
  return true;
}

bool TryTrimmed(std::u16string_view trimmed, const CorpusIndex& bilingual, const CorpusIndex& monolingual,
                const SysSettings& settings, SearchCommandResult& result) {
  if (!SearchText(trimmed, bilingual, monolingual, settings, result)) return false;
  result.route = SearchRoute::kTrimmed;
  result.searched = trimmed;
  result.notice = u"Showing results for " + Quoted(trimmed) + u", without the spaces around it";
  return true;
}

// `beforeTyped`: whether this reading comes before the search as typed, so that the notice does
// not claim the text as typed found nothing.
bool TrySimplified(std::u16string_view trimmed, bool beforeTyped, const CorpusIndex& bilingual,
                   const CorpusIndex& monolingual, const SysSettings& settings, SearchCommandResult& result) {
  if (!ContainsHan(trimmed)) return false;
  const std::u16string simplified = SharedSimplifier().ToSimplified(trimmed);
  if (simplified == trimmed || !SearchText(simplified, bilingual, monolingual, settings, result)) return false;
  result.route = SearchRoute::kSimplified;
  result.searched = simplified;
  result.notice = u"Showing results for " + simplified + u", in simplified characters";
  if (!beforeTyped) result.notice += u" (nothing was found for " + std::u16string(trimmed) + u")";
  return true;
}

// Each of `words` that the searched corpora hold, with how many of their sentences of the searched corpora hold it.
std::vector<OfferedReading> Counted(const std::vector<std::u16string>& words, const CorpusIndex& bilingual,
                                    const CorpusIndex& monolingual, const SysSettings& settings) {
  std::vector<OfferedReading> counted;
  for (const std::u16string& word : words) {
    size_t sentences = 0;
    if (settings.searchBilingual) sentences += CountSentences(bilingual, word);
    if (settings.searchMonolingual) sentences += CountSentences(monolingual, word);
    if (sentences > 0) counted.push_back({word, sentences});
  }
  // The commonest first; words as common keep the readings' order (the more frequent word first).
  std::stable_sort(counted.begin(), counted.end(),
                   [](const OfferedReading& a, const OfferedReading& b) { return a.sentences > b.sentences; });
  return counted;
}

}  // namespace

std::u16string QueryOfText(std::u16string_view text, Language language, const CorpusIndex& bilingual,
                           const CorpusIndex& monolingual, const SysSettings& settings) {
  if (language != Language::kChinese) return std::u16string(text);
  std::vector<const CorpusIndex*> dictionaries;
  if (settings.searchBilingual) dictionaries.push_back(&bilingual);
  if (settings.searchMonolingual || dictionaries.empty()) dictionaries.push_back(&monolingual);
  return SegmentQuery(dictionaries, text);
}

bool TakePlainerReading(std::u16string_view text, const CorpusIndex& bilingual, const CorpusIndex& monolingual,
                        const SysSettings& settings, SearchCommandResult& result) {
  const std::u16string_view trimmed = Trimmed(text);
  if (trimmed.empty()) return false;
  // " apple" is decided Chinese by its first character and searched letter by letter.
  if (trimmed.size() != text.size() && DecideLanguage(trimmed) != DecideLanguage(text) &&
      TryTrimmed(trimmed, bilingual, monolingual, settings, result)) {
    return true;
  }
  // Tone marks or tone digits on every syllable's run: nobody types English like that.
  if (const std::optional<PinyinText> pinyin = ReadPinyin(trimmed);
      pinyin && pinyin->toned && TryPinyin(trimmed, bilingual, monolingual, settings, result)) {
    result.route = SearchRoute::kPinyin;
    return true;
  }
  return TrySimplified(trimmed, true, bilingual, monolingual, settings, result);
}

void TakeSearchRoad(std::u16string_view text, const CorpusIndex& bilingual, const CorpusIndex& monolingual,
                    const SysSettings& settings, SearchCommandResult& result) {
  const std::u16string_view trimmed = Trimmed(text);
  if (trimmed.empty()) {
    result.route = SearchRoute::kNothingFound;
    return;
  }
  if (trimmed.size() != text.size() && TryTrimmed(trimmed, bilingual, monolingual, settings, result)) return;
  if (TryPinyin(trimmed, bilingual, monolingual, settings, result)) {
    result.route = SearchRoute::kPinyin;
    return;
  }
  if (TrySimplified(trimmed, false, bilingual, monolingual, settings, result)) return;
  if (DecideLanguage(trimmed) == Language::kEnglish) {
    const std::u16string base = BaseFormQuery(trimmed, bilingual, monolingual, settings);
    if (!base.empty() && Search(base, Language::kEnglish, bilingual, monolingual, settings, result)) {
      result.route = SearchRoute::kEnglishBaseForm;
      result.searched = base;
      result.notice = u"Showing results for " + Quoted(base) + u" (nothing was found for " + Quoted(trimmed) + u")";
      return;
    }
  }
  result.route = SearchRoute::kNothingFound;
}

void TakeBilingualReading(std::u16string_view text, const CorpusIndex& bilingual, const CorpusIndex& monolingual,
                          const SysSettings& settings, SearchCommandResult& result) {
  SysSettings bilingualOnly = settings;
  bilingualOnly.searchMonolingual = false;
  SearchCommandResult other;
  TakeSearchRoad(text, bilingual, monolingual, bilingualOnly, other);
  if (other.bilingual.empty()) return;
  result.bilingual = std::move(other.bilingual);
  result.bilingualQuery = other.query;
  const std::u16string_view shown = other.searched.empty() ? std::u16string_view(other.query) : other.searched;
  result.notice =
      u"Bilingual examples for " + Quoted(shown) + u" (no bilingual sentence holds " + Quoted(Trimmed(text)) + u")";
}

void OfferOtherReadings(std::u16string_view text, const CorpusIndex& bilingual, const CorpusIndex& monolingual,
                        const SysSettings& settings, SearchCommandResult& result) {
  const std::u16string_view trimmed = Trimmed(text);
  const bool asPinyin = result.route == SearchRoute::kPinyin;
  // English read as typed (or without its spaces); text read as pinyin offers its homophones.
  if (!asPinyin && (result.language != Language::kEnglish || result.route == SearchRoute::kEnglishBaseForm)) return;
  const std::optional<PinyinWords> words = PinyinWordsOf(trimmed, bilingual, monolingual, settings);
  if (!words || words->spans.size() != 1) return;
  if (asPinyin && words->spans.front().size() < 2) return;
  result.offer.readings = Counted(words->spans.front(), bilingual, monolingual, settings);
  if (asPinyin && result.offer.readings.size() < 2) {
    result.offer.readings.clear();
    return;
  }
  result.offer.intro = asPinyin ? Quoted(trimmed) + u" reads as several words; search one of them:"
                                : Quoted(trimmed) + u" is also pinyin:";
}

}  // namespace tamrel
