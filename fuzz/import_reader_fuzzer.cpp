// The importer's format readers on arbitrary bytes. The input is one import file, or two when it
// holds a 0x1E byte (what comes after it is the second file, so that a sentences file meets a
// links file). Format detection, the reading and the making of groups must never crash; checked:
// every sentence read has a side, sits on a line of its file and holds neither U+FFFD nor more
// than 4000 characters; the skipped lines are counted within the lines read; and every group keeps
// the layout prepare requires (no tab, no empty token, as many pinyin tokens as Chinese ones).
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "importer/import_reader.h"
#include "importer/open_chinese_text.h"
#include "importer/sentence_group.h"
#include "importer/text_scripts.h"
#include "text/text_utils.h"

namespace {

size_t CountTokens(std::u16string_view line) {
  size_t n = 0;
  tamrel::ForEachField<char16_t>(line, u" ", [&](std::u16string_view) { ++n; });
  return n;
}

// No tab, no line break, no empty token (leading, trailing or double space).
bool KeepsLayout(std::u16string_view line) {
  if (line.find_first_of(u"\t\n") != std::u16string_view::npos) return false;
  if (line.empty()) return true;
  return line.front() != u' ' && line.back() != u' ' && line.find(u"  ") == std::u16string_view::npos;
}

// The import's language tools with the lexicon of the source tree (its runtime folder holds
// resources/lexicon/lexicon.tsv), so that the fuzzer runs from any folder.
const tamrel::ChineseText& Tools() {
  static const std::unique_ptr<tamrel::ChineseText> tools = [] {
    tamrel::Status status;
    auto opened = tamrel::OpenChineseText(TAMREL_SOURCE_DIR, status);
    if (opened == nullptr) std::fprintf(stderr, "%s\n", status.ToString().c_str());
    TAMREL_FUZZ_CHECK(opened != nullptr);
    return opened;
  }();
  return *tools;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tamrel;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const size_t split = input.find('\x1E');
  std::vector<std::filesystem::path> files = {fuzz::RuntimeFolder() / "data/first.txt"};
  fuzz::WriteBytes(files[0], input.substr(0, split));
  std::vector<int64_t> lineCounts = {
      1 + static_cast<int64_t>(std::count(input.begin(), input.begin() + std::min(split, size), '\n'))};
  if (split != std::string_view::npos) {
    files.push_back(fuzz::RuntimeFolder() / "data/second.txt");
    const std::string_view second = input.substr(split + 1);
    fuzz::WriteBytes(files[1], second);
    lineCounts.push_back(1 + static_cast<int64_t>(std::count(second.begin(), second.end(), '\n')));
  }

  ImportReader reader;
  if (!reader.Open(files).ok()) return 0;
  ImportReadReport report;
  int64_t sentences = 0;
  ImportedGroup group;
  const Status status = reader.Read(
      [&](const RawSentence& s) {
        ++sentences;
        TAMREL_FUZZ_CHECK(!s.chinese.empty() || !s.english.empty());
        TAMREL_FUZZ_CHECK(s.file < files.size());
        TAMREL_FUZZ_CHECK(s.line >= 1 && s.line <= lineCounts[s.file]);
        for (const std::u16string* text : {&s.chinese, &s.english}) {
          TAMREL_FUZZ_CHECK(text->find(u'\uFFFD') == std::u16string::npos);
          TAMREL_FUZZ_CHECK(CharacterCount(*text) <= kMaxLineCharacters);
        }
        if (!MakeImportedGroup(s.chinese, s.english, Tools(), group)) return;
        TAMREL_FUZZ_CHECK(KeepsLayout(group.chinese) && KeepsLayout(group.pinyin) && KeepsLayout(group.english));
        TAMREL_FUZZ_CHECK(CountTokens(group.chinese) == CountTokens(group.pinyin));
        TAMREL_FUZZ_CHECK(group.chinese.empty() == group.pinyin.empty());
      },
      {}, report);
  TAMREL_FUZZ_CHECK(status.ok());
  TAMREL_FUZZ_CHECK(report.skippedLines <= report.linesRead);
  TAMREL_FUZZ_CHECK(report.firstSkipped.size() <= kMaxReportedSkips);
  TAMREL_FUZZ_CHECK(sentences <= report.linesRead);
  return 0;
}
