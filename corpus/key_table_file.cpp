#include "corpus/key_table_file.h"

#include <bit>
#include <cstring>

#include "corpus/index_commit.h"
#include "files/byte_coding.h"
#include "files/mapped_file.h"
#include "files/staged_file.h"
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

uint64_t Digest64(std::string_view bytes) {
  static_assert(std::endian::native == std::endian::little, "the index files are read in place as little-endian");
  // Four independent lanes, so that the multiplications of neighbouring words overlap.
  uint64_t lanes[4] = {kPrime1, kPrime2, 0, ~kPrime1};
  const char* p = bytes.data();
  size_t left = bytes.size();
  for (; left >= 32; p += 32, left -= 32) {
    for (int i = 0; i < 4; ++i) lanes[i] = Round(lanes[i], Load64(p + 8 * i));
  }
  uint64_t h = std::rotl(lanes[0], 1) + std::rotl(lanes[1], 7) + std::rotl(lanes[2], 12) + std::rotl(lanes[3], 18);
  for (; left >= 8; p += 8, left -= 8) h = Round(h, Load64(p));
  for (; left > 0; ++p, --left) h = Round(h, static_cast<unsigned char>(*p));
  h ^= bytes.size();
  h ^= h >> 33;
  h *= kPrime2;
  h ^= h >> 29;
  return h;
}

std::string EncodeKeyTableFile(const StringList& keys, const KeyTable& table, const WordTableIdentity& wordTable) {
  const std::u16string_view units = keys.AllUnits();
  const Shape shape{static_cast<uint32_t>(keys.size()), static_cast<uint32_t>(table.slotList().size()),
                    static_cast<uint32_t>(units.size())};
  std::string out;
  out.reserve(shape.Bytes());
  out.append(kMagic, sizeof kMagic);
  PutFixed32(out, kVersion);
  PutFixed32(out, shape.keys);
  PutFixed64(out, wordTable.bytes.size());
  PutFixed64(out, wordTable.stamp);
  PutFixed64(out, Digest64(wordTable.bytes));
  PutFixed32(out, shape.slots);
  PutFixed32(out, shape.units);
  PutFixed64(out, 0);  // the body's digest, filled in below
  PutFixed64(out, 0);
  for (const KeyTable::Slot& s : table.slotList()) {
    PutFixed32(out, s.id);
    PutFixed32(out, s.start);
    PutFixed32(out, uint32_t{s.length} | uint32_t{s.check} << 16);
  }
  for (uint32_t end : keys.Ends()) PutFixed32(out, end);
  for (char16_t unit : units) {
    out.push_back(static_cast<char>(unit & 0xFF));
    out.push_back(static_cast<char>(unit >> 8));
  }
  std::string digest;
  PutFixed64(digest, Digest64(std::string_view(out).substr(kKeyTableHeaderBytes)));
  out.replace(48, 8, digest);
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
  const auto wordTablePath = CorpusFileName(root, CorpusFile::kWordTable, tag);
  MappedFile wordTable;
  if (Status status = wordTable.OpenChecked(wordTablePath); !status.ok()) return status;
  // Every commit writes a stamp (never 0): a table with none would not be that build's.
  const uint64_t stamp = ReadBuildStamp(root, tag);
  if (stamp == 0) return Status::IoError(BuildStampFileName(root, tag), "cannot be read");
  const std::string bytes = EncodeKeyTableFile(keys, table, {wordTable.bytes(), stamp});
  // Staged and renamed, so that a load never maps a file being written, but not synced: after a
  // power cut a file cut short or empty fails its checks and is ignored like a missing one.
  StagedFile file(KeyTableFileName(root, tag));
  if (Status status = file.Open(); !status.ok()) return status;
  if (!file.file().Write(bytes.data(), bytes.size())) return file.WriteFailure();
  return file.CommitUnsynced();
}

}  // namespace tamrel
