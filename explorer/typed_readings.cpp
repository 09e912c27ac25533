#include "explorer/typed_readings.h"

#include <algorithm>

#include "lexicon/english_base_forms.h"
#include "search/query.h"
#include "text/code_points.h"
#include "text/pinyin_syllables.h"
#include "text/text_utils.h"

namespace tamrel {

namespace {

bool IsSpaceAround(char16_t c) { return c == u' ' || c == u'\t' || c == 0x00A0 || c == 0x3000; }

// A reading of `text` as the language decision reads it.
TypedReading ReadAsDecided(std::u16string_view text, SearchRoute route, const SearchSources& sources,
                           const SysSettings& settings) {
  TypedReading reading;
  reading.route = route;
  reading.language = DecideLanguage(text);
  reading.query = QueryOfText(text, reading.language, sources, settings);
  return reading;
}

}  // namespace

std::u16string Quoted(std::u16string_view text) { return u"\"" + std::u16string(text) + u"\""; }

std::u16string_view WithoutSpacesAround(std::u16string_view text) {
  while (!text.empty() && IsSpaceAround(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsSpaceAround(text.back())) text.remove_suffix(1);
  return text;
}

std::u16string QueryOfText(std::u16string_view text, Language language, const SearchSources& sources,
                           const SysSettings& settings) {
  if (language != Language::kChinese) return std::u16string(text);
  std::vector<const CorpusIndex*> dictionaries;
  if (settings.searchBilingual) dictionaries.push_back(&sources.bilingual);
  if (settings.searchMonolingual || dictionaries.empty()) dictionaries.push_back(&sources.monolingual);
  return SegmentQuery(dictionaries, text);
}

std::optional<PinyinWords> PinyinWordsOf(std::u16string_view text, const SearchSources& sources,
                                         const SysSettings& settings) {
  std::vector<std::shared_ptr<const ReadingIndex>> held;
  if (settings.searchBilingual) held.push_back(sources.bilingual.readings());
  if (settings.searchMonolingual) held.push_back(sources.monolingual.readings());
  std::vector<const ReadingIndex*> readings;
  for (const auto& r : held) readings.push_back(r.get());
  return FindPinyinWords(text, readings);
}

TypedReadings::TypedReadings(std::u16string_view text, const SearchSources& sources, const SysSettings& settings,
                             Start start)
    : text_(text),
      trimmed_(WithoutSpacesAround(text)),
      sources_(sources),
      settings_(settings),
      step_(start == Start::kFirst ? Step::kTrimmedFirst : Step::kTrimmed) {}

std::optional<TypedReading> TypedReadings::Next() {
  while (step_ != Step::kDone) {
    const Step step = step_;
    step_ = static_cast<Step>(static_cast<int>(step_) + 1);
    std::optional<TypedReading> reading = Make(step);
    if (!reading) continue;
    // The search normalises the query; so does the comparison with what was tried (only when a
    // corpus is searched, since the query is then shown normalised).
    if (settings_.searchBilingual || settings_.searchMonolingual) NormaliseQuery(reading->query);
    std::pair<Language, std::u16string> key{reading->language, reading->query};
    if (std::find(tried_.begin(), tried_.end(), key) != tried_.end()) continue;
    tried_.push_back(std::move(key));
    return reading;
  }
  return std::nullopt;
}

std::optional<TypedReading> TypedReadings::Make(Step step) const {
  // Text of spaces alone is read as typed and no other way.
  if (trimmed_.empty() && step != Step::kAsTyped) return std::nullopt;
  switch (step) {
    case Step::kTrimmedFirst:
      // " apple" is decided Chinese by its first character and searched letter by letter.
      if (DecideLanguage(trimmed_) == DecideLanguage(text_)) return std::nullopt;
      return Trimmed();
    case Step::kTonedPinyin: {
      // Tone marks or tone digits on every syllable's run: nobody types English like that.
      const std::optional<PinyinText> pinyin = ReadPinyin(trimmed_);
      if (!pinyin || !pinyin->toned) return std::nullopt;
      return Pinyin();
    }
    case Step::kSimplified: {
      if (!ContainsHan(trimmed_)) return std::nullopt;
      const std::u16string simplified = sources_.simplifier.ToSimplified(trimmed_);
      if (simplified == trimmed_) return std::nullopt;
      TypedReading reading = ReadAsDecided(simplified, SearchRoute::kSimplified, sources_, settings_);
      reading.searched = simplified;
      reading.notice = u"Showing results for " + simplified + u", in simplified characters";
      return reading;
    }
    case Step::kAsTyped:
      return ReadAsDecided(text_, SearchRoute::kAsTyped, sources_, settings_);
    case Step::kTrimmed:
      return Trimmed();
    case Step::kPinyin:
      return Pinyin();
    case Step::kBaseForm: {
      if (DecideLanguage(trimmed_) != Language::kEnglish) return std::nullopt;
      // Each English word that no searched corpus holds replaced by the first of its base forms
      // that one holds.
      std::u16string base;
      bool replaced = false;
      ForEachField<char16_t>(trimmed_, u" ", [&](std::u16string_view word) {
        if (!base.empty()) base += u' ';
        std::u16string normalised(word);
        NormaliseWord(normalised);
        if (!normalised.empty() && !Known(normalised)) {
          for (const std::u16string& form : EnglishBaseForms(normalised)) {
            if (!Known(form)) continue;
            base += form;
            replaced = true;
            return;
          }
        }
        base += word;
      });
      if (!replaced) return std::nullopt;
      TypedReading reading;
      reading.route = SearchRoute::kEnglishBaseForm;
      reading.language = Language::kEnglish;
      reading.query = base;
      reading.searched = base;
      reading.notice = u"Showing results for " + Quoted(base) + u" (nothing was found for " + Quoted(trimmed_) + u")";
      return reading;
    }
    case Step::kDone:
      break;
  }
  return std::nullopt;
}

std::optional<TypedReading> TypedReadings::Trimmed() const {
  if (trimmed_.size() == text_.size()) return std::nullopt;
  TypedReading reading = ReadAsDecided(trimmed_, SearchRoute::kTrimmed, sources_, settings_);
  reading.searched = trimmed_;
  reading.notice = u"Showing results for " + Quoted(trimmed_) + u", without the spaces around it";
  return reading;
}

std::optional<TypedReading> TypedReadings::Pinyin() const {
  const std::optional<PinyinWords> words = PinyinWordsOf(trimmed_, sources_, settings_);
  if (!words) return std::nullopt;
  TypedReading reading;
  reading.route = SearchRoute::kPinyin;
  reading.language = Language::kChinese;
  reading.query = words->query;
  reading.searched = words->shown;
  reading.notice = u"Showing results for the pinyin " + words->shown;
  return reading;
}

bool TypedReadings::Known(std::u16string_view englishWord) const {
  // The key the search files a normalised English word under.
  const std::u16string key = NormalisedTermKey(englishWord);
  return (settings_.searchBilingual && sources_.bilingual.HasKey(key)) ||
         (settings_.searchMonolingual && sources_.monolingual.HasKey(key));
}

}  // namespace tamrel
