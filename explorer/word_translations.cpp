#include "explorer/word_translations.h"

#include <algorithm>

#include "explorer/result_page.h"
#include "text/text_utils.h"

namespace tamrel {

namespace {

std::u16string Escaped(std::string_view utf8) { return HtmlEscape(Utf8ToUtf16(utf8)); }

}  // namespace

std::vector<SentencePair> PairsThatMayHold(std::string_view bytes, std::string_view word) {
  const bool chinese =
      std::any_of(word.begin(), word.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
  std::vector<SentencePair> pairs;
  std::string_view lines[3];
  size_t have = 0;
  while (!bytes.empty()) {
    const size_t end = bytes.find('\n');
    lines[have++] = bytes.substr(0, end);
    bytes = end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1);
    if (have < 3) continue;
    have = 0;
    if (!chinese || lines[0].find(word) != std::string_view::npos) pairs.push_back({lines[0], lines[2]});
  }
  return pairs;
}

std::vector<SentencePair> PairsTranslatedAs(WordAligner& aligner, std::string_view word, std::string_view translation,
                                            const std::vector<SentencePair>& pairs, size_t limit) {
  std::vector<SentencePair> found;
  for (const SentencePair& pair : pairs) {
    if (found.size() >= limit) break;
    for (const Translation& t : SummariseTranslations(aligner, word, {pair}, SIZE_MAX)) {
      if (t.text == translation) {
        found.push_back(pair);
        break;
      }
    }
  }
  return found;
}

std::u16string TranslationSummaryHtml(std::u16string_view intro, const std::vector<Translation>& translations,
                                      std::string_view word) {
  if (translations.empty()) return {};
  std::u16string html = u"<p>" + HtmlEscape(intro) + u" ";
  for (size_t i = 0; i < translations.size(); ++i) {
    const Translation& t = translations[i];
    if (i > 0) html += u", ";
    html += u"<a href=\"tamrel:aligned?word=" + PercentEncoded(word) + u"&amp;as=" + PercentEncoded(t.text) + u"\">" +
            Escaped(t.text) + u"</a> (" + Utf8ToUtf16(std::to_string(t.count)) + u")";
  }
  html += u"</p>";
  return html;
}

std::u16string TranslatedSentencesHtml(std::u16string_view heading, const std::vector<SentencePair>& pairs) {
  std::u16string html = u"<p><b>" + HtmlEscape(heading) + u"</b></p><ol>";
  for (const SentencePair& pair : pairs) {
    std::u16string chinese = Utf8ToUtf16(pair.chinese);
    chinese.erase(std::remove(chinese.begin(), chinese.end(), u' '), chinese.end());
    html += u"<li>" + HtmlEscape(chinese) + u"<br><i>" + Escaped(pair.english) + u"</i></li>";
  }
  html += u"</ol>";
  return html;
}

}  // namespace tamrel
