#include "explorer/sentence_export.h"

#include "explorer/sentence_text.h"
#include "files/staged_file.h"
#include "text/text_utils.h"

namespace tamrel {

namespace {

constexpr std::string_view kHeader =
    "#separator:tab\n#html:false\n#columns:Chinese\tPinyin\tEnglish\tTags\n#tags column:4\n";

void AppendField(std::string& out, std::u16string_view field) {
  const std::string text = Utf16ToUtf8(PlainText(field));
  if (text.find('"') == std::string::npos && !text.starts_with('#')) {
    out += text;
    return;
  }
  out += '"';
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

std::u16string Tag(std::u16string_view query) {
  std::u16string tag = PlainText(query);
  for (char16_t& c : tag) {
    if (c == u' ') c = u'_';
  }
  return tag;
}

}  // namespace

std::vector<ExportRow> ExportRows(std::u16string_view query, const std::vector<ResultSentence>& bilingual,
                                  const std::vector<ResultSentence>& monolingual) {
  std::vector<ExportRow> rows;
  rows.reserve(bilingual.size() + monolingual.size());
  const std::u16string tag = Tag(query);
  for (const auto* list : {&bilingual, &monolingual}) {
    for (const ResultSentence& s : *list) {
      ExportRow row{JoinChineseWords(s.chinese), JoinPinyinWords(s.pinyin), PlainText(s.english), tag};
      // A card needs both sides, and Anki drops a note whose first field is empty.
      if (row.chinese.empty() || row.english.empty()) continue;
      rows.push_back(std::move(row));
    }
  }
  return rows;
}

std::string FormatExportFile(const std::vector<ExportRow>& rows) {
  std::string out(kHeader);
  for (const ExportRow& row : rows) {
    AppendField(out, row.chinese);
    out += '\t';
    AppendField(out, row.pinyin);
    out += '\t';
    AppendField(out, row.english);
    out += '\t';
    AppendField(out, row.tag);
    out += '\n';
  }
  return out;
}

Status WriteExportFile(const std::filesystem::path& path, const std::vector<ExportRow>& rows) {
  return WriteFileStaged(path, FormatExportFile(rows), StagedFile::Naming::kUnique);
}

}  // namespace tamrel
