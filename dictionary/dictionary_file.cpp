#include "dictionary/dictionary_file.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <cstring>

#include "text/text_utils.h"

namespace tamrel {

namespace {

constexpr std::string_view kMagic = "# Tamrel dictionary 1:";
// The ninth field, the character's HSK level, is in files from the version that added it on.
constexpr size_t kFieldCount = 9;
constexpr size_t kEarlierFieldCount = 8;

// Splits `text` at every `separator` into `out` (converted to UTF-16); an empty text gives no
// parts. False when some part is not well-formed UTF-8.
bool SplitUtf16(std::string_view text, char separator, std::vector<std::u16string>& out) {
  out.clear();
  if (text.empty()) return true;
  size_t start = 0;
  while (true) {
    const size_t end = text.find(separator, start);
    const std::string_view part = text.substr(start, end == std::string_view::npos ? text.size() - start : end - start);
    out.emplace_back();
    if (!StrictUtf8ToUtf16(part, out.back())) return false;
    if (end == std::string_view::npos) return true;
    start = end + 1;
  }
}

bool ParseHsk(std::string_view text, HskLevel& level) {
  if (text.empty()) {
    level = HskLevel::kNone;
  } else if (text == "7-9") {
    level = HskLevel::k7To9;
  } else if (text.size() == 1 && text[0] >= '1' && text[0] <= '6') {
    level = static_cast<HskLevel>(text[0] - '0');
  } else {
    return false;
  }
  return true;
}

bool ParseRank(std::string_view text, uint32_t& rank) {
  rank = 0;
  if (text.size() > 9) return false;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
    rank = rank * 10 + static_cast<uint32_t>(c - '0');
  }
  return text.empty() || rank > 0;
}

constexpr std::string_view kPointers[] = {"see ",     "variant of", "old variant of",
                                          "used in ", "surname ",   "also written"};

}  // namespace

bool IsPointerSense(std::string_view sense) {
  for (const std::string_view p : kPointers) {
    if (sense.starts_with(p)) return true;
  }
  // "Japanese variant of", "unofficial variant of": one word before it.
  const size_t variant = sense.find(" variant of ");
  return variant != std::string_view::npos && sense.find(' ') == variant;
}

void DictionaryFile::Clear() {
  mapped_.Close();
  owned_.clear();
  bytes_ = {};
  lineStarts_.clear();
  headerLines_ = 0;
}

Status DictionaryFile::Open(const std::filesystem::path& file) {
  Clear();
  file_ = file;
  if (Status status = mapped_.OpenChecked(file); !status.ok()) return status;
  bytes_ = mapped_.bytes();
  return FindLines();
}

Status DictionaryFile::Parse(std::string bytes, const std::filesystem::path& file) {
  Clear();
  file_ = file;
  owned_ = std::move(bytes);
  bytes_ = owned_;
  return FindLines();
}

Status DictionaryFile::FindLines() {
  const auto fail = [&](int64_t line, std::string_view reason) {
    Clear();
    return line > 0 ? Status::InvalidInput(file_, line, reason) : Status::Corruption(file_, reason);
  };
  if (bytes_.size() >= kMaxBytes) return fail(0, "is too large for a dictionary file");
  if (!bytes_.starts_with(kMagic)) return fail(0, "is not a Tamrel dictionary file (its header is missing)");
  if (bytes_.back() != '\n') return fail(0, "does not end with a line break (truncated?)");
  size_t at = 0;
  int64_t lineNumber = 0;
  std::string_view previous;
  while (at < bytes_.size()) {
    ++lineNumber;
    const size_t end = bytes_.find('\n', at);
    const std::string_view line = bytes_.substr(at, end - at);
    if (line.starts_with('#')) {
      if (!lineStarts_.empty()) return fail(lineNumber, "a header line among the entries");
      ++headerLines_;
    } else {
      const size_t tab = line.find('\t');
      if (tab == 0 || tab == std::string_view::npos) return fail(lineNumber, "an entry without a headword");
      const std::string_view headword = line.substr(0, tab);
      if (headword < previous) return fail(lineNumber, "headwords out of order");
      previous = headword;
      lineStarts_.push_back(static_cast<uint32_t>(at));
    }
    at = end + 1;
  }
  lineStarts_.push_back(static_cast<uint32_t>(bytes_.size()));
  if (lineStarts_.size() == 1) lineStarts_.clear();
  return Status::Ok();
}

std::string_view DictionaryFile::Line(size_t i) const {
  const size_t start = lineStarts_[i];
  return bytes_.substr(start, lineStarts_[i + 1] - start - 1);
}

std::string_view DictionaryFile::Headword(size_t i) const {
  const std::string_view line = Line(i);
  return line.substr(0, line.find('\t'));
}

std::string_view DictionaryFile::Field(size_t i, size_t field) const {
  std::string_view line = Line(i);
  for (size_t k = 0; k < field; ++k) {
    const size_t tab = line.find('\t');
    if (tab == std::string_view::npos) return {};
    line.remove_prefix(tab + 1);
  }
  return line.substr(0, line.find('\t'));
}

uint32_t DictionaryFile::FrequencyRank(size_t i) const {
  uint32_t rank = 0;
  return ParseRank(Field(i, 7), rank) ? rank : 0;
}

bool DictionaryFile::IsProperNoun(size_t i) const {
  const std::u16string reading = Utf8ToUtf16(Field(i, 2).substr(0, 4));
  return !reading.empty() && u_isupper(reading.front());
}

bool DictionaryFile::IsSecondary(size_t i) const {
  const size_t first = FindHeadword(Headword(i)).first;
  const std::u16string reading = Utf8ToUtf16(Field(i, 2));
  const std::u16string common = Utf8ToUtf16(Field(first, 2));
  if (reading.size() != common.size()) return true;
  for (size_t k = 0; k < reading.size(); ++k) {
    if (u_tolower(reading[k]) != u_tolower(common[k])) return true;
  }
  std::string_view senses = Field(i, 3);
  while (!senses.empty()) {
    const size_t slash = senses.find('/');
    if (!IsPointerSense(senses.substr(0, slash))) return false;
    senses.remove_prefix(slash == std::string_view::npos ? senses.size() : slash + 1);
  }
  return true;
}

std::pair<size_t, size_t> DictionaryFile::FindHeadword(std::string_view utf8) const {
  const size_t n = size();
  size_t low = 0, high = n;
  while (low < high) {
    const size_t middle = low + (high - low) / 2;
    if (Headword(middle) < utf8) {
      low = middle + 1;
    } else {
      high = middle;
    }
  }
  size_t last = low;
  while (last < n && Headword(last) == utf8) ++last;
  return {low, last};
}

Status DictionaryFile::ReadEntry(size_t i, DictionaryEntry& entry) const {
  const int64_t lineNumber = static_cast<int64_t>(headerLines_ + i + 1);
  std::string_view fields[kFieldCount];
  std::string_view line = Line(i);
  size_t count = 0;
  while (true) {
    if (count == kFieldCount) return Status::InvalidInput(file_, lineNumber, "an entry with more than nine fields");
    const size_t tab = line.find('\t');
    fields[count++] = line.substr(0, tab);
    if (tab == std::string_view::npos) break;
    line.remove_prefix(tab + 1);
  }
  if (count < kEarlierFieldCount) return Status::InvalidInput(file_, lineNumber, "an entry without its eight fields");
  if (!StrictUtf8ToUtf16(fields[0], entry.simplified) || !StrictUtf8ToUtf16(fields[1], entry.traditional) ||
      !SplitUtf16(fields[2], ' ', entry.syllables) || !SplitUtf16(fields[3], '/', entry.senses) ||
      !SplitUtf16(fields[4], '/', entry.classifiers) || !SplitUtf16(fields[5], '/', entry.referred)) {
    return Status::InvalidInput(file_, lineNumber, "an entry that is not UTF-8");
  }
  if (entry.traditional.empty()) entry.traditional = entry.simplified;
  if (!ParseHsk(fields[6], entry.hsk)) return Status::InvalidInput(file_, lineNumber, "an HSK level not 1-6 or 7-9");
  if (!ParseHsk(fields[8], entry.characterHsk)) {
    return Status::InvalidInput(file_, lineNumber, "a character's HSK level not 1-6 or 7-9");
  }
  if (!ParseRank(fields[7], entry.frequencyRank)) {
    return Status::InvalidInput(file_, lineNumber, "a frequency rank that is not a number from 1");
  }
  return Status::Ok();
}

}  // namespace tamrel
