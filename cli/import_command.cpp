#include "cli/import_command.h"

#include <unistd.h>

#include <cstdio>
#include <iostream>

#include "explorer/level_table.h"
#include "files/durable_files.h"
#include "importer/corpus_import.h"
#include "importer/open_chinese_text.h"
#include "search/level_file.h"
#include "text/text_utils.h"

namespace tamrel::cli {

namespace {

const char* StageName(ImportProgress::Stage stage) {
  switch (stage) {
    case ImportProgress::Stage::kReading:
      return "reading";
    case ImportProgress::Stage::kPreparing:
      return "preparing the dictionary";
    case ImportProgress::Stage::kBuilding:
      return "building the index";
    case ImportProgress::Stage::kCommitting:
      return "putting the files in place";
    case ImportProgress::Stage::kDone:
      break;
  }
  return "done";
}

void ShowProgress(const ImportProgress& p) {
  std::fprintf(stderr, "\r%3d%%  %lld lines read, %lld sentences, %.0f sentences/s, %s   ", p.percent,
               static_cast<long long>(p.linesRead), static_cast<long long>(p.sentences), p.sentencesPerSecond,
               StageName(p.stage));
}

void PrintSkipped(const ImportReport& report) {
  if (report.skippedLines == 0) return;
  std::cout << "Skipped " << report.skippedLines << " line" << (report.skippedLines == 1 ? "" : "s")
            << " that could not be used:\n";
  for (const SkippedLine& s : report.firstSkipped) {
    std::cout << "  " << s.file.string() << ", line " << s.line << ": " << s.reason << '\n';
  }
  if (report.skippedLines > static_cast<int64_t>(report.firstSkipped.size())) std::cout << "  ...\n";
}

}  // namespace

int Import(const std::string& tag, const std::vector<std::string>& files, bool append) {
  const std::filesystem::path root;  // the current directory
  Status status;
  const std::unique_ptr<ChineseText> tools = OpenChineseText(root, status);
  if (tools == nullptr) {
    std::cerr << "Cannot import: the language tools could not be loaded: " << status.ToString() << '\n';
    return 1;
  }
  std::vector<std::filesystem::path> paths(files.begin(), files.end());
  const bool terminal = ::isatty(::fileno(stderr)) != 0;
  ImportReport report;
  status = ImportCorpus(root, Utf8ToUtf16(tag), paths, append, *tools, &report,
                        terminal ? ShowProgress : std::function<void(const ImportProgress&)>());
  if (terminal) std::fputs("\n", stderr);
  if (!status.tookEffect()) {
    std::cerr << "Import failed: " << status.ToString() << "\nThe corpus " << tag << " was not changed.\n";
    PrintSkipped(report);
    return 1;
  }
  std::cout << "Imported " << report.groupsImported << " sentence groups into BDict/sents.final" << tag;
  if (append) std::cout << " after its " << report.groupsKept << " groups";
  std::cout << " (" << report.linesRead << " lines read, " << report.duplicates << " duplicates left out) in "
            << static_cast<int>(report.seconds * 10 + 0.5) / 10.0 << " s; the index is built.\n";
  PrintSkipped(report);
  if (status.ok()) {
    if (const Status levels = MakeLevelFiles(root, {Utf8ToUtf16(tag)}); !levels.ok()) {
      std::cerr << "The level file could not be made (" << levels.ToString()
                << "); the first search at a level makes it.\n";
    }
  } else {
    (void)RemoveFile(LevelFileName(root, Utf8ToUtf16(tag)));  // of the old corpus; a search at a level makes it
  }
  if (!report.keyTableFile.ok()) {
    std::cerr << "The key table file could not be written (" << report.keyTableFile.ToString()
              << "); searches load a little slower until the next build.\n";
  }
  if (status.kind() == Status::Kind::kUnfinished) {
    std::cout.flush();
    std::cerr << "The import has taken effect, but putting its files in place could not be finished: "
              << status.ToString() << ". It will be finished the next time Tamrel opens the corpus " << tag << ".\n";
    return 3;
  }
  return 0;
}

}  // namespace tamrel::cli
