#include "explorer/not_found_page.h"

#include "explorer/result_page.h"
#include "text/code_points.h"
#include "text/text_utils.h"

namespace tamrel {

namespace {

// `query` as it can stand in a page: at most kNotFoundQueryShown characters, every character that
// is no text (controls, halves of a pair) replaced, then escaped.
std::u16string Shown(std::u16string_view query) {
  std::u16string shown;
  size_t characters = 0;
  for (size_t i = 0; i < query.size(); ++characters) {
    if (characters == kNotFoundQueryShown) {
      shown += u"\u2026";
      break;
    }
    const size_t units = CharacterUnitsAt(query, i);
    const char16_t c = query[i];
    const bool control = c < 0x20 || (c >= 0x7F && c < 0xA0);
    const bool lone = units == 1 && (IsHighSurrogate(c) || IsLowSurrogate(c));
    if (control || lone) {
      shown += u'\uFFFD';
    } else {
      shown += query.substr(i, units);
    }
    i += units;
  }
  return HtmlEscape(shown);
}

}  // namespace

std::filesystem::path NotFoundPageFileName(const std::filesystem::path& resultPage) {
  return resultPage.parent_path() / "notFound.html";
}

std::u16string RenderNotFoundPage(std::u16string_view query) {
  std::u16string page =
      u"<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>Nothing found</title>\n"
      u"<style>\n"
      u"  body { font-family: sans-serif; font-size: 14px; line-height: 1.45; color: #222; margin: 8px 12px; }\n"
      u"  h1 { font-size: 20px; margin: 2px 0 6px; }\n"
      u"  li { margin: 3px 0; }\n"
      u"  .query { color: #0000FF; white-space: pre-wrap; word-break: break-all; }\n"
      u"</style>\n</head>\n<body>\n<h1>Nothing found for \"<span class=\"query\">";
  page += Shown(query);
  page +=
      u"</span>\"</h1>\n"
      u"<p>No sentence holds these words, nor their pinyin, simplified or base forms.</p>\n"
      u"<p>You could try:</p>\n<ul>\n"
      u"  <li>fewer words, or one word alone;</li>\n"
      u"  <li>the spelling: an English word as it is written, a Chinese word in characters;</li>\n"
      u"  <li>pinyin with or without tones: <code>nihao</code>, <code>ni3 hao3</code>, "
      u"<code>n\u01D0h\u01CEo</code>;</li>\n"
      u"  <li>a more common word with the same meaning.</li>\n"
      u"</ul>\n<p>The query was not added to the history.</p>\n</body>\n</html>\n";
  return page;
}

}  // namespace tamrel
