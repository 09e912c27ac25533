// A corpus sentence group as the result page with tone colours and as an exported note shows it,
// on arbitrary bytes: the first three lines of the input are the Chinese, pinyin and English lines.
// Nothing of the sentence may become markup on the page, every tone span must close, and the note
// must stay one line of exactly four fields.
#include <algorithm>
#include <string>

#include "explorer/result_page.h"
#include "explorer/sentence_export.h"
#include "explorer/tone_colours.h"
#include "fuzz/fuzz_support.h"
#include "text/text_utils.h"

namespace {

size_t Count(std::u16string_view text, std::u16string_view what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::u16string_view::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tamrel;
  const std::u16string text = Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(data), size));
  ResultSentence sentence;
  std::u16string* lines[] = {&sentence.chinese, &sentence.pinyin, &sentence.english};
  size_t start = 0;
  for (std::u16string* line : lines) {
    const size_t end = std::min(text.find(u'\n', start), text.size());
    if (start <= text.size()) *line = text.substr(start, end - start);
    start = end + 1;
  }

  PageOptions tones;
  tones.toneColours = true;
  SysSettings settings;
  const std::vector<ResultSentence> list = {sentence};
  for (const Language language : {Language::kChinese, Language::kEnglish}) {
    const std::u16string page = RenderResultPage(u"q", language, list, list, settings, tones);
    const std::u16string plain = RenderResultPage(u"q", language, list, list, settings);
    // The sentence adds no element: the toned page is the plain one plus the tone style and spans.
    const size_t spans = Count(page, u"<span class=\"t");
    TAMREL_FUZZ_CHECK(Count(page, u"</span>") == Count(plain, u"</span>") + spans);
    TAMREL_FUZZ_CHECK(Count(page, u"<") == Count(plain, u"<") + 2 + 2 * spans);
  }

  for (const std::u16string* line : {&sentence.chinese, &sentence.english}) {
    for (const ToneSpan& s : AlignTones(*line, sentence.pinyin)) {
      TAMREL_FUZZ_CHECK(s.start + s.length <= sentence.pinyin.size() && s.tone >= 1 && s.tone <= 5);
    }
  }

  // A sentence becomes a note when it has both sides, and then one line of four fields.
  const std::vector<ExportRow> rows = ExportRows(sentence.english, list, {});
  TAMREL_FUZZ_CHECK(rows.size() <= 1);
  const std::string notes = FormatExportFile(rows);
  const size_t header = notes.find("#tags column:4\n") + 15;
  const std::string row = notes.substr(header);
  if (rows.empty()) {
    TAMREL_FUZZ_CHECK(row.empty());
  } else {
    TAMREL_FUZZ_CHECK(!rows[0].chinese.empty() && !rows[0].english.empty());
    TAMREL_FUZZ_CHECK(std::count(row.begin(), row.end(), '\n') == 1 && row.back() == '\n');
    TAMREL_FUZZ_CHECK(std::count(row.begin(), row.end(), '\t') == 3);
  }
  return 0;
}
