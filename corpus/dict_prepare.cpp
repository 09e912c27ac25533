#include "corpus/dict_prepare.h"

#include <algorithm>
#include <system_error>

#include "corpus/corpus_files.h"
#include "corpus/index_commit.h"
#include "corpus/key_numbering.h"
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

// Calls fn(key) for every key of a group: "0" and each Chinese token, "1" and each pinyin token,
// "3" and each English token as written and "2" and its normal form, when that is not empty.
template <typename Fn>
void ForEachKey(const std::u16string (&lines)[3], std::u16string& normal, Fn&& fn) {
  ForEachField<char16_t>(lines[0], u" ", [&](std::u16string_view t) { fn(KeyPart{u'0', t}); });
  ForEachField<char16_t>(lines[1], u" ", [&](std::u16string_view t) { fn(KeyPart{u'1', t}); });
  ForEachField<char16_t>(lines[2], u" ", [&](std::u16string_view t) {
    fn(KeyPart{u'3', t});
    normal = t;
    NormaliseWord(normal);
    if (!normal.empty()) fn(KeyPart{u'2', normal});
  });
}

bool IsLongKey(const KeyPart& part) { return part.rest.size() + 1 > kMaxKeyUnits; }

// Sorts the key numbers of one group and calls fn(number, occurrences) for each distinct one.
template <typename Fn>
void ForEachCounted(std::vector<uint32_t>& numbers, Fn&& fn) {
  std::sort(numbers.begin(), numbers.end());
  for (size_t i = 0; i < numbers.size();) {
    size_t j = i + 1;
    while (j < numbers.size() && numbers[j] == numbers[i]) ++j;
    fn(numbers[i], static_cast<int32_t>(j - i));
    i = j;
  }
}

// The postings of every key, by key number, in one array: key n's are at [end of n - 1, end of
// n), in sentence order. Occurrences are kept in a byte each; the rare count of 255 or more is
// looked up among the large ones.
struct PostingArrays {
  std::vector<uint64_t> ends;
  std::vector<int32_t> sentences;
  std::vector<uint8_t> counts;
  std::vector<std::pair<uint64_t, int32_t>> largeCounts;  // position, occurrences; sorted

  int32_t CountAt(uint64_t position) const {
    if (counts[position] < UINT8_MAX) return counts[position];
    const auto found = std::lower_bound(largeCounts.begin(), largeCounts.end(), std::make_pair(position, INT32_MIN));
    return found->second;
  }
};

bool WriteDictionary(TextFile& out, const StringList& keys, const std::vector<uint32_t>& order,
                     const PostingArrays& postings) {
  std::string line;
  bool ok = true;
  for (const uint32_t n : order) {
    line = Utf16ToUtf8(keys[n]);
    line += '\t';
    const uint64_t begin = n == 0 ? 0 : postings.ends[n - 1];
    for (uint64_t p = begin; p < postings.ends[n]; ++p) {
      if (p != begin) line += ' ';
      line += std::to_string(postings.sentences[p]);
      line += ':';
      line += std::to_string(postings.CountAt(p));
    }
    line += '\n';
    ok = out.Write(line.data(), line.size()) && ok;
  }
  return ok;
}

// What the first pass learns: every key of the file numbered, how often each occurs in all and
// in how many groups.
struct KeyCounts {
  KeyNumbering numbering;
  std::vector<uint64_t> totals;
  std::vector<uint32_t> groupsHolding;
  int32_t groups = 0;
};

// The first pass: checks every group (CheckGroup) and counts its keys; keys over kMaxKeyUnits go
// to report.droppedKeys instead, in sentence order, then key order. Fails at the first broken group.
Status CountKeys(const std::filesystem::path& source, KeyCounts& counts, PrepareReport& report) {
  GroupReader reader;
  if (Status status = reader.Open(source); !status.ok()) return status;
  std::u16string lines[3];
  std::u16string normal;
  std::vector<uint32_t> numbers;         // of the keys of one group
  std::vector<std::u16string> longKeys;  // of one group
  for (; reader.Next(lines); ++counts.groups) {
    int offset = 0;
    const std::string error = CheckGroup(lines, offset);
    if (!error.empty()) return Status::InvalidInput(source, reader.firstLine() + offset, error);
    numbers.clear();
    longKeys.clear();
    bool full = false;
    ForEachKey(lines, normal, [&](const KeyPart& part) {
      if (IsLongKey(part)) {
        longKeys.push_back(part.prefix + std::u16string(part.rest));
        return;
      }
      const uint32_t n = counts.numbering.Add(part);
      full = full || n == KeyNumbering::kNone;
      if (n != KeyNumbering::kNone) numbers.push_back(n);
    });
    if (full) return Status::InvalidInput(source, reader.firstLine(), "holds more words than a dictionary can");
    std::sort(longKeys.begin(), longKeys.end());
    longKeys.erase(std::unique(longKeys.begin(), longKeys.end()), longKeys.end());
    for (std::u16string& k : longKeys) report.droppedKeys.push_back({counts.groups, std::move(k)});
    counts.totals.resize(counts.numbering.size());
    counts.groupsHolding.resize(counts.numbering.size());
    ForEachCounted(numbers, [&](uint32_t n, int32_t count) {
      counts.totals[n] += static_cast<uint64_t>(count);
      ++counts.groupsHolding[n];
    });
  }
  return Status::Ok();
}

// The key numbers, the most frequent key first; keys of equal frequency in key order.
std::vector<uint32_t> FrequencyOrder(const KeyCounts& counts) {
  const StringList& keys = counts.numbering.keys();
  std::vector<uint32_t> order(keys.size());
  for (uint32_t n = 0; n < order.size(); ++n) order[n] = n;
  std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
    if (counts.totals[a] != counts.totals[b]) return counts.totals[a] > counts.totals[b];
    return keys[a] < keys[b];
  });
  return order;
}

// The second pass: puts every posting into its place, which the counts of the first pass make
// room for. The build lock keeps imports out, but a person may edit the file meanwhile: a pass
// that meets other keys or more postings than the first counted stops instead of writing past
// them. Uses up counts.groupsHolding.
Status PlacePostings(const std::filesystem::path& source, KeyCounts& counts, PostingArrays& postings) {
  const Status changed = Status::InvalidInput(source, 0, "changed while the dictionary was prepared from it");
  postings.ends.resize(counts.numbering.size());
  uint64_t all = 0;
  for (size_t n = 0; n < counts.groupsHolding.size(); ++n) {
    postings.ends[n] = all;  // where key n's postings begin, until this pass moves it on
    all += counts.groupsHolding[n];
  }
  postings.sentences.resize(all);
  postings.counts.resize(all);
  GroupReader reader;
  if (Status status = reader.Open(source); !status.ok()) return status;
  std::u16string lines[3];
  std::u16string normal;
  std::vector<uint32_t> numbers;
  int32_t sentenceId = 0;
  for (; reader.Next(lines); ++sentenceId) {
    if (sentenceId == counts.groups) return changed;
    numbers.clear();
    bool differs = false;
    ForEachKey(lines, normal, [&](const KeyPart& part) {
      if (IsLongKey(part)) return;
      const uint32_t n = counts.numbering.Find(part);
      differs = differs || n == KeyNumbering::kNone;
      if (n != KeyNumbering::kNone) numbers.push_back(n);
    });
    if (differs) return changed;
    ForEachCounted(numbers, [&](uint32_t n, int32_t count) {
      if (counts.groupsHolding[n] == 0) {
        differs = true;
        return;
      }
      --counts.groupsHolding[n];
      const uint64_t p = postings.ends[n]++;
      postings.sentences[p] = sentenceId;
      postings.counts[p] = static_cast<uint8_t>(std::min<int32_t>(count, UINT8_MAX));
      if (count >= UINT8_MAX) postings.largeCounts.emplace_back(p, count);
    });
    if (differs) return changed;
  }
  if (sentenceId != counts.groups) return changed;
  for (const uint32_t left : counts.groupsHolding) {
    if (left != 0) return changed;
  }
  std::sort(postings.largeCounts.begin(), postings.largeCounts.end());
  return Status::Ok();
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
  // Two passes over the sentence file instead of a map of every key to its postings: the first
  // checks each group, numbers the keys and counts them; the second puts each posting straight
  // into its place in one array. Memory then grows with the key text and the postings only.
  KeyCounts counts;
  if (Status status = CountKeys(source, counts, report); !status.ok()) return status;
  report.groups = counts.groups;
  report.keys = static_cast<int64_t>(counts.numbering.size());
  const std::vector<uint32_t> order = FrequencyOrder(counts);
  std::vector<uint64_t>().swap(counts.totals);
  PostingArrays postings;
  if (Status status = PlacePostings(source, counts, postings); !status.ok()) return status;
  std::vector<uint32_t>().swap(counts.groupsHolding);
  counts.numbering.ReleaseLookup();

  // A staged file that a killed prepare left goes first.
  const auto target = CorpusFileName(root, CorpusFile::kDictionary, tag);
  (void)RemoveFile(StagedFileName(target));  // Open empties one that stays
  StagedFile dictionary(target);
  if (Status status = dictionary.Open(); !status.ok()) return status;
  if (!WriteDictionary(dictionary.file(), counts.numbering.keys(), order, postings)) return dictionary.WriteFailure();
  return dictionary.Commit();
}

}  // namespace tamrel
