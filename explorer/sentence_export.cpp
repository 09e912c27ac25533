#include "explorer/sentence_export.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>

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
  // A symbolic link is followed to the file it names, and that file is written through a staged
  // file in its own folder: the link stays a link, and the rename stays within one file system.
  // A link that names no file yet makes that file, as a shell's ">" does.
  std::filesystem::path target = path;
  for (int links = 0;; ++links) {
    std::error_code error;
    if (!std::filesystem::is_symlink(std::filesystem::symlink_status(target, error))) break;
    if (links == 40) return Status::IoError(path, "too many levels of symbolic links");
    const std::filesystem::path named = std::filesystem::read_symlink(target, error);
    if (error) return Status::IoError(target, "cannot be followed: " + error.message());
    target = named.is_absolute() ? named : target.parent_path() / named;
  }
  struct stat info {};
  mode_t keptMode = 0;
  if (::stat(target.c_str(), &info) == 0) {
    if (S_ISDIR(info.st_mode)) return Status::IoError(target, "is a folder");
    if (!S_ISREG(info.st_mode)) return Status::IoError(target, "is not a regular file");
    // The user's protection holds: a file without any write bit is refused even for root, whom
    // access() always lets write.
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(target.c_str(), W_OK) != 0) {
      return Status::IoError(target, "is read-only");
    }
    keptMode = info.st_mode & 07777;
  } else if (errno != ENOENT) {
    return Status::IoError(target, std::string("cannot be examined: ") + std::strerror(errno));
  }
  StagedFile staged(target, StagedFile::Naming::kUnique);
  if (Status status = staged.Open(); !status.ok()) return status;
  const std::string bytes = FormatExportFile(rows);
  if (!staged.file().Write(bytes.data(), bytes.size())) return staged.WriteFailure();
  // A replaced file keeps its permissions, so that one only its owner could read stays so.
  if (keptMode != 0 && ::chmod(staged.stagedPath().c_str(), keptMode) != 0) {
    return Status::IoError(staged.stagedPath(), std::string("cannot take the permissions of ") + target.string() +
                                                    ": " + std::strerror(errno));
  }
  return staged.Commit();
}

}  // namespace tamrel
