#include "corpus/key_table_file.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "corpus/index_commit.h"
#include "files/byte_coding.h"
#include "files/staged_file.h"
#include "files/text_file.h"
#include "text/text_utils.h"

namespace tamrel {

namespace {

constexpr char kMagic[8] = {'T', 'M', 'R', 'L', 'K', 'E', 'Y', 'S'};
constexpr uint32_t kVersion = 1;
constexpr size_t kSlotBytes = 12;

constexpr uint64_t kPrime1 = 0x9E3779B185EBCA87ull;
constexpr uint64_t kPrime2 = 0xC2B2AE3D27D4EB4Full;

uint64_t Round(uint64_t lane, uint64_t word) { return std::rotl(lane + word * kPrime2, 31) * kPrime1; }

uint64_t Load64(const char* p) {
  uint64_t v;
  std::memcpy(&v, p, 8);
  return v;
}

// The sizes a header announces, and the file size they make.
struct Shape {
  uint32_t keys = 0;
  uint32_t slots = 0;
  uint32_t units = 0;
  uint64_t Bytes() const {
    return kKeyTableHeaderBytes + kSlotBytes * uint64_t{slots} + 4 * uint64_t{keys} + 2 * uint64_t{units};
  }
};

}  // namespace

std::filesystem::path KeyTableFileName(const std::filesystem::path& root, std::u16string_view tag) {
  return root / ("data/keytable.dat" + Utf16ToUtf8(tag));
}

namespace {

// Digest64 of bytes that come a piece at a time: the same value as of all of them at once.
class DigestStream {
 public:
  void Update(std::string_view bytes) {
    total_ += bytes.size();
    if (pendingSize_ > 0) {
      const size_t n = std::min(bytes.size(), sizeof pending_ - pendingSize_);
      std::memcpy(pending_ + pendingSize_, bytes.data(), n);
      pendingSize_ += n;
      bytes.remove_prefix(n);
      if (pendingSize_ < sizeof pending_) return;
      Block(pending_);
      pendingSize_ = 0;
    }
    for (; bytes.size() >= sizeof pending_; bytes.remove_prefix(sizeof pending_)) Block(bytes.data());
    std::memcpy(pending_, bytes.data(), bytes.size());
    pendingSize_ = bytes.size();
  }

  uint64_t Finish() const {
    uint64_t h =
        std::rotl(lanes_[0], 1) + std::rotl(lanes_[1], 7) + std::rotl(lanes_[2], 12) + std::rotl(lanes_[3], 18);
    const char* p = pending_;
    size_t left = pendingSize_;
    for (; left >= 8; p += 8, left -= 8) h = Round(h, Load64(p));
    for (; left > 0; ++p, --left) h = Round(h, static_cast<unsigned char>(*p));
    h ^= total_;
    h ^= h >> 33;
    h *= kPrime2;
    h ^= h >> 29;
    return h;
  }

 private:
  // Four independent lanes, so that the multiplications of neighbouring words overlap.
  void Block(const char* p) {
    for (int i = 0; i < 4; ++i) lanes_[i] = Round(lanes_[i], Load64(p + 8 * i));
  }

  uint64_t lanes_[4] = {kPrime1, kPrime2, 0, ~kPrime1};
  char pending_[32] = {};
  size_t pendingSize_ = 0;
  uint64_t total_ = 0;
};

constexpr size_t kBlockBytes = 1 << 20;

// Calls sink(bytes) with the file's bytes after the header, a block at a time, so that the file
// of a table of millions of keys is never all in memory; false as soon as the sink returns false.
template <typename Sink>
bool ForEachBodyBlock(const StringList& keys, const KeyTable& table, Sink&& sink) {
  std::string block;
  block.reserve(kBlockBytes + kSlotBytes);
  const auto full = [&] {
    if (block.size() < kBlockBytes) return true;
    const bool ok = sink(std::string_view(block));
    block.clear();
    return ok;
  };
  for (const KeyTable::Slot& s : table.slotList()) {
    PutFixed32(block, s.id);
    PutFixed32(block, s.start);
    PutFixed32(block, uint32_t{s.length} | uint32_t{s.check} << 16);
    if (!full()) return false;
  }
  for (uint32_t end : keys.Ends()) {
    PutFixed32(block, end);
    if (!full()) return false;
  }
  for (char16_t unit : keys.AllUnits()) {
    block.push_back(static_cast<char>(unit & 0xFF));
    block.push_back(static_cast<char>(unit >> 8));
    if (!full()) return false;
  }
  return block.empty() || sink(std::string_view(block));
}

// What the header says of the word table the file was made from.
struct WordTableSummary {
  uint64_t size = 0;
  uint64_t stamp = 0;
  uint64_t digest = 0;
};

Shape ShapeOf(const StringList& keys, const KeyTable& table) {
  return Shape{static_cast<uint32_t>(keys.size()), static_cast<uint32_t>(table.slotList().size()),
               static_cast<uint32_t>(keys.AllUnits().size())};
}

std::string EncodeHeader(const Shape& shape, const WordTableSummary& wordTable, uint64_t bodyDigest) {
  std::string out;
  out.append(kMagic, sizeof kMagic);
  PutFixed32(out, kVersion);
  PutFixed32(out, shape.keys);
  PutFixed64(out, wordTable.size);
  PutFixed64(out, wordTable.stamp);
  PutFixed64(out, wordTable.digest);
  PutFixed32(out, shape.slots);
  PutFixed32(out, shape.units);
  PutFixed64(out, bodyDigest);
  PutFixed64(out, 0);
  return out;
}

uint64_t BodyDigest(const StringList& keys, const KeyTable& table) {
  DigestStream digest;
  (void)ForEachBodyBlock(keys, table, [&](std::string_view block) {
    digest.Update(block);
    return true;
  });
  return digest.Finish();
}

// The size and digest of the word table file `path` (the stamp is left 0), read a block at a time
// rather than mapped, so that its pages do not count as the writer's memory.
Status SummariseWordTable(const std::filesystem::path& path, WordTableSummary& summary) {
  TextFile file;
  if (Status status = file.OpenChecked(path, TextFile::Mode::kRead); !status.ok()) return status;
  DigestStream digest;
  std::string block(kBlockBytes, '\0');
  summary = WordTableSummary();
  for (size_t n; (n = file.Read(block.data(), block.size())) > 0;) {
    digest.Update(std::string_view(block).substr(0, n));
    summary.size += n;
  }
  if (static_cast<int64_t>(summary.size) != file.GetLength()) return Status::IoError(path, "cannot be read");
  summary.digest = digest.Finish();
  return Status::Ok();
}

}  // namespace

uint64_t Digest64(std::string_view bytes) {
  static_assert(std::endian::native == std::endian::little, "the index files are read in place as little-endian");
  DigestStream digest;
  digest.Update(bytes);
  return digest.Finish();
}

std::string EncodeKeyTableFile(const StringList& keys, const KeyTable& table, const WordTableIdentity& wordTable) {
  const Shape shape = ShapeOf(keys, table);
  const WordTableSummary summary{wordTable.bytes.size(), wordTable.stamp, Digest64(wordTable.bytes)};
  std::string out = EncodeHeader(shape, summary, BodyDigest(keys, table));
  out.reserve(shape.Bytes());
  (void)ForEachBodyBlock(keys, table, [&](std::string_view block) {
    out.append(block);
    return true;
  });
  return out;
}

Status DecodeKeyTableFile(const std::filesystem::path& path, std::string_view file, const WordTableIdentity& wordTable,
                          StringList& keys, KeyTable& table) {
  if (file.size() < kKeyTableHeaderBytes || std::memcmp(file.data(), kMagic, sizeof kMagic) != 0) {
    return Status::Corruption(path, "is not a key table file");
  }
  const char* h = file.data();
  if (GetFixed32(h + 8) != kVersion) return Status::Corruption(path, "is of another version");
  const Shape shape{GetFixed32(h + 12), GetFixed32(h + 40), GetFixed32(h + 44)};
  if (GetFixed64(h + 16) != wordTable.bytes.size() || GetFixed64(h + 24) != wordTable.stamp) {
    return Status::Corruption(path, "was made from another word table");
  }
  if (shape.Bytes() != file.size() || shape.slots != KeyTable::CapacityFor(shape.keys)) {
    return Status::Corruption(path, "is not as long as its header announces");
  }
  const std::string_view body = file.substr(kKeyTableHeaderBytes);
  if (GetFixed64(h + 48) != Digest64(body)) return Status::Corruption(path, "is damaged");
  if (GetFixed64(h + 32) != Digest64(wordTable.bytes)) {
    return Status::Corruption(path, "was made from another word table");
  }

  const char* p = body.data();
  std::vector<KeyTable::Slot> slots(shape.slots);
  for (KeyTable::Slot& s : slots) {
    s.id = GetFixed32(p);
    s.start = GetFixed32(p + 4);
    const uint32_t lengthAndCheck = GetFixed32(p + 8);
    s.length = static_cast<uint16_t>(lengthAndCheck);
    s.check = static_cast<uint16_t>(lengthAndCheck >> 16);
    p += kSlotBytes;
  }
  // An empty word table has no ends and no units, and an empty vector may have no storage at all.
  std::vector<uint32_t> ends(shape.keys);
  if (shape.keys > 0) std::memcpy(ends.data(), p, 4 * size_t{shape.keys});  // little-endian, as asserted above
  p += 4 * size_t{shape.keys};
  std::u16string units(shape.units, u'\0');
  if (shape.units > 0) std::memcpy(units.data(), p, 2 * size_t{shape.units});

  StringList readKeys;
  KeyTable readTable;
  if (!readKeys.Assign(std::move(units), std::move(ends)) || !readTable.Adopt(readKeys, std::move(slots))) {
    return Status::Corruption(path, "holds keys or slots its layout does not allow");
  }
  keys = std::move(readKeys);
  table = std::move(readTable);
  return Status::Ok();
}

Status WriteKeyTableFile(const std::filesystem::path& root, std::u16string_view tag, const StringList& keys,
                         const KeyTable& table) {
  WordTableSummary wordTable;
  if (Status status = SummariseWordTable(CorpusFileName(root, CorpusFile::kWordTable, tag), wordTable); !status.ok()) {
    return status;
  }
  // Every commit writes a stamp (never 0): a table with none would not be that build's.
  wordTable.stamp = ReadBuildStamp(root, tag);
  if (wordTable.stamp == 0) return Status::IoError(BuildStampFileName(root, tag), "cannot be read");
  // The body is made twice, once for the digest the header carries and once to write it, rather
  // than held whole: it is as large as the keys and the table together.
  const std::string header = EncodeHeader(ShapeOf(keys, table), wordTable, BodyDigest(keys, table));
  // Staged and renamed, so that a load never maps a file being written, but not synced: after a
  // power cut a file cut short or empty fails its checks and is ignored like a missing one.
  StagedFile file(KeyTableFileName(root, tag));
  if (Status status = file.Open(); !status.ok()) return status;
  const auto write = [&](std::string_view bytes) { return file.file().Write(bytes.data(), bytes.size()); };
  if (!write(header) || !ForEachBodyBlock(keys, table, write)) return file.WriteFailure();
  return file.CommitUnsynced();
}

}  // namespace tamrel
