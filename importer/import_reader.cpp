#include "importer/import_reader.h"

#include <system_error>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "files/text_file.h"
#include "importer/text_scripts.h"

namespace tamrel {

namespace {

constexpr int64_t kTickEvery = 4096;  // lines

bool IsBlank(std::u16string_view text) { return text.find_first_not_of(u" \t\r\v\f") == std::u16string_view::npos; }

uint64_t ParseId(std::u16string_view digits) {
  uint64_t value = 0;
  for (char16_t c : digits) value = value * 10 + (c - u'0');
  return value;
}

struct IdPairHash {
  size_t operator()(const std::pair<uint64_t, uint64_t>& p) const {
    return std::hash<uint64_t>()(p.first * 0x9E3779B97F4A7C15ull ^ p.second);
  }
};

// Reads the lines of one import file that are not blank, with their 1-based numbers, and keeps
// the reader's byte count up to date; a byte-order mark before the first line is dropped.
class LineSource {
 public:
  LineSource(const std::filesystem::path& path, int64_t& bytesInFile) : path_(path), bytesInFile_(bytesInFile) {}
  Status Open() { return file_.OpenChecked(path_, TextFile::Mode::kRead); }
  bool Next(std::u16string& line) {
    while (file_.ReadLine(line)) {
      ++number_;
      if (number_ == 1 && !line.empty() && line[0] == u'\uFEFF') line.erase(0, 1);
      if (IsBlank(line)) continue;
      ++read_;
      if (read_ % kTickEvery == 0) bytesInFile_ = file_.GetPosition();
      return true;
    }
    bytesInFile_ = 0;
    return false;
  }
  int64_t number() const { return number_; }
  // True every kTickEvery lines that are not blank: time to call the reader's tick.
  bool due() const { return read_ % kTickEvery == 0; }
  int64_t length() { return file_.GetLength(); }

 private:
  const std::filesystem::path& path_;
  int64_t& bytesInFile_;
  TextFile file_;
  int64_t number_ = 0;
  int64_t read_ = 0;
};

// The reason a line of any format is left out before its fields are looked at, or null.
const char* LineFault(std::u16string_view line) {
  if (line.size() > kMaxLineCharacters && CharacterCount(line) > kMaxLineCharacters) {
    return "longer than 4000 characters";
  }
  if (line.find(u'\uFFFD') != std::u16string_view::npos) return "holds bytes that are not UTF-8 text";
  return nullptr;
}

}  // namespace

void ImportReadReport::Skip(const std::filesystem::path& file, int64_t line, std::string reason) {
  ++skippedLines;
  if (firstSkipped.size() < kMaxReportedSkips) firstSkipped.push_back({file, line, std::move(reason)});
}

Status ImportReader::Open(const std::vector<std::filesystem::path>& files) {
  files_ = files;
  formats_.clear();
  totalBytes_ = 0;
  bool sentences = false;
  bool links = false;
  for (const auto& file : files_) {
    DetectedFormat format;
    if (Status status = DetectImportFormat(file, format); !status.ok()) return status;
    if (Status status = CheckLineLengths(file); !status.ok()) return status;
    formats_.push_back(format);
    sentences = sentences || format.format == ImportFormat::kSentences;
    links = links || format.format == ImportFormat::kLinks;
    std::error_code ignored;
    const auto size = std::filesystem::file_size(file, ignored);
    if (size != static_cast<std::uintmax_t>(-1)) totalBytes_ += static_cast<int64_t>(size);
  }
  for (size_t i = 0; i < files_.size(); ++i) {
    if (formats_[i].format == ImportFormat::kSentences && !links) {
      return Status::InvalidInput(files_[i], 0,
                                  "is a Tatoeba sentences file; import it together with Tatoeba's links.csv, "
                                  "which tells which sentences translate each other");
    }
    if (formats_[i].format == ImportFormat::kLinks && !sentences) {
      return Status::InvalidInput(files_[i], 0,
                                  "is a Tatoeba links file; import it together with Tatoeba's sentences.csv, "
                                  "which holds the sentences it links");
    }
  }
  return Status::Ok();
}

Status ImportReader::Read(const std::function<void(const RawSentence&)>& onSentence, const std::function<bool()>& tick,
                          ImportReadReport& report) {
  stopped_ = false;
  bytesDone_ = 0;
  bool joined = false;
  for (size_t i = 0; i < files_.size() && !stopped_; ++i) {
    const ImportFormat format = formats_[i].format;
    if (format == ImportFormat::kSentences || format == ImportFormat::kLinks) {
      joined = true;
      continue;
    }
    if (Status status = ReadFile(i, onSentence, tick, report); !status.ok()) return status;
  }
  if (joined && !stopped_) return ReadSentencesAndLinks(onSentence, tick, report);
  return Status::Ok();
}

Status ImportReader::ReadFile(size_t index, const std::function<void(const RawSentence&)>& onSentence,
                              const std::function<bool()>& tick, ImportReadReport& report) {
  const auto& path = files_[index];
  const DetectedFormat& format = formats_[index];
  LineSource source(path, bytesInFile_);
  if (Status status = source.Open(); !status.ok()) return status;
  const int64_t length = source.length();
  std::u16string line;
  RawSentence sentence;
  sentence.file = index;
  while (source.Next(line)) {
    ++report.linesRead;
    if (source.due() && tick && !tick()) {
      stopped_ = true;
      return Status::Ok();
    }
    sentence.line = source.number();
    if (const char* fault = LineFault(line)) {
      report.Skip(path, source.number(), fault);
      continue;
    }
    if (format.format == ImportFormat::kPlainText) {
      const bool chinese = ContainsHan(line);
      sentence.chinese = chinese ? line : std::u16string();
      sentence.english = chinese ? std::u16string() : line;
      onSentence(sentence);
      continue;
    }
    const std::vector<std::u16string_view> fields = SplitFields(line);
    std::u16string_view chinese = format.chineseField < fields.size() ? fields[format.chineseField] : u"";
    std::u16string_view english = format.englishField < fields.size() ? fields[format.englishField] : u"";
    // A line with the columns the other way round than the rest of the file.
    if (!ContainsHan(chinese) && ContainsHan(english)) std::swap(chinese, english);
    if (IsBlank(chinese)) {
      report.Skip(path, source.number(), "no Chinese side");
    } else if (IsBlank(english)) {
      report.Skip(path, source.number(), "no English side");
    } else {
      sentence.chinese.assign(chinese);
      sentence.english.assign(english);
      onSentence(sentence);
    }
  }
  if (length > 0) bytesDone_ += length;
  return Status::Ok();
}

Status ImportReader::ReadSentencesAndLinks(const std::function<void(const RawSentence&)>& onSentence,
                                           const std::function<bool()>& tick, ImportReadReport& report) {
  std::unordered_map<uint64_t, std::u16string> chinese;
  std::unordered_map<uint64_t, std::u16string> english;
  std::u16string line;
  for (size_t i = 0; i < files_.size(); ++i) {
    if (formats_[i].format != ImportFormat::kSentences) continue;
    LineSource source(files_[i], bytesInFile_);
    if (Status status = source.Open(); !status.ok()) return status;
    const int64_t length = source.length();
    while (source.Next(line)) {
      ++report.linesRead;
      if (source.due() && tick && !tick()) {
        stopped_ = true;
        return Status::Ok();
      }
      if (const char* fault = LineFault(line)) {
        report.Skip(files_[i], source.number(), fault);
        continue;
      }
      const std::vector<std::u16string_view> fields = SplitFields(line);
      if (fields.size() < 3 || !IsSentenceId(fields[0])) {
        report.Skip(files_[i], source.number(), "not a sentence ID, a language and a text separated by tabs");
        continue;
      }
      auto* table = fields[1] == u"cmn" ? &chinese : fields[1] == u"eng" ? &english : nullptr;
      if (table == nullptr) continue;  // a sentence of another language
      if (IsBlank(fields[2])) {
        report.Skip(files_[i], source.number(), table == &chinese ? "no Chinese side" : "no English side");
        continue;
      }
      (*table)[ParseId(fields[0])] = std::u16string(fields[2]);
    }
    if (length > 0) bytesDone_ += length;
  }

  // Tatoeba lists each link in both directions; every Chinese-English pair is taken once.
  std::unordered_set<std::pair<uint64_t, uint64_t>, IdPairHash> taken;
  RawSentence sentence;
  for (size_t i = 0; i < files_.size(); ++i) {
    if (formats_[i].format != ImportFormat::kLinks) continue;
    LineSource source(files_[i], bytesInFile_);
    if (Status status = source.Open(); !status.ok()) return status;
    const int64_t length = source.length();
    sentence.file = i;
    while (source.Next(line)) {
      ++report.linesRead;
      if (source.due() && tick && !tick()) {
        stopped_ = true;
        return Status::Ok();
      }
      const std::vector<std::u16string_view> fields = SplitFields(line);
      if (fields.size() < 2 || !IsSentenceId(fields[0]) || !IsSentenceId(fields[1])) {
        report.Skip(files_[i], source.number(), "not two sentence IDs separated by a tab");
        continue;
      }
      uint64_t a = ParseId(fields[0]);
      uint64_t b = ParseId(fields[1]);
      if (!chinese.count(a)) std::swap(a, b);
      const auto zh = chinese.find(a);
      const auto en = english.find(b);
      if (zh == chinese.end() || en == english.end() || !taken.insert({a, b}).second) continue;
      sentence.chinese = zh->second;
      sentence.english = en->second;
      sentence.line = source.number();
      onSentence(sentence);
    }
    if (length > 0) bytesDone_ += length;
  }
  return Status::Ok();
}

}  // namespace tamrel
