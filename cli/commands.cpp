#include "cli/commands.h"

#include <cstdio>
#include <iostream>
#include <nlohmann/json.hpp>

#include "corpus/corpus_index.h"
#include "corpus/dict_prepare.h"
#include "corpus/index_build.h"
#include "corpus/text_utils.h"
#include "explorer/messages.h"
#include "explorer/result_page.h"
#include "explorer/search_command.h"
#include "learning/sys_settings.h"
#include "search/query.h"

namespace tamrel::cli {

namespace {

std::string U8(std::u16string_view s) { return Utf16ToUtf8(s); }

void ShowProgress(const BuildProgress& p) {
  const char* what = p.source == CorpusFile::kDictionary ? "dictionary" : "sentences";
  const int percent = p.bytesTotal > 0 ? static_cast<int>(100 * p.bytesRead / p.bytesTotal) : 100;
  std::fprintf(stderr, "\r%s %s: %lld lines, %d%%   ", U8(p.tag).c_str(), what, static_cast<long long>(p.lines),
               percent);
}

void ReportLoadFailure(const CorpusIndex& index) {
  std::cerr << kErrorCaption << ' ' << kResourcesError << "\n(the " << U8(index.tag)
            << " index in data/ could not be loaded; run 'tamrel-cli build')\n";
}

}  // namespace

int Build() {
  const auto summarise = [](std::u16string_view tag, const BuildReport& report) {
    std::fprintf(stderr, "\r%s: %lld dictionary lines, %lld sentence groups\n", U8(tag).c_str(),
                 static_cast<long long>(report.dictionaryLines), static_cast<long long>(report.sentenceGroups));
    if (report.skippedLines > 0) {
      std::cerr << U8(tag) << ": skipped " << report.skippedLines << " dictionary lines that break the layout (line";
      for (int64_t n : report.firstSkipped) std::cerr << ' ' << n;
      std::cerr << (report.skippedLines > static_cast<int64_t>(report.firstSkipped.size()) ? " ...)\n" : ")\n");
    }
    if (report.longKeys > 0) std::cerr << U8(tag) << ": skipped " << report.longKeys << " keys over 50 units\n";
    if (!report.failedFile.empty()) {
      std::cerr << U8(tag) << ": " << report.failedFile.string() << " could not be read or written\n";
    }
  };
  std::u16string failedTag;
  if (BuildAllCorpora(failedTag, ShowProgress, summarise) < 0) {
    std::cerr << kErrorCaption << ' ' << kResourcesError << '\n';
    return 1;
  }
  std::cout << kBuildFinished << '\n';
  return 0;
}

int Words(bool chinese, int start, int count) {
  CorpusIndex bilingual(kTagBilingual);
  if (LoadWordTable(bilingual) < 0) {
    ReportLoadFailure(bilingual);
    return 2;
  }
  for (const auto& line : ListWords(bilingual, start, chinese ? LANG_CN : LANG_EN, count)) {
    std::cout << U8(line) << '\n';
  }
  return 0;
}

int Search(const std::string& text, bool json, bool writePage) {
  if (text.empty()) {
    std::cerr << "Nothing to search: the text is empty.\n";
    return 2;
  }
  CorpusIndex bilingual;
  CorpusIndex monolingual;
  for (auto [index, tag] : {std::pair{&bilingual, kTagBilingual}, std::pair{&monolingual, kTagMonolingual}}) {
    if (LoadCorpus(*index, tag) < 0) {
      ReportLoadFailure(*index);
      return 2;
    }
  }
  SysSettings settings;
  ReadConfig(settings);
  const SearchCommandResult result = RunSearchCommand(Utf8ToUtf16(text), bilingual, monolingual, settings,
                                                      writePage ? kResultPageFile : std::filesystem::path());
  if (!result.found()) {
    if (!json) std::cerr << "Nothing found for \"" << U8(result.query) << "\".\n";
    return 1;
  }
  if (writePage && result.pageStatus < 0) {
    std::cerr << "The page " << kResultPageFile.string() << " could not be written.\n";
  }
  const auto print = [&](const char* corpus, const char* heading, const std::vector<ResultSentence>& list) {
    if (!json) std::cout << heading << '\n';
    int rank = 0;
    for (const ResultSentence& s : list) {
      ++rank;
      if (json) {
        nlohmann::ordered_json line = {{"corpus", corpus},
                                       {"rank", rank},
                                       {"chinese", U8(s.chinese)},
                                       {"pinyin", U8(s.pinyin)},
                                       {"english", U8(s.english)}};
        std::cout << line.dump() << '\n';
      } else {
        std::cout << rank << ". " << U8(s.chinese) << "\n   " << U8(s.pinyin) << "\n   " << U8(s.english) << '\n';
      }
    }
  };
  if (settings.FLAGBI) print("BI", "Bilingual Examples:", result.bilingual);
  if (settings.FLAGMONO) print("MO", "Monolingual Examples:", result.monolingual);
  return 0;
}

int Settings(const std::vector<std::string>& assignments) {
  SysSettings settings;
  ReadConfig(settings);
  if (!assignments.empty()) {
    for (const std::string& a : assignments) {
      const size_t eq = a.find('=');
      const std::string key = a.substr(0, eq);
      const std::string value = eq == std::string::npos ? "" : a.substr(eq + 1);
      bool* flag = key == "FLAGSTARTUP" ? &settings.FLAGSTARTUP
                   : key == "FLAGPRON"  ? &settings.FLAGPRON
                   : key == "FLAGBI"    ? &settings.FLAGBI
                   : key == "FLAGMONO"  ? &settings.FLAGMONO
                                        : nullptr;
      if (flag == nullptr || (value != "TRUE" && value != "FALSE")) {
        std::cerr << "Expected KEY=TRUE or KEY=FALSE with KEY one of FLAGSTARTUP, FLAGPRON, FLAGBI, FLAGMONO; got '"
                  << a << "'.\n";
        return 2;
      }
      *flag = value == "TRUE";
    }
    if (WriteConfig(settings) < 0) {
      std::cerr << "The settings file " << kConfigFile.string() << " could not be written.\n";
      return 2;
    }
  }
  const auto show = [](const char* key, bool v) { std::cout << key << '=' << (v ? "TRUE" : "FALSE") << '\n'; };
  show("FLAGSTARTUP", settings.FLAGSTARTUP);
  show("FLAGPRON", settings.FLAGPRON);
  show("FLAGBI", settings.FLAGBI);
  show("FLAGMONO", settings.FLAGMONO);
  return 0;
}

int Prepare(const std::string& tag) {
  PrepareReport report;
  const int status = PrepareDictionary(Utf8ToUtf16(tag), report);
  for (const auto& dropped : report.droppedKeys) {
    std::cerr << "warning: sentence " << dropped.sentenceId << ": key '" << U8(dropped.key)
              << "' is longer than 50 UTF-16 units and was left out\n";
  }
  if (!report.error.empty()) {
    std::cerr << "BDict/sents.final" << tag << ", line " << report.errorLine << ": " << report.error
              << ". Nothing was written.\n";
    return 1;
  }
  if (status < 0) {
    std::cerr << "Cannot prepare the corpus: " << report.failedFile << " could not be read or written.\n";
    return 1;
  }
  std::cout << "BDict/word.dict" << tag << ": " << report.keys << " keys from " << report.groups
            << " sentence groups\n";
  return 0;
}

}  // namespace tamrel::cli
