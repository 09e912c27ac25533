#include "importer/sentence_file_writer.h"

#include "files/durable_files.h"
#include "text/text_utils.h"

namespace tamrel {

namespace {

constexpr size_t kFlushBytes = 1 << 20;

// Two unrelated 64-bit hashes (FNV-1a and a multiply-xorshift mix) of the same units: two groups
// that differ share both with a chance of about 2^-128, never met by any corpus.
uint64_t Fnv1a(std::u16string_view text, uint64_t hash) {
  for (char16_t unit : text) {
    hash ^= unit;
    hash *= 0x100000001B3ull;
  }
  return hash;
}

uint64_t Mix(std::u16string_view text, uint64_t hash) {
  for (char16_t unit : text) {
    hash = (hash ^ unit) * 0x9E3779B97F4A7C15ull;
    hash ^= hash >> 29;
  }
  return hash;
}

}  // namespace

SentenceFileWriter::Hash128 SentenceFileWriter::HashGroup(std::u16string_view chinese, std::u16string_view english) {
  // The line break between the two lines, which neither can hold, keeps "a" + "bc" apart from "ab" + "c".
  uint64_t low = Fnv1a(english, Fnv1a(u"\n", Fnv1a(chinese, 0xCBF29CE484222325ull)));
  uint64_t high = Mix(english, Mix(u"\n", Mix(chinese, 0x2545F4914F6CDD1Dull)));
  return {low, high};
}

Status SentenceFileWriter::Open(const std::filesystem::path& path) {
  path_ = path;
  return file_.OpenChecked(path, TextFile::Mode::kCreate);
}

void SentenceFileWriter::Write(const ImportedGroup& group) {
  for (const std::u16string* line : {&group.chinese, &group.pinyin, &group.english}) {
    buffer_ += Utf16ToUtf8(*line);
    buffer_ += '\n';
  }
  ++groups_;
  if (buffer_.size() >= kFlushBytes) Flush();
}

void SentenceFileWriter::Flush() {
  if (!buffer_.empty() && !file_.Write(buffer_.data(), buffer_.size())) ok_ = false;
  buffer_.clear();
}

bool SentenceFileWriter::Add(const ImportedGroup& group) {
  if (!seen_.insert(HashGroup(group.chinese, group.english)).second) return false;
  Write(group);
  return true;
}

Status SentenceFileWriter::CopyGroupsOf(const std::filesystem::path& path, int64_t& groups) {
  groups = 0;
  std::error_code error;
  if (!std::filesystem::exists(path, error)) return Status::Ok();
  TextFile source;
  if (Status status = source.OpenChecked(path, TextFile::Mode::kRead); !status.ok()) {
    return status.kind() == Status::Kind::kNotFound ? Status::IoError(path, "cannot be read") : status;
  }
  ImportedGroup group;
  while (source.ReadLine(group.chinese)) {
    source.ReadLine(group.pinyin);  // a file that ends inside the group leaves these empty
    source.ReadLine(group.english);
    // A UTF-8 byte-order mark is not part of the first sentence.
    if (groups == 0 && !group.chinese.empty() && group.chinese[0] == u'\uFEFF') group.chinese.erase(0, 1);
    seen_.insert(HashGroup(group.chinese, group.english));
    Write(group);
    ++groups;
  }
  return Status::Ok();
}

Status SentenceFileWriter::Close() {
  Flush();
  const bool closed = file_.Close();
  if (!ok_ || !closed) return file_.WriteFailure(path_);
  return SyncFile(path_);
}

}  // namespace tamrel
