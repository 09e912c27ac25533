#include "cli/commands.h"

#include <cstdio>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "align/cooccurrence.h"
#include "align/sentence_links.h"
#include "align/word_aligner.h"
#include "corpus/corpus_files.h"
#include "corpus/corpus_index.h"
#include "corpus/dict_prepare.h"
#include "corpus/index_build.h"
#include "corpus/index_commit.h"
#include "dictionary/dictionary.h"
#include "dictionary/dictionary_file.h"
#include "explorer/hsk_levels.h"
#include "explorer/level_table.h"
#include "explorer/messages.h"
#include "explorer/result_page.h"
#include "explorer/search_command.h"
#include "explorer/sentence_export.h"
#include "files/durable_files.h"
#include "lexicon/lexicon.h"
#include "lexicon/line_analysis.h"
#include "search/level_file.h"
#include "settings/settings.h"
#include "settings/sys_settings.h"
#include "text/text_utils.h"

namespace tamrel::cli {

namespace {

std::string U8(std::u16string_view s) { return Utf16ToUtf8(s); }

// `s` as UTF-8 for a terminal: C0 control characters other than tab, and DEL, are written as
// \xHH, so that an imported sentence cannot ring the bell, move the cursor or recolour the
// terminal. JSON and the export notes have escapes of their own.
std::string Visible(std::u16string_view s) {
  std::string out;
  for (const char c : U8(s)) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte < 0x20 && c != '\t') || byte == 0x7F) {
      constexpr char kHex[] = "0123456789abcdef";
      out += "\\x";
      out += kHex[byte >> 4];
      out += kHex[byte & 0xF];
    } else {
      out += c;
    }
  }
  return out;
}

void ShowProgress(const BuildProgress& p) {
  const char* what = p.source == CorpusFile::kDictionary ? "dictionary" : "sentences";
  const int percent = p.bytesTotal > 0 ? static_cast<int>(100 * p.bytesRead / p.bytesTotal) : 100;
  std::fprintf(stderr, "\r%s %s: %lld lines, %d%%   ", U8(p.tag).c_str(), what, static_cast<long long>(p.lines),
               percent);
}

const char* RouteName(SearchRoute route) {
  switch (route) {
    case SearchRoute::kAsTyped:
      return "as typed";
    case SearchRoute::kTrimmed:
      return "trimmed";
    case SearchRoute::kPinyin:
      return "pinyin";
    case SearchRoute::kSimplified:
      return "simplified";
    case SearchRoute::kEnglishBaseForm:
      return "base form";
    case SearchRoute::kNothingFound:
      break;
  }
  return "nothing found";
}

// The runtime folder of every command: the current directory.
const std::filesystem::path kRoot;

void ReportLoadFailure(const CorpusIndex& index) {
  std::cerr << kErrorCaption << ' ' << kResourcesError << "\n(the " << U8(index.tag())
            << " index in data/ could not be loaded; run 'tamrel-cli build')\n";
}

// Says that `file` was written but could not be made to last (`status`, kUnfinished); the exit
// code of a change that took effect and could not be finished.
int WrittenButNotSynced(const std::filesystem::path& file, const Status& status) {
  std::cerr << file.string() << " was written, but " << status.ToString()
            << "; the change could be lost if the power fails before the system writes it out.\n";
  return 3;
}

}  // namespace

void RemoveLeftovers() {
  // A failure here is met again, and reported, by the command that needs the corpus; the others
  // do not depend on it.
  for (std::u16string_view tag : {kTagBilingual, kTagMonolingual}) (void)RecoverLeftovers(kRoot, tag);
}

int Build() {
  const auto summarise = [](std::u16string_view tag, const BuildReport& report, const Status& status) {
    std::fprintf(stderr, "\r%s: %lld dictionary lines, %lld sentence groups\n", U8(tag).c_str(),
                 static_cast<long long>(report.dictionaryLines), static_cast<long long>(report.sentenceGroups));
    if (report.skippedLines > 0) {
      std::cerr << U8(tag) << ": skipped " << report.skippedLines << " dictionary lines that break the layout (line";
      for (int64_t n : report.firstSkipped) std::cerr << ' ' << n;
      std::cerr << (report.skippedLines > static_cast<int64_t>(report.firstSkipped.size()) ? " ...)\n" : ")\n");
    }
    if (report.longKeys > 0) std::cerr << U8(tag) << ": skipped " << report.longKeys << " keys over 50 units\n";
    if (!report.keyTableFile.ok()) {
      std::cerr << U8(tag) << ": the key table file could not be written (" << report.keyTableFile.ToString()
                << "); searches load a little slower until the next build\n";
    }
    if (status.kind() == Status::Kind::kUnfinished) {
      std::cerr << U8(tag) << ": the new index has taken effect, but putting its files in place could not be finished: "
                << status.ToString() << ". It will be finished the next time Tamrel opens the corpus " << U8(tag)
                << ".\n";
    } else if (!status.ok()) {
      std::cerr << U8(tag) << ": " << status.ToString() << '\n';
    }
  };
  const Status built = BuildAllCorpora(kRoot, ShowProgress, summarise);
  if (built.ok()) {
    if (const Status levels = MakeLevelFiles(kRoot, {kTagBilingual, kTagMonolingual}); !levels.ok()) {
      std::cerr << "The level files could not be made (" << levels.ToString()
                << "); the first search at a level makes them\n";
    }
  } else if (built.tookEffect()) {
    // Of the old corpora; a search at a level makes them.
    for (std::u16string_view tag : {kTagBilingual, kTagMonolingual}) (void)RemoveFile(LevelFileName(kRoot, tag));
  }
  if (built.kind() == Status::Kind::kUnfinished) return 3;
  if (!built.ok()) {
    std::cerr << kErrorCaption << ' ' << kResourcesError << '\n';
    return 1;
  }
  std::cout << kBuildFinished << '\n';
  return 0;
}

int Words(bool chinese, int start, int count) {
  CorpusIndex bilingual(kRoot, kTagBilingual);
  if (!LoadWordTable(bilingual).ok()) {
    ReportLoadFailure(bilingual);
    return 2;
  }
  for (const NumberedWord& w : ListWords(bilingual, start, chinese ? Language::kChinese : Language::kEnglish, count)) {
    std::cout << w.position << ':' << Visible(w.word) << '\n';
  }
  return 0;
}

int Search(const std::string& text, SearchOutput output, bool writePage, size_t offset, int level, bool align) {
  const bool json = output == SearchOutput::kJson;
  if (text.empty()) {
    std::cerr << "Nothing to search: the text is empty.\n";
    return 2;
  }
  CorpusIndex bilingual(kRoot, kTagBilingual);
  CorpusIndex monolingual(kRoot, kTagMonolingual);
  for (CorpusIndex* index : {&bilingual, &monolingual}) {
    if (!LoadCorpus(*index).ok()) {
      ReportLoadFailure(*index);
      return 2;
    }
  }
  const RuntimeSettings loaded = LoadSettings(kRoot);
  for (const Status& read : {loaded.systemRead, loaded.learnerRead}) {
    if (!read.ok()) std::cerr << "warning: " << read.ToString() << "; its defaults are used.\n";
  }
  const SysSettings& settings = loaded.system;
  PageOptions pageOptions;
  pageOptions.toneColours = loaded.learner.toneColours;
  const std::filesystem::path page = ResultPageFileName(kRoot);
  Simplifier simplifier;
  (void)simplifier.Open();  // without OpenCC's configuration, traditional characters are searched as typed
  SearchSources sources{bilingual, monolingual, simplifier};
  SentenceLevels bilingualLevels, monolingualLevels;
  if (level > 0) {
    HskLevels hsk;
    if (Status read = ReadHskLevels(FindDictionary(kRoot), hsk); !read.ok()) {
      std::cerr << "warning: " << read.ToString() << "; every Chinese word counts as not in HSK.\n";
    }
    for (auto [index, levels] :
         {std::pair{&bilingual, &bilingualLevels}, std::pair{&monolingual, &monolingualLevels}}) {
      if (Status made = LoadSentenceLevels(*index, hsk, *levels); !made.ok()) {
        std::cerr << "warning: " << made.ToString() << "; the levels are made again next time.\n";
      }
    }
    sources.bilingualLevels = {&bilingualLevels, level};
    sources.monolingualLevels = {&monolingualLevels, level};
  }
  const SearchCommandResult result = RunSearchCommand(Utf8ToUtf16(text), sources, settings,
                                                      writePage ? page : std::filesystem::path(), pageOptions, offset);
  if (result.page == PageResult::kFailed) {
    std::cerr << "The page " << (result.pageFile.empty() ? page : result.pageFile).string()
              << " could not be written.\n";
  }
  if (!result.found()) {
    if (output == SearchOutput::kText && offset > 0 && result.route != SearchRoute::kNothingFound) {
      std::cerr << "No more sentences for \"" << U8(result.query) << "\" after the first " << offset << ".\n";
    } else if (output == SearchOutput::kText) {
      std::cerr << "Nothing found for \"" << U8(result.query) << "\".\n";
    }
    return 1;
  }
  if (output == SearchOutput::kTsv) {
    std::cout << FormatExportFile(ExportRows(result.query, result.bilingual, result.monolingual));
    return 0;
  }
  if (!result.notice.empty()) {
    if (json) {
      nlohmann::ordered_json line = {
          {"route", RouteName(result.route)}, {"searched", U8(result.searched)}, {"notice", U8(result.notice)}};
      if (!result.bilingualQuery.empty()) line["bilingual_query"] = U8(result.bilingualQuery);
      std::cout << line.dump() << '\n';
    } else {
      std::cout << Visible(result.notice) << '\n';
    }
  }
  if (!result.offer.empty()) {
    if (json) {
      nlohmann::ordered_json readings = nlohmann::ordered_json::array();
      for (const OfferedReading& r : result.offer.readings) {
        readings.push_back({{"text", U8(r.text)}, {"sentences", r.sentences}});
      }
      std::cout << nlohmann::ordered_json{{"offer", U8(result.offer.intro)}, {"readings", readings}}.dump() << '\n';
    } else {
      std::cout << Visible(result.offer.intro);
      const char* separator = " ";
      for (const OfferedReading& r : result.offer.readings) {
        std::cout << separator << Visible(r.text) << " (" << r.sentences << ')';
        separator = ", ";
      }
      std::cout << '\n';
    }
  }
  // The aligner of --align: the dictionary, and co-occurrence learned from the bilingual corpus.
  std::unique_ptr<WordAligner> aligner;
  DictionaryFile dictionary;
  CooccurrenceTable table;
  if (json && align) {
    if (Status status = dictionary.Open(FindDictionary(kRoot)); !status.ok()) {
      std::cerr << "warning: the dictionary cannot be read (" << status.ToString() << "); fewer links are found.\n";
    }
    if (Status status = table.Learn(kRoot / "BDict" / "sents.finalBI"); !status.ok()) {
      std::cerr << "warning: " << status.ToString() << "; links from co-occurrence are left out.\n";
    }
    aligner = std::make_unique<WordAligner>(dictionary, &table);
  }
  const auto print = [&](const char* corpus, const char* heading, const std::vector<ResultSentence>& list) {
    if (!json) std::cout << heading << '\n';
    int64_t rank = static_cast<int64_t>(offset);
    for (const ResultSentence& s : list) {
      ++rank;
      if (json) {
        nlohmann::ordered_json line = {{"corpus", corpus},
                                       {"rank", rank},
                                       {"chinese", U8(s.chinese)},
                                       {"pinyin", U8(s.pinyin)},
                                       {"english", U8(s.english)}};
        if (aligner && std::string_view(corpus) == "BI") {
          nlohmann::ordered_json links = nlohmann::ordered_json::array();
          for (const AlignLink& l : AlignSentencePair(*aligner, U8(s.chinese), U8(s.english))) {
            links.push_back({l.chinese, l.english});
          }
          line["links"] = std::move(links);
        }
        std::cout << line.dump() << '\n';
      } else {
        std::cout << rank << ". " << Visible(s.chinese) << "\n   " << Visible(s.pinyin) << "\n   " << Visible(s.english)
                  << '\n';
      }
    }
  };
  if (settings.searchBilingual) print("BI", "Bilingual Examples:", result.bilingual);
  if (settings.searchMonolingual) print("MO", "Monolingual Examples:", result.monolingual);
  return 0;
}

int Settings(const std::vector<std::string>& assignments) {
  // Every assignment is checked before the file is touched; the change is then made under the
  // settings lock to the values the file holds at that moment.
  std::vector<std::pair<bool SysSettings::*, bool>> changes;
  for (const std::string& a : assignments) {
    const size_t eq = a.find('=');
    const std::string key = a.substr(0, eq);
    const std::string value = eq == std::string::npos ? "" : a.substr(eq + 1);
    bool SysSettings::*flag = key == "FLAGSTARTUP" ? &SysSettings::greetAtStart
                              : key == "FLAGPRON"  ? &SysSettings::showPinyin
                              : key == "FLAGBI"    ? &SysSettings::searchBilingual
                              : key == "FLAGMONO"  ? &SysSettings::searchMonolingual
                                                   : nullptr;
    if (flag == nullptr || (value != "TRUE" && value != "FALSE")) {
      std::cerr << "Expected KEY=TRUE or KEY=FALSE with KEY one of FLAGSTARTUP, FLAGPRON, FLAGBI, FLAGMONO; got '" << a
                << "'.\n";
      return 2;
    }
    changes.emplace_back(flag, value == "TRUE");
  }
  SysSettings settings;
  Status written;
  if (changes.empty()) {
    (void)ReadConfig(settings, kRoot);  // without a readable file the defaults stay
  } else {
    const Status status = UpdateConfig(kRoot, [&](SysSettings& current) {
      for (const auto& [flag, value] : changes) current.*flag = value;
      settings = current;
    });
    if (!status.tookEffect()) {
      std::cerr << "The settings file " << ConfigFileName(kRoot).string()
                << " could not be written: " << status.ToString() << ". Nothing was changed.\n";
      return 2;
    }
    written = status;
  }
  const auto show = [](const char* key, bool v) { std::cout << key << '=' << (v ? "TRUE" : "FALSE") << '\n'; };
  show("FLAGSTARTUP", settings.greetAtStart);
  show("FLAGPRON", settings.showPinyin);
  show("FLAGBI", settings.searchBilingual);
  show("FLAGMONO", settings.searchMonolingual);
  if (!written.ok()) {
    std::cout.flush();
    return WrittenButNotSynced(ConfigFileName(kRoot), written);
  }
  return 0;
}

int Prepare(const std::string& tag) {
  PrepareReport report;
  const Status status = PrepareDictionary(kRoot, Utf8ToUtf16(tag), report);
  for (const auto& dropped : report.droppedKeys) {
    std::cerr << "warning: sentence " << dropped.sentenceId << ": key '" << U8(dropped.key)
              << "' is longer than 50 UTF-16 units and was left out\n";
  }
  if (status.kind() == Status::Kind::kInvalidInput) {
    std::cerr << status.file().string() << ", line " << status.line() << ": " << status.reason()
              << ". Nothing was written.\n";
    return 1;
  }
  if (!status.tookEffect()) {
    std::cerr << "Cannot prepare the corpus: " << status.ToString() << ". Nothing was changed.\n";
    return 1;
  }
  std::cout << "BDict/word.dict" << tag << ": " << report.keys << " keys from " << report.groups
            << " sentence groups\n";
  if (!status.ok()) {
    std::cout.flush();
    return WrittenButNotSynced(CorpusFileName(kRoot, CorpusFile::kDictionary, Utf8ToUtf16(tag)), status);
  }
  return 0;
}

int Segment(const std::string& lexiconPath, bool pinyin, bool simplify) {
  const std::filesystem::path path = lexiconPath.empty() ? FindLexicon(".") : std::filesystem::path(lexiconPath);
  Lexicon lexicon;
  if (const Status loaded = lexicon.Load(path); !loaded.ok()) {
    std::cerr << "tamrel-cli: cannot load the lexicon: " << loaded.ToString() << '\n';
    return 2;
  }
  Simplifier simplifier;  // left closed, it copies text as it is
  if (const Status opened = simplify ? simplifier.Open() : Status::Ok(); !opened.ok()) {
    std::cerr << "tamrel-cli: cannot simplify Chinese: " << opened.ToString() << '\n';
    return 2;
  }
  Segmenter segmenter(lexicon);
  std::string line;
  std::u16string out;
  while (std::getline(std::cin, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    out.clear();
    if (pinyin) {
      const AnalysedLine analysed = AnalyseLine(segmenter, lexicon, simplifier, Utf8ToUtf16(line));
      for (size_t i = 0; i < analysed.readings.size(); ++i) {
        if (i > 0) out += u' ';
        out += analysed.readings[i];
      }
    } else {
      AppendSegmentedLine(segmenter, simplifier, Utf8ToUtf16(line), out);
    }
    out += u'\n';
    std::cout << U8(out);
  }
  return 0;
}

}  // namespace tamrel::cli
