#include "importer/import_format.h"

#include <array>
#include <string>

#include "files/text_file.h"
#include "importer/text_scripts.h"

namespace tamrel {

namespace {

constexpr size_t kProbeBytes = 8192;

// A Tatoeba language code: two to four lower-case ASCII letters, or \N for an unknown language.
bool IsLanguageCode(std::u16string_view field) {
  if (field == u"\\N") return true;
  if (field.size() < 2 || field.size() > 4) return false;
  for (char16_t c : field) {
    if (c < u'a' || c > u'z') return false;
  }
  return true;
}

// The counts that decide the format, over the lines looked at.
struct Votes {
  int lines = 0;
  int invalid = 0;  // lines holding U+FFFD (bytes that are not UTF-8)
  int multiField = 0;
  std::array<int, 5> fits{};  // by ImportFormat
  int hanIn[4] = {};          // lines whose field 0..3 holds Han (pair formats)
  int64_t firstLine = 0;

  int& fit(ImportFormat f) { return fits[static_cast<size_t>(f)]; }
};

void Vote(std::u16string_view line, Votes& votes) {
  ++votes.lines;
  if (line.find(u'\uFFFD') != std::u16string_view::npos) ++votes.invalid;
  const std::vector<std::u16string_view> fields = SplitFields(line);
  const size_t n = fields.size();
  if (n == 1) {
    ++votes.fit(ImportFormat::kPlainText);
    return;
  }
  ++votes.multiField;
  for (size_t i = 0; i < n && i < 4; ++i) {
    if (ContainsHan(fields[i])) ++votes.hanIn[i];
  }
  if (n == 2 && IsSentenceId(fields[0]) && IsSentenceId(fields[1])) {
    ++votes.fit(ImportFormat::kLinks);
  } else if (n >= 3 && IsSentenceId(fields[0]) && IsLanguageCode(fields[1])) {
    ++votes.fit(ImportFormat::kSentences);
  } else if (n >= 4 && IsSentenceId(fields[0]) && IsSentenceId(fields[2])) {
    if (ContainsHan(fields[1]) || ContainsHan(fields[3])) ++votes.fit(ImportFormat::kSentencePairs);
  } else if (!IsSentenceId(fields[0]) && (ContainsHan(fields[0]) || ContainsHan(fields[1]))) {
    ++votes.fit(ImportFormat::kPairs);
  }
}

// Checks the first bytes for what no reader takes: NUL bytes (binary, or UTF-16 without a mark)
// and a big-endian UTF-16 mark.
Status ProbeBytes(const std::filesystem::path& file) {
  TextFile f;
  if (Status status = f.OpenChecked(file, TextFile::Mode::kRead); !status.ok()) return status;
  std::string bytes(kProbeBytes, '\0');
  bytes.resize(f.Read(bytes.data(), bytes.size()));
  f.Close();
  if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') return Status::Ok();  // UTF-16LE
  if (bytes.size() >= 2 && bytes[0] == '\xFE' && bytes[1] == '\xFF') {
    return Status::InvalidInput(file, 0, "is UTF-16 big-endian text; save it as UTF-8 or UTF-16 little-endian");
  }
  const size_t nul = bytes.find('\0');
  if (nul != std::string::npos) {
    int64_t line = 1;
    for (size_t i = 0; i < nul; ++i) line += bytes[i] == '\n';
    return Status::InvalidInput(file, line,
                                "holds NUL bytes: it is not a text file (UTF-16 text needs a byte-order mark)");
  }
  return Status::Ok();
}

}  // namespace

Status CheckLineLengths(const std::filesystem::path& file) {
  TextFile f;
  if (Status status = f.OpenChecked(file, TextFile::Mode::kRead); !status.ok()) return status;
  std::string block(1 << 16, '\0');
  bool utf16 = false;
  bool first = true;
  bool lowByteIsLf = false;
  int64_t line = 1;
  int64_t length = 0;  // bytes of the current line so far
  int64_t offset = 0;  // of the block in the file
  size_t got;
  while ((got = f.Read(block.data(), block.size())) > 0) {
    if (first && got >= 2 && block[0] == '\xFF' && block[1] == '\xFE') utf16 = true;
    first = false;
    for (size_t i = 0; i < got; ++i) {
      // In UTF-16 a line ends at the unit 000A: a 0A byte in an even position followed by 00.
      bool end = false;
      if (!utf16) {
        end = block[i] == '\n';
      } else if ((offset + static_cast<int64_t>(i)) % 2 == 1) {
        end = lowByteIsLf && block[i] == '\0';
      } else {
        lowByteIsLf = block[i] == '\n';
      }
      if (end) {
        ++line;
        length = 0;
      } else if (++length > kMaxLineBytes) {
        return Status::InvalidInput(file, line, "the line is over 1 MB long: this is not a sentence file");
      }
    }
    offset += static_cast<int64_t>(got);
  }
  return Status::Ok();
}

std::vector<std::u16string_view> SplitFields(std::u16string_view line) {
  std::vector<std::u16string_view> fields;
  size_t start = 0;
  while (true) {
    const size_t tab = line.find(u'\t', start);
    if (tab == std::u16string_view::npos) break;
    fields.push_back(line.substr(start, tab - start));
    start = tab + 1;
  }
  fields.push_back(line.substr(start));
  return fields;
}

bool IsSentenceId(std::u16string_view field) {
  if (field.empty() || field.size() > 18) return false;
  for (char16_t c : field) {
    if (c < u'0' || c > u'9') return false;
  }
  return true;
}

const char* FormatName(ImportFormat format) {
  switch (format) {
    case ImportFormat::kPairs:
      return "sentence pairs";
    case ImportFormat::kSentencePairs:
      return "Tatoeba sentence pairs";
    case ImportFormat::kSentences:
      return "Tatoeba sentences";
    case ImportFormat::kLinks:
      return "Tatoeba links";
    case ImportFormat::kPlainText:
      break;
  }
  return "plain text";
}

Status DetectImportFormat(const std::filesystem::path& file, DetectedFormat& detected) {
  if (Status status = ProbeBytes(file); !status.ok()) return status;
  TextFile text;
  if (Status status = text.OpenChecked(file, TextFile::Mode::kRead); !status.ok()) return status;

  Votes votes;
  std::u16string line;
  for (int64_t number = 1; votes.lines < kDetectionLines && text.ReadLine(line); ++number) {
    if (number == 1 && !line.empty() && line[0] == u'\uFEFF') line.erase(0, 1);
    if (line.find_first_not_of(u" \t\r") == std::u16string::npos) continue;
    if (votes.lines == 0) votes.firstLine = number;
    Vote(line, votes);
  }
  if (votes.lines == 0) return Status::InvalidInput(file, 0, "is empty: it holds no sentence");
  if (2 * votes.invalid > votes.lines) {
    return Status::InvalidInput(file, votes.firstLine,
                                "is not UTF-8 or UTF-16 text: most lines hold bytes that are not UTF-8");
  }

  ImportFormat best = ImportFormat::kPlainText;
  for (ImportFormat f : {ImportFormat::kPairs, ImportFormat::kSentencePairs, ImportFormat::kSentences,
                         ImportFormat::kLinks, ImportFormat::kPlainText}) {
    if (votes.fit(f) > votes.fit(best)) best = f;
  }
  // Most lines must fit: a file of tab-separated columns without Chinese is not plain text.
  if (2 * votes.fit(best) <= votes.lines) {
    const char* reason =
        votes.multiField > 0 && votes.hanIn[0] + votes.hanIn[1] + votes.hanIn[2] + votes.hanIn[3] == 0
            ? "is not an English-Chinese file: its tab-separated lines hold no Chinese text"
            : "fits no import format: expected sentence pairs separated by a tab, Tatoeba's sentences.csv "
              "or links.csv, or plain text with one sentence a line";
    return Status::InvalidInput(file, votes.firstLine, reason);
  }
  detected = DetectedFormat{best, 0, 1};
  if (best == ImportFormat::kPairs) {
    detected.chineseField = votes.hanIn[1] >= votes.hanIn[0] ? 1 : 0;
    detected.englishField = 1 - detected.chineseField;
  } else if (best == ImportFormat::kSentencePairs) {
    detected.chineseField = votes.hanIn[3] >= votes.hanIn[1] ? 3 : 1;
    detected.englishField = 4 - detected.chineseField;
  }
  return Status::Ok();
}

}  // namespace tamrel
