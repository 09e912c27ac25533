#include "explorer/result_page.h"

#include <unordered_set>

#include "corpus/text_file.h"
#include "corpus/text_utils.h"

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

class PageWriter {
 public:
  PageWriter(std::u16string_view query, bool english, const SysSettings& settings)
      : english_(english), settings_(settings) {
    std::u16string word;
    ForEachField<char16_t>(query, u" ", [&](std::u16string_view w) {
      word = w;
      if (english_) NormaliseWord(word);
      queryWords_.insert(word);
    });
  }

  void BilingualItem(std::u16string& page, const ResultSentence& s) const {
    page += kItemOpen;
    if (english_) {
      EnglishLine(page, s.english);
      Line(page, s.chinese);
      Pinyin(page, s.pinyin);
    } else {
      MarkWords(page, s.chinese);
      page += kBreak;
      Pinyin(page, s.pinyin);
      Line(page, s.english);
    }
    page += kItemClose;
  }

  void MonolingualItem(std::u16string& page, const ResultSentence& s) const {
    page += kItemOpen;
    if (english_) {
      EnglishLine(page, s.english);
    } else {
      MarkWords(page, s.chinese);
      page += kBreak;
      Pinyin(page, s.pinyin);
    }
    page += kItemClose;
  }

 private:
  void EnglishLine(std::u16string& page, std::u16string_view english) const {
    page += kEnglishOpen;
    MarkWords(page, english);
    page += kEnglishClose;
  }

  static void Line(std::u16string& page, std::u16string_view text) {
    page += HtmlEscape(text);
    page += kBreak;
  }

  void Pinyin(std::u16string& page, std::u16string_view pinyin) const {
    if (settings_.showPinyin) Line(page, pinyin);
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
        page += kMarkClose;
      } else {
        page += HtmlEscape(word);
        page += u' ';
      }
    });
  }

  bool english_;
  SysSettings settings_;
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

std::u16string RenderResultPage(std::u16string_view query, Language language,
                                const std::vector<ResultSentence>& bilingual,
                                const std::vector<ResultSentence>& monolingual, const SysSettings& settings,
                                std::u16string_view notice) {
  const PageWriter writer(query, language == Language::kEnglish, settings);
  std::u16string page = Header();
  if (!notice.empty()) {
    page += kNoticeOpen;
    page += HtmlEscape(notice);
    page += kNoticeClose;
  }
  page += kTitleOpen;
  page += HtmlEscape(query);
  page += kTitleClose;
  if (settings.searchBilingual && settings.searchMonolingual) page += kSectionLinks;
  page += kTitleEnd;
  if (settings.searchBilingual) {
    page += kBilingualBanner;
    page += kListOpen;
    for (const auto& s : bilingual) writer.BilingualItem(page, s);
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
                       const SysSettings& settings, std::u16string_view notice) {
  return WritePage(RenderResultPage(query, language, bilingual, monolingual, settings, notice), path);
}

Status WritePage(std::u16string_view page, const std::filesystem::path& path) {
  TextFile file;
  if (!file.Open(path, TextFile::Mode::kCreate)) return Status::IoError(path, "cannot be created");
  const bool written = file.WriteText(page);
  if (!file.Close() || !written) return Status::IoError(path, "cannot be written");
  return Status::Ok();
}

}  // namespace tamrel
