#include "corpus/dict_prepare.h"

#include <algorithm>
#include <system_error>
#include <unordered_map>

#include "corpus/corpus_files.h"
#include "corpus/index_commit.h"
#include "corpus/word_record.h"
#include "files/durable_files.h"
#include "files/staged_file.h"
#include "files/text_file.h"
#include "text/text_utils.h"

namespace tamrel {

namespace {

// Reads the sentence file group by group: the first line of a group, then two more lines that are
// empty when the file ends inside the group, as the index build reads it.
class GroupReader {
 public:
  [[nodiscard]] Status Open(const std::filesystem::path& path) {
    return file_.OpenChecked(path, TextFile::Mode::kRead);
  }
  bool Next(std::u16string (&lines)[3]) {
    if (!file_.ReadLine(lines[0])) return false;
    file_.ReadLine(lines[1]);
    file_.ReadLine(lines[2]);
    firstLine_ = lineNumber_ + 1;
    lineNumber_ += 3;
    return true;
  }
  int64_t firstLine() const { return firstLine_; }

 private:
  TextFile file_;
  int64_t lineNumber_ = 0;
  int64_t firstLine_ = 0;
};

size_t CountTokens(std::u16string_view line) {
  size_t n = 0;
  ForEachField<char16_t>(line, u" ", [&](std::u16string_view) { ++n; });
  return n;
}

// The reason a group cannot be prepared, or an empty string; `line` gets its offset in the group.
std::string CheckGroup(const std::u16string (&lines)[3], int& line) {
  for (line = 0; line < 3; ++line) {
    const std::u16string& l = lines[line];
    if (l.find(u'\t') != std::u16string::npos) return "the line holds a tab";
    if (l.find(u"  ") != std::u16string::npos) return "the line holds a double space (an empty token)";
    if (!l.empty() && l[0] == u' ') return "the line starts with a space (an empty token)";
  }
  line = 1;
  if (CountTokens(lines[0]) != CountTokens(lines[1])) {
    return "the pinyin line has " + std::to_string(CountTokens(lines[1])) + " tokens but the Chinese line has " +
           std::to_string(CountTokens(lines[0]));
  }
  return {};
}

struct KeyPostings {
  int64_t total = 0;
  std::vector<std::pair<int32_t, int32_t>> postings;  // sentence ID, occurrences
};

bool WriteDictionary(TextFile& out, const std::vector<const std::pair<const std::u16string, KeyPostings>*>& order) {
  std::string line;
  bool ok = true;
  for (const auto* entry : order) {
    line = Utf16ToUtf8(entry->first);
    line += '\t';
    bool first = true;
    for (const auto& [id, count] : entry->second.postings) {
      if (!first) line += ' ';
      first = false;
      line += std::to_string(id);
      line += ':';
      line += std::to_string(count);
    }
    line += '\n';
    ok = out.Write(line.data(), line.size()) && ok;
  }
  return ok;
}

}  // namespace

Status PrepareDictionary(const std::filesystem::path& root, std::u16string_view tag, PrepareReport& report) {
  // The whole run holds the build lock of the corpus: a build of it then reads one dictionary or
  // the other, two prepares do not share the staged file, and an import cannot replace the
  // sentence file between the reading here and the writing of the dictionary made from it. A
  // commit that a killed import or build left half done is finished or undone first, so that
  // the sentence file read is the one the index goes with.
  FileLock lock;
  if (Status status = lock.Acquire(BuildLockFileName(root, tag)); !status.ok()) return status;
  if (Status status = RecoverIndexFiles(root, tag); !status.ok()) return status;
  const auto source = CorpusFileName(root, CorpusFile::kSentences, tag);
  std::u16string lines[3];
  {
    GroupReader check;
    if (Status status = check.Open(source); !status.ok()) return status;
    while (check.Next(lines)) {
      int offset = 0;
      const std::string error = CheckGroup(lines, offset);
      if (!error.empty()) return Status::InvalidInput(source, check.firstLine() + offset, error);
    }
  }

  GroupReader reader;
  if (Status status = reader.Open(source); !status.ok()) return status;
  std::unordered_map<std::u16string, KeyPostings> keys;
  std::unordered_map<std::u16string, int32_t> inGroup;
  std::u16string key;
  int32_t sentenceId = 0;
  for (; reader.Next(lines); ++sentenceId) {
    inGroup.clear();
    const auto add = [&](char16_t prefix, std::u16string_view word) {
      key.assign(1, prefix);
      key += word;
      ++inGroup[key];
    };
    ForEachField<char16_t>(lines[0], u" ", [&](std::u16string_view t) { add(u'0', t); });
    ForEachField<char16_t>(lines[1], u" ", [&](std::u16string_view t) { add(u'1', t); });
    std::u16string normal;
    ForEachField<char16_t>(lines[2], u" ", [&](std::u16string_view t) {
      add(u'3', t);
      normal = t;
      NormaliseWord(normal);
      if (!normal.empty()) add(u'2', normal);
    });
    for (const auto& [k, count] : inGroup) {
      if (k.size() > kMaxKeyUnits) {
        report.droppedKeys.push_back({sentenceId, k});
        continue;
      }
      KeyPostings& entry = keys[k];
      entry.total += count;
      entry.postings.emplace_back(sentenceId, count);
    }
  }
  // Dropped keys in sentence order, then key order, whatever order the counting map kept.
  std::sort(report.droppedKeys.begin(), report.droppedKeys.end(), [](const auto& a, const auto& b) {
    return a.sentenceId != b.sentenceId ? a.sentenceId < b.sentenceId : a.key < b.key;
  });
  report.groups = sentenceId;
  report.keys = static_cast<int64_t>(keys.size());

  std::vector<const std::pair<const std::u16string, KeyPostings>*> order;
  order.reserve(keys.size());
  for (const auto& entry : keys) order.push_back(&entry);
  std::sort(order.begin(), order.end(), [](const auto* a, const auto* b) {
    if (a->second.total != b->second.total) return a->second.total > b->second.total;
    return a->first < b->first;
  });

  // A staged file that a killed prepare left goes first.
  const auto target = CorpusFileName(root, CorpusFile::kDictionary, tag);
  (void)RemoveFile(StagedFileName(target));  // Open empties one that stays
  StagedFile dictionary(target);
  if (Status status = dictionary.Open(); !status.ok()) return status;
  if (!WriteDictionary(dictionary.file(), order)) return dictionary.WriteFailure();
  return dictionary.Commit();
}

}  // namespace tamrel
