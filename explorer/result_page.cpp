#include "explorer/result_page.h"

#include <unordered_set>

#include "explorer/tone_colours.h"
#include "files/text_file.h"
#include "search/sentence_levels.h"
#include "text/code_points.h"
#include "text/text_utils.h"

namespace tamrel {

namespace {

std::u16string Repeat(char16_t c, size_t n) { return std::u16string(n, c); }

// The style header shared by every result page: the lavender section banner "border7" and the
// blue italic class "style1" of English sentences.
const std::u16string& Header() {
  static const std::u16string header =
      u"<html><meta http-equiv=\"content-type\" content=\"text/html; charset=utf8\" />" + Repeat(u' ', 16) +
      u"<style type=\"text/css\" media=\"all\">" + Repeat(u'\t', 17) + u"#border7 {" + Repeat(u'\t', 15) +
      u"border: 2px solid;" + Repeat(u'\t', 11) + u"border-color: #abc #ddd #ddd #ddd;" + Repeat(u'\t', 7) +
      u"background-color: #E6E6FA;" + Repeat(u'\t', 9) + u"}" + Repeat(u'\t', 16) + u".style1 {" + u"\t" +
      Repeat(u' ', 12) + u"color: #0000FF;" + u"\t" + Repeat(u' ', 12) + u"font-style: italic;" + u"\t" +
      Repeat(u' ', 8) + u"}" + Repeat(u'\t', 3) + u"</style>" + Repeat(u'\t', 15) + u"\n" + u"<body>" + u"\n";
  return header;
}

constexpr std::u16string_view kTitleOpen = u"<p><a name=\"TOP\"><font size=\"+2\"> The results for \"";
constexpr std::u16string_view kTitleClose = u"\" </font></a>:\n";
constexpr std::u16string_view kSectionLinks =
    u"<a href=\"#BI\">Bilingual Examples</a> and <a href=\"#MONO\"> Monolingual Examples ";
constexpr std::u16string_view kTitleEnd = u"</a></p>\n";
constexpr std::u16string_view kBilingualBanner = u"<p id=\"border7\"><a name=\"BI\"> Bilingual Examples:</a></p>\n";
constexpr std::u16string_view kListOpen = u"<ul>";
constexpr std::u16string_view kItemOpen = u"<li>";
constexpr std::u16string_view kEnglishOpen = u"<span class=\"style1\">";
constexpr std::u16string_view kMarkOpen = u"<font color=red>";
constexpr std::u16string_view kMarkClose = u" </font>";
constexpr std::u16string_view kEnglishClose = u"</span><BR>";
constexpr std::u16string_view kBreak = u"<BR>";
constexpr std::u16string_view kItemClose = u"</li><hr>";
constexpr std::u16string_view kListClose = u"</ul>\n";
constexpr std::u16string_view kMonolingualBanner =
    u"<p id=\"border7\"><a name=\"MONO\"> Monolingual Examples:</a></p>\n";
constexpr std::u16string_view kPageEnd = u"</body></html>\n";
constexpr std::u16string_view kNoticeOpen = u"<p><i>";
constexpr std::u16string_view kNoticeClose = u"</i></p>\n";
// With tone colours: the five tone classes, and matched words in bold on a tinted background,
// since their characters take the tone colours; the mark ends with the word, its space after it.
constexpr std::u16string_view kToneStyle =
    u"<style type=\"text/css\">.t1 {color: #E30000;} .t2 {color: #E07800;} .t3 {color: #008A00;} "
    u".t4 {color: #0046E0;} .t5 {color: #808080;} "
    u"font[color=red] {background-color: #FFEB99; font-weight: bold; border-radius: 3px; padding: 0 1px;}"
    u"</style>\n";
constexpr std::u16string_view kTonedMarkClose = u"</font> ";
// The line of other readings: each a link that searches it, with its sentence count.
constexpr std::u16string_view kOfferOpen = u"<p class=\"readings\"><i>";
constexpr std::u16string_view kOfferClose = u"</i></p>\n";
constexpr std::u16string_view kToneClose = u"</span>";
// With a level: the badges, calm for a sentence within the learner's level, warm above it.
constexpr std::u16string_view kBadgeStyle =
    u"<style type=\"text/css\">.level {font-size: 75%; color: #FFFFFF; background-color: #5B8A5B; "
    u"border-radius: 3px; padding: 0 4px; margin-right: 4px; white-space: nowrap; font-style: normal;} "
    u".level.above {background-color: #B8643C;}</style>\n";

// The badge of a sentence whose hardest Chinese word is of `bucket`: none for a sentence without
// one.
std::u16string Badge(uint8_t bucket, int level) {
  if (bucket >= kBucketNotChinese) return {};
  std::u16string badge = bucket >= level ? u"<span class=\"level above\">" : u"<span class=\"level\">";
  if (bucket < kBucketAdvanced) {
    badge += u"HSK ";
    badge += static_cast<char16_t>(u'1' + bucket);
  } else {
    badge += bucket == kBucketAdvanced ? u"HSK 7+" : u"not in HSK";
  }
  badge += u"</span>";
  return badge;
}

// The opening tag of the span of `tone` (1 to 5).
std::u16string_view ToneOpen(int tone) {
  static constexpr std::u16string_view kOpen[] = {u"<span class=\"t1\">", u"<span class=\"t2\">",
                                                  u"<span class=\"t3\">", u"<span class=\"t4\">",
                                                  u"<span class=\"t5\">"};
  return kOpen[tone - 1];
}

// A line without a word: a monolingual group leaves one of its lines empty.
bool IsBlank(std::u16string_view line) { return line.find_first_not_of(u' ') == std::u16string_view::npos; }

class PageWriter {
 public:
  PageWriter(std::u16string_view query, bool english, const SysSettings& settings, const PageOptions& options)
      : english_(english),
        settings_(settings),
        options_(options),
        markClose_(options.toneColours ? kTonedMarkClose : kMarkClose) {
    std::u16string word;
    ForEachField<char16_t>(query, u" ", [&](std::u16string_view w) {
      word = w;
      if (english_) NormaliseWord(word);
      queryWords_.insert(word);
    });
  }

  void BilingualItem(std::u16string& page, const ResultSentence& s) const {
    page += kItemOpen;
    if (options_.level > 0) page += Badge(s.hardest, options_.level);
    if (english_) {
      EnglishLine(page, s.english);
      const TonedSentence toned = Tones(s);
      ChineseLine(page, s, toned, /*marked=*/false);
      Pinyin(page, s, toned);
    } else {
      const TonedSentence toned = Tones(s);
      ChineseLine(page, s, toned, /*marked=*/true);
      Pinyin(page, s, toned);
      Line(page, s.english);
    }
    page += kItemClose;
  }

  // The line of the query's language, or the other one when the group has none.
  void MonolingualItem(std::u16string& page, const ResultSentence& s) const {
    page += kItemOpen;
    if (options_.level > 0) page += Badge(s.hardest, options_.level);
    if (english_ ? !IsBlank(s.english) || IsBlank(s.chinese) : IsBlank(s.chinese) && !IsBlank(s.english)) {
      EnglishLine(page, s.english);
    } else {
      const TonedSentence toned = Tones(s);
      ChineseLine(page, s, toned, /*marked=*/!english_);
      Pinyin(page, s, toned);
    }
    page += kItemClose;
  }

 private:
  // With tone colours, a sentence's words, their pinyin tokens and the tone spans of each token
  // paired with its word's characters (none for any token when the counts differ), made once
  // for both lines; without tone colours, empty.
  struct TonedSentence {
    FieldList words;
    FieldList tokens;
    std::vector<std::vector<ToneSpan>> spans;  // by token
  };

  TonedSentence Tones(const ResultSentence& s) const {
    TonedSentence toned;
    if (!options_.toneColours) return toned;
    toned.words = SplitString(s.chinese, u" ");
    toned.tokens = SplitString(s.pinyin, u" ");
    toned.spans.resize(toned.tokens.size());
    if (toned.words.size() == toned.tokens.size()) {
      for (size_t i = 0; i < toned.tokens.size(); ++i) toned.spans[i] = AlignTones(toned.words[i], toned.tokens[i]);
    }
    return toned;
  }

  void EnglishLine(std::u16string& page, std::u16string_view english) const {
    page += kEnglishOpen;
    MarkWords(page, english);
    page += kEnglishClose;
  }

  static void Line(std::u16string& page, std::u16string_view text) {
    page += HtmlEscape(text);
    page += kBreak;
  }

  // The Chinese line: as it stands in an English query's page, its words marked in a Chinese
  // query's; with tone colours, word by word with each character in its tone's colour.
  void ChineseLine(std::u16string& page, const ResultSentence& s, const TonedSentence& toned, bool marked) const {
    if (options_.toneColours) {
      TonedWords(page, toned, marked);
    } else if (marked) {
      MarkWords(page, s.chinese);
    } else {
      page += HtmlEscape(s.chinese);
    }
    page += kBreak;
  }

  void Pinyin(std::u16string& page, const ResultSentence& s, const TonedSentence& toned) const {
    if (!settings_.showPinyin) return;
    if (!options_.toneColours) {
      Line(page, s.pinyin);
      return;
    }
    const FieldList& tokens = toned.tokens;
    for (size_t i = 0; i < tokens.size(); ++i) {
      const std::vector<ToneSpan>& syllables = toned.spans[i];
      size_t done = 0;
      for (const ToneSpan& syllable : syllables) {
        page += HtmlEscape(std::u16string_view(tokens[i]).substr(done, syllable.start - done));
        page += ToneOpen(syllable.tone);
        page += HtmlEscape(std::u16string_view(tokens[i]).substr(syllable.start, syllable.length));
        page += kToneClose;
        done = syllable.start + syllable.length;
      }
      page += HtmlEscape(std::u16string_view(tokens[i]).substr(done));
      page += u' ';
    }
    page += kBreak;
  }

  // Every word followed by one space, each character of a word whose pinyin pairs up with it in
  // its tone's span; words equal to a query word inside the red font element.
  void TonedWords(std::u16string& page, const TonedSentence& toned, bool marked) const {
    const FieldList& words = toned.words;
    static const std::vector<ToneSpan> kNone;
    std::u16string copy;
    for (size_t i = 0; i < words.size(); ++i) {
      const std::u16string_view word = words[i];
      copy = word;
      if (english_) NormaliseWord(copy);
      const bool match = marked && queryWords_.contains(copy);
      if (match) page += kMarkOpen;
      const std::vector<ToneSpan>& syllables = i < toned.spans.size() ? toned.spans[i] : kNone;
      if (syllables.empty()) {
        page += HtmlEscape(word);
      } else {
        size_t at = 0;
        for (const ToneSpan& syllable : syllables) {
          const size_t length = CharacterUnitsAt(word, at);
          page += ToneOpen(syllable.tone);
          page += HtmlEscape(word.substr(at, length));
          page += kToneClose;
          at += length;
        }
      }
      page += match ? markClose_ : u" ";
    }
  }

  // Every word followed by one space; a word equal to a query word (both normalised for an
  // English query) goes inside the red font element together with its space.
  void MarkWords(std::u16string& page, std::u16string_view sentence) const {
    std::u16string copy;
    ForEachField<char16_t>(sentence, u" ", [&](std::u16string_view word) {
      copy = word;
      if (english_) NormaliseWord(copy);
      if (queryWords_.contains(copy)) {
        page += kMarkOpen;
        page += HtmlEscape(word);
        page += markClose_;
      } else {
        page += HtmlEscape(word);
        page += u' ';
      }
    });
  }

  bool english_;
  SysSettings settings_;
  PageOptions options_;
  std::u16string_view markClose_;
  // A set, so that marking costs the same for a query of thousands of words as for one word.
  std::unordered_set<std::u16string> queryWords_;
};

}  // namespace

std::u16string HtmlEscape(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (char16_t c : text) {
    switch (c) {
      case u'&':
        out += u"&amp;";
        break;
      case u'<':
        out += u"&lt;";
        break;
      case u'>':
        out += u"&gt;";
        break;
      case u'"':
        out += u"&quot;";
        break;
      default:
        out.push_back(c);
    }
  }
  return out;
}

std::filesystem::path ResultPageFileName(const std::filesystem::path& root) { return root / "data/displayResult.html"; }

std::u16string PercentEncoded(std::string_view utf8) {
  static constexpr char16_t kHex[] = u"0123456789ABCDEF";
  std::u16string out;
  for (const unsigned char byte : utf8) {
    const bool unreserved = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                            (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' || byte == '~';
    if (unreserved) {
      out += static_cast<char16_t>(byte);
    } else {
      out += u'%';
      out += kHex[byte >> 4];
      out += kHex[byte & 0xF];
    }
  }
  return out;
}

std::u16string SearchLink(std::u16string_view text) {
  return u"tamrel:search?text=" + PercentEncoded(Utf16ToUtf8(text));
}

std::u16string RenderResultPage(std::u16string_view query, Language language,
                                const std::vector<ResultSentence>& bilingual,
                                const std::vector<ResultSentence>& monolingual, const SysSettings& settings,
                                const PageOptions& options, const PageReading& reading) {
  const bool english = language == Language::kEnglish;
  const PageWriter writer(query, english, settings, options);
  const PageWriter bilingualWriter(reading.bilingualQuery.empty() ? query : reading.bilingualQuery, english, settings,
                                   options);
  std::u16string page = Header();
  if (options.toneColours) page += kToneStyle;
  if (options.level > 0) page += kBadgeStyle;
  if (!reading.notice.empty()) {
    page += kNoticeOpen;
    page += HtmlEscape(reading.notice);
    page += kNoticeClose;
  }
  if (!reading.offer.empty()) {
    page += kOfferOpen;
    page += HtmlEscape(reading.offer.intro);
    for (size_t i = 0; i < reading.offer.readings.size(); ++i) {
      const OfferedReading& offered = reading.offer.readings[i];
      page += i == 0 ? u" " : u", ";
      page += u"<a href=\"" + HtmlEscape(SearchLink(offered.text)) + u"\">" + HtmlEscape(offered.text) + u"</a> (" +
              Utf8ToUtf16(std::to_string(offered.sentences)) + u")";
    }
    page += kOfferClose;
  }
  page += kTitleOpen;
  page += HtmlEscape(query);
  page += kTitleClose;
  if (settings.searchBilingual && settings.searchMonolingual) page += kSectionLinks;
  page += kTitleEnd;
  if (settings.searchBilingual) {
    page += kBilingualBanner;
    page += kListOpen;
    for (const auto& s : bilingual) bilingualWriter.BilingualItem(page, s);
    page += kListClose;
  }
  if (settings.searchMonolingual) {
    page += kMonolingualBanner;
    page += kListOpen;
    for (const auto& s : monolingual) writer.MonolingualItem(page, s);
    page += kListClose;
  }
  page += kPageEnd;
  return page;
}

Status WriteResultPage(std::u16string_view query, Language language, const std::vector<ResultSentence>& bilingual,
                       const std::vector<ResultSentence>& monolingual, const std::filesystem::path& path,
                       const SysSettings& settings, const PageOptions& options, const PageReading& reading) {
  return WritePage(RenderResultPage(query, language, bilingual, monolingual, settings, options, reading), path);
}

Status WritePage(std::u16string_view page, const std::filesystem::path& path) {
  TextFile file;
  if (Status status = file.OpenChecked(path, TextFile::Mode::kCreate); !status.ok()) return status;
  const bool written = file.WriteText(page);
  if (!file.Close() || !written) return file.WriteFailure(path);
  return Status::Ok();
}

}  // namespace tamrel
