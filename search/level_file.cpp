#include "search/level_file.h"

#include <cstring>

#include "corpus/key_table_file.h"
#include "files/byte_coding.h"
#include "files/staged_file.h"
#include "text/text_utils.h"

namespace tamrel {

namespace {

constexpr char kMagic[8] = {'T', 'M', 'R', 'L', 'L', 'E', 'V', 'L'};
constexpr uint32_t kVersion = 1;

}  // namespace

std::filesystem::path LevelFileName(const std::filesystem::path& root, std::u16string_view tag) {
  return root / ("data/levels.dat" + Utf16ToUtf8(tag));
}

std::string EncodeLevelFile(const SentenceLevels& levels, const LevelFileIdentity& identity) {
  std::string out;
  out.reserve(kLevelFileHeaderBytes + levels.wordBuckets.size() + kCountedBuckets * levels.sentences.size());
  out.append(kMagic, sizeof kMagic);
  PutFixed32(out, kVersion);
  PutFixed32(out, static_cast<uint32_t>(levels.wordBuckets.size()));
  PutFixed64(out, levels.sentences.size());
  PutFixed64(out, identity.stamp);
  PutFixed64(out, identity.dictionary);
  PutFixed64(out, 0);  // the body's digest, filled in below
  PutFixed64(out, 0);
  PutFixed64(out, 0);
  out.append(reinterpret_cast<const char*>(levels.wordBuckets.data()), levels.wordBuckets.size());
  for (const auto& counts : levels.sentences) out.append(reinterpret_cast<const char*>(counts.data()), counts.size());
  std::string digest;
  PutFixed64(digest, Digest64(std::string_view(out).substr(kLevelFileHeaderBytes)));
  out.replace(40, 8, digest);
  return out;
}

Status DecodeLevelFile(const std::filesystem::path& path, std::string_view file, const LevelFileIdentity& identity,
                       SentenceLevels& levels) {
  if (file.size() < kLevelFileHeaderBytes || std::memcmp(file.data(), kMagic, sizeof kMagic) != 0) {
    return Status::Corruption(path, "is not a level file");
  }
  const char* h = file.data();
  if (GetFixed32(h + 8) != kVersion) return Status::Corruption(path, "is of another version");
  const uint64_t words = GetFixed32(h + 12);
  const uint64_t sentences = GetFixed64(h + 16);
  if (words != identity.words || sentences != identity.sentences || GetFixed64(h + 24) != identity.stamp) {
    return Status::Corruption(path, "was made for another build of the index");
  }
  if (GetFixed64(h + 32) != identity.dictionary) return Status::Corruption(path, "was made with other levels");
  // Both counts come from the loaded index, so the size below cannot overflow.
  if (file.size() != kLevelFileHeaderBytes + words + kCountedBuckets * sentences) {
    return Status::Corruption(path, "is not as long as its header announces");
  }
  const std::string_view body = file.substr(kLevelFileHeaderBytes);
  if (GetFixed64(h + 40) != Digest64(body)) return Status::Corruption(path, "is damaged");
  SentenceLevels read;
  read.wordBuckets.assign(body.begin(), body.begin() + static_cast<std::ptrdiff_t>(words));
  for (uint8_t bucket : read.wordBuckets) {
    if (bucket > kBucketNotChinese) return Status::Corruption(path, "holds a level that does not exist");
  }
  read.sentences.resize(sentences);
  if (sentences > 0) std::memcpy(read.sentences.data(), body.data() + words, kCountedBuckets * sentences);
  levels = std::move(read);
  return Status::Ok();
}

Status WriteLevelFile(const std::filesystem::path& root, std::u16string_view tag, const SentenceLevels& levels,
                      const LevelFileIdentity& identity) {
  const std::string bytes = EncodeLevelFile(levels, identity);
  StagedFile file(LevelFileName(root, tag));
  if (Status status = file.Open(); !status.ok()) return status;
  if (!file.file().Write(bytes.data(), bytes.size())) return file.WriteFailure();
  return file.CommitUnsynced();
}

}  // namespace tamrel
