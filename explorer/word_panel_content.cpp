#include "explorer/word_panel_content.h"

#include "explorer/result_page.h"
#include "text/text_utils.h"

namespace tamrel {

namespace {

// `label` with its "%1" replaced by `value`.
std::u16string Filled(std::u16string_view label, std::u16string_view value) {
  std::u16string text(label);
  if (const size_t at = text.find(u"%1"); at != std::u16string::npos) text.replace(at, 2, value);
  return text;
}

std::u16string BandText(FrequencyBand band, const WordPanelLabels& labels) {
  switch (band) {
    case FrequencyBand::kVeryCommon:
      return labels.veryCommon;
    case FrequencyBand::kCommon:
      return labels.common;
    case FrequencyBand::kLessCommon:
      return labels.lessCommon;
    case FrequencyBand::kRare:
      return labels.rare;
    case FrequencyBand::kUnknown:
      break;
  }
  return {};
}

void AppendEntry(const DictionaryEntry& entry, bool link, uint32_t count, bool withCount, const WordPanelLabels& labels,
                 std::u16string& html) {
  html += u"<p><span style=\"font-size:x-large\">";
  if (link) {
    html += u"<a href=\"" + HtmlEscape(SearchLink(entry.simplified)) + u"\">" + HtmlEscape(entry.simplified) + u"</a>";
  } else {
    html += HtmlEscape(entry.simplified);
  }
  html += u"</span>";
  if (entry.traditional != entry.simplified) html += u" (" + HtmlEscape(entry.traditional) + u")";
  html += u" " + HtmlEscape(JoinedPinyin(entry.syllables));
  if (entry.hsk != HskLevel::kNone) {
    html += u" <span style=\"background-color:#2a6f97; color:white\">&nbsp;" +
            HtmlEscape(Filled(labels.hsk, HskText(entry.hsk))) + u"&nbsp;</span>";
  }
  // The character's own level where it tells more than the word's (了 liǎo: a level 3 word, a
  // level 1 character).
  if (entry.characterHsk != HskLevel::kNone && entry.characterHsk != entry.hsk) {
    html += u" <span style=\"border:1px solid #2a6f97; color:#2a6f97\">&nbsp;" +
            HtmlEscape(Filled(labels.characterHsk, HskText(entry.characterHsk))) + u"&nbsp;</span>";
  }
  if (const std::u16string band = BandText(BandOfRank(entry.frequencyRank), labels); !band.empty()) {
    html += u" <small>" + HtmlEscape(band) + u"</small>";
  }
  if (withCount) html += u" <small>" + HtmlEscape(Filled(labels.sentences, FormatDecimal(count))) + u"</small>";
  html += u"</p><ol>";
  for (const std::u16string& sense : entry.senses) html += u"<li>" + HtmlEscape(sense) + u"</li>";
  html += u"</ol>";
  if (!entry.referred.empty()) {
    html += u"<p>&rarr; ";
    for (size_t i = 0; i < entry.referred.size(); ++i) html += (i > 0 ? u"; " : u"") + HtmlEscape(entry.referred[i]);
    html += u"</p>";
  }
  if (!entry.classifiers.empty()) {
    html += u"<p>" + HtmlEscape(labels.classifiers) + u" ";
    for (size_t i = 0; i < entry.classifiers.size(); ++i)
      html += (i > 0 ? u", " : u"") + HtmlEscape(entry.classifiers[i]);
    html += u"</p>";
  }
}

}  // namespace

WordPanelContent WordPanelContentOfWord(const Dictionary& dictionary, std::u16string_view word) {
  WordPanelContent content;
  content.heading.assign(word);
  (void)dictionary.LookUpChinese(word, content.entries);  // a damaged line shows what came before
  if (!content.entries.empty()) content.kind = WordPanelContent::Kind::kEntries;
  return content;
}

WordPanelContent WordPanelContentFor(const Dictionary& dictionary, const SearchCommandResult& result,
                                     const SentenceCount& count) {
  WordPanelContent content;
  if (!result.found()) return content;
  if (result.route == SearchRoute::kPinyin) {
    content.heading = result.typed;
    (void)dictionary.LookUpPinyin(result.typed, count, content.entries);
    if (content.entries.size() > kPanelChoices) content.entries.resize(kPanelChoices);
    for (const DictionaryEntry& e : content.entries) content.counts.push_back(count ? count(e.simplified) : 0);
    content.kind = WordPanelContent::Kind::kReadings;
  } else if (result.language == Language::kChinese) {
    content.heading = result.query;
    size_t words = 0;
    ForEachField(std::u16string_view(result.query), std::u16string_view(u" "), [&](std::u16string_view word) {
      if (word.empty() || words >= kPanelWords) return;
      std::vector<DictionaryEntry> entries;
      (void)dictionary.LookUpChinese(word, entries);
      if (entries.empty()) return;
      ++words;
      content.entries.insert(content.entries.end(), entries.begin(), entries.end());
    });
    content.kind = WordPanelContent::Kind::kEntries;
  } else {
    content.heading = result.query;
    (void)dictionary.LookUpEnglish(result.query, kPanelChoices, content.entries);
    content.kind = WordPanelContent::Kind::kTranslations;
  }
  if (content.entries.empty()) content.kind = WordPanelContent::Kind::kNothing;
  return content;
}

std::u16string WordPanelHtml(const WordPanelContent& content, const WordPanelLabels& labels) {
  std::u16string html = u"<html><body>";
  if (content.kind == WordPanelContent::Kind::kNothing) {
    if (!content.heading.empty()) html += u"<p>" + HtmlEscape(Filled(labels.noEntry, content.heading)) + u"</p>";
    return html + u"</body></html>";
  }
  if (content.kind != WordPanelContent::Kind::kEntries) {
    html += u"<p><b>" + HtmlEscape(content.heading) + u"</b></p>";
  }
  const bool links = content.kind != WordPanelContent::Kind::kEntries;
  for (size_t i = 0; i < content.entries.size(); ++i) {
    const bool withCount = content.kind == WordPanelContent::Kind::kReadings && i < content.counts.size();
    AppendEntry(content.entries[i], links, withCount ? content.counts[i] : 0, withCount, labels, html);
  }
  return html + u"</body></html>";
}

std::u16string WordGloss(const WordPanelContent& content) {
  if (content.entries.empty()) return {};
  const DictionaryEntry& first = content.entries.front();
  std::u16string gloss = first.simplified + u" " + JoinedPinyin(first.syllables);
  if (!first.senses.empty()) gloss += u": " + first.senses.front();
  return gloss;
}

}  // namespace tamrel
