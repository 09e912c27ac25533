// The key table file: what the build writes reads back as the table Rebuild makes, a load through
// it gives the same index as a load without it, and a file that is stale, of another word table,
// damaged or hostile is refused, so that the load builds the table in memory instead.
#include "corpus/key_table_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "corpus/corpus_files.h"
#include "corpus/corpus_index.h"
#include "corpus/index_build.h"
#include "corpus/index_commit.h"
#include "files/byte_coding.h"
#include "tests/support/test_support.h"

namespace tamrel {
namespace {

using test::ReadBytes;
using test::StringsOf;
using test::U64;
using test::WriteBytes;

// A repeated key (2apple), keys sharing a prefix unit, and an empty English key.
constexpr std::string_view kDictionary =
    "2apple\t0:1\n0。\t0:1 1:1\n0水\t1:1\n1shui\t1:1\n2\t0:1\n0我\t0:1\n2apple\t1:2\n3Apple\t0:1\n";
constexpr std::string_view kSentences = "我 。\n\nApple\n水 。\nshui\napple\n";
// As kDictionary with the keys of two lines swapped: a word table of the same size and count.
constexpr std::string_view kSwappedDictionary =
    "2apple\t0:1\n0水\t1:1\n0。\t0:1 1:1\n1shui\t1:1\n2\t0:1\n0我\t0:1\n2apple\t1:2\n3Apple\t0:1\n";

// Everything a load puts into an index that the key table file can change.
struct Loaded {
  std::vector<std::u16string> words, english, chinese;
  std::vector<std::optional<uint32_t>> ids;
  std::vector<std::optional<uint64_t>> offsets;
  bool operator==(const Loaded&) const = default;
};

Loaded Load(const std::filesystem::path& root) {
  CorpusIndex index(root, u"BI");
  EXPECT_TRUE(LoadCorpus(index).ok());
  Loaded out{StringsOf(index.words()), StringsOf(index.englishWords()), StringsOf(index.chineseWords()), {}, {}};
  for (const std::u16string& key : out.words) {
    out.ids.push_back(index.WordId(key));
    out.offsets.push_back(index.PostingOffset(key));
  }
  for (const char16_t* absent : {u"", u"2", u"2appl", u"2apples", u"0火", u"3apple"}) {
    out.ids.push_back(index.WordId(absent));
  }
  return out;
}

class KeyTableFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::BuildSmallCorpus(root(), u"BI", kDictionary, kSentences);
    pristine_ = ReadBytes(KeyFile());
    wordTableBytes_ = ReadBytes(WordTable()).size();
  }
  const std::filesystem::path& root() const { return folder_.path(); }
  std::filesystem::path KeyFile() const { return KeyTableFileName(root(), u"BI"); }
  std::filesystem::path WordTable() const { return CorpusFileName(root(), CorpusFile::kWordTable, u"BI"); }
  // The key table file's view of the word table in place.
  WordTableIdentity Identity() {
    wordTable_ = ReadBytes(WordTable());
    return {wordTable_, ReadBuildStamp(root(), u"BI")};
  }
  Status Decode(const std::string& file) {
    StringList keys;
    KeyTable table;
    return DecodeKeyTableFile(KeyFile(), file, Identity(), keys, table);
  }
  // The index loaded with the key table file `file` in place, next to the one loaded without any.
  void ExpectLoadsAsWithout(const std::string& file) {
    std::filesystem::remove(KeyFile());
    const Loaded without = Load(root());
    WriteBytes(KeyFile(), file);
    EXPECT_EQ(Load(root()), without);
  }

  test::RuntimeFolder folder_;
  std::string pristine_;
  std::string wordTable_;
  size_t wordTableBytes_ = 0;
};

TEST_F(KeyTableFileTest, TheBuildWritesTheTableRebuildMakes) {
  ASSERT_FALSE(pristine_.empty());
  StringList keys;
  KeyTable table;
  const Status status = DecodeKeyTableFile(KeyFile(), pristine_, Identity(), keys, table);
  ASSERT_TRUE(status.ok()) << status.ToString();
  CorpusIndex built(root(), u"BI");
  ASSERT_TRUE(LoadWordTable(built).ok());
  EXPECT_EQ(StringsOf(keys), StringsOf(built.words()));
  KeyTable rebuilt;
  rebuilt.Rebuild(keys);
  ASSERT_EQ(table.slotList().size(), rebuilt.slotList().size());
  for (size_t i = 0; i < table.slotList().size(); ++i) {
    const KeyTable::Slot &a = table.slotList()[i], &b = rebuilt.slotList()[i];
    EXPECT_TRUE(a.id == b.id && a.start == b.start && a.length == b.length && a.check == b.check) << i;
  }
  EXPECT_EQ(table.size(), rebuilt.size());
  // Header: magic, version, key count, and the word table it was made from.
  EXPECT_EQ(pristine_.substr(0, 8), "TMRLKEYS");
  EXPECT_EQ(GetFixed32(pristine_.data() + 12), 8u);
  EXPECT_EQ(pristine_.substr(16, 8), U64(wordTable_.size()));
  EXPECT_EQ(pristine_.substr(24, 8), U64(ReadBuildStamp(root(), u"BI")));
  EXPECT_EQ(pristine_, EncodeKeyTableFile(keys, table, Identity()));
}

TEST_F(KeyTableFileTest, ALoadThroughTheFileEqualsALoadWithout) {
  ExpectLoadsAsWithout(pristine_);
  // The repeated key is found under its last record, as a map filled in record order would.
  CorpusIndex index(root(), u"BI");
  ASSERT_TRUE(LoadWordTable(index).ok());
  EXPECT_EQ(index.WordId(u"2apple"), 6u);
  EXPECT_EQ(index.WordId(u"3Apple"), 7u);
}

TEST_F(KeyTableFileTest, AFileOfAnotherWordTableIsIgnored) {
  // Rebuilt from a dictionary that gives a word table of the same size, count and stamp: only the
  // digest of the word table tells the old file from a new one.
  const uint64_t stamp = ReadBuildStamp(root(), u"BI");
  test::BuildSmallCorpus(root(), u"BI", kSwappedDictionary, kSentences);
  WriteBytes(BuildStampFileName(root(), u"BI"), U64(stamp));
  ASSERT_EQ(ReadBytes(WordTable()).size(), wordTableBytes_);
  EXPECT_EQ(Decode(pristine_).kind(), Status::Kind::kCorruption);
  ExpectLoadsAsWithout(pristine_);
  CorpusIndex index(root(), u"BI");
  ASSERT_TRUE(LoadWordTable(index).ok());
  EXPECT_EQ(index.WordId(u"0水"), 1u);
}

TEST_F(KeyTableFileTest, AStaleStampOrVersionIsIgnored) {
  WriteBytes(BuildStampFileName(root(), u"BI"), U64(12345));
  EXPECT_FALSE(Decode(pristine_).ok());
  ExpectLoadsAsWithout(pristine_);
  std::string other = pristine_;
  other[8] = 2;
  EXPECT_FALSE(Decode(other).ok());
}

TEST_F(KeyTableFileTest, EveryTruncationAndFlippedByteIsRefused) {
  for (size_t size = 0; size < pristine_.size(); ++size) EXPECT_FALSE(Decode(pristine_.substr(0, size)).ok()) << size;
  EXPECT_FALSE(Decode(pristine_ + '\0').ok());
  for (size_t at = 0; at < pristine_.size(); ++at) {
    // The header's last eight bytes are not read; every other byte counts.
    if (at >= 56 && at < 64) continue;
    std::string damaged = pristine_;
    damaged[at] = static_cast<char>(damaged[at] ^ 0x10);
    EXPECT_FALSE(Decode(damaged).ok()) << at;
  }
  std::string damaged = pristine_;
  damaged[pristine_.size() / 2] ^= 1;
  ExpectLoadsAsWithout(damaged);
  ExpectLoadsAsWithout("");
}

TEST_F(KeyTableFileTest, TheBuildReplacesAFileItCannotUse) {
  WriteBytes(KeyFile(), "garbage");
  test::BuildSmallCorpus(root(), u"BI", kDictionary, kSentences);
  EXPECT_TRUE(Decode(ReadBytes(KeyFile())).ok());
}

// A build killed while it wrote the file leaves its staged name: the next load removes it and
// loads through the file in place.
TEST_F(KeyTableFileTest, AHalfWrittenFileOfAKilledBuildIsRemoved) {
  std::filesystem::path staged = KeyFile();
  staged += ".new";
  WriteBytes(staged, pristine_.substr(0, 100));
  ExpectLoadsAsWithout(pristine_);
  EXPECT_FALSE(std::filesystem::exists(staged));
}

// The file and the word table it names are digested a block at a time: a table of many keys,
// whose word table and file body span several blocks, still gives the file made whole in memory,
// and a load takes it.
TEST(KeyTableFileBlocksTest, ATableOfManyBlocksIsTheOneMadeWhole) {
  test::RuntimeFolder folder;
  std::string dictionary;
  for (int k = 0; k < 30000; ++k) dictionary += "2w" + std::to_string(k) + "\t0:1\n";
  test::BuildSmallCorpus(folder.path(), u"BI", dictionary, "\n\nw0\n");
  const std::string wordTable = ReadBytes(CorpusFileName(folder.path(), CorpusFile::kWordTable, u"BI"));
  ASSERT_GT(wordTable.size(), size_t{3} << 20);
  CorpusIndex index(folder.path(), u"BI");
  std::filesystem::remove(KeyTableFileName(folder.path(), u"BI"));
  ASSERT_TRUE(LoadWordTable(index).ok());
  ASSERT_TRUE(WriteKeyTableFile(folder.path(), u"BI", index.words(), index.wordIds()).ok());

  const std::string file = ReadBytes(KeyTableFileName(folder.path(), u"BI"));
  const WordTableIdentity identity{wordTable, ReadBuildStamp(folder.path(), u"BI")};
  EXPECT_GT(file.size(), size_t{1} << 20);
  EXPECT_TRUE(file == EncodeKeyTableFile(index.words(), index.wordIds(), identity));
  EXPECT_EQ(file.substr(32, 8), U64(Digest64(wordTable)));
  EXPECT_EQ(file.substr(48, 8), U64(Digest64(std::string_view(file).substr(kKeyTableHeaderBytes))));
  StringList keys;
  KeyTable table;
  const Status status = DecodeKeyTableFile(KeyTableFileName(folder.path(), u"BI"), file, identity, keys, table);
  EXPECT_TRUE(status.ok()) << status.ToString();
  EXPECT_EQ(keys.size(), 30000u);
}

// Slots and lists that a file whose digests were made to match could still hold.
TEST(KeyTableAdoptTest, SlotsThatRebuildCannotMakeAreRefused) {
  StringList keys;
  for (const char16_t* k : {u"2a", u"2bb", u"0c"}) ASSERT_TRUE(keys.push_back(k));
  KeyTable good;
  good.Rebuild(keys);
  const std::vector<KeyTable::Slot> slots = good.slotList();
  KeyTable table;
  EXPECT_TRUE(table.Adopt(keys, slots));
  EXPECT_EQ(table.Find(keys, u"2bb"), 1u);

  size_t used = 0;
  while (slots[used].id == KeyTable::kEmpty) ++used;
  for (int change = 0; change < 4; ++change) {
    std::vector<KeyTable::Slot> bad = slots;
    KeyTable::Slot& s = bad[used];
    if (change == 0) s.id = 3;        // no such key
    if (change == 1) s.start += 1;    // not where the key begins
    if (change == 2) s.length = 9;    // reaches past the units
    if (change == 3) bad.pop_back();  // another capacity
    KeyTable refused;
    EXPECT_FALSE(refused.Adopt(keys, bad)) << change;
    EXPECT_EQ(refused.size(), 0u);
  }
  // Every slot taken: a lookup of a missing key would never stop.
  std::vector<KeyTable::Slot> full(KeyTable::CapacityFor(keys.size()), slots[used]);
  EXPECT_FALSE(table.Adopt(keys, full));
  EXPECT_EQ(table.Find(keys, u"0c"), 2u);  // the table adopted before is unchanged

  StringList list;
  EXPECT_FALSE(list.Assign(u"abc", {2, 1, 3}));
  EXPECT_FALSE(list.Assign(u"abc", {1, 2}));
  EXPECT_FALSE(list.Assign(u"abc", {}));
  EXPECT_TRUE(list.Assign(u"abc", {1, 1, 3}));
  EXPECT_EQ(StringsOf(list), (std::vector<std::u16string>{u"a", u"", u"bc"}));
}

}  // namespace
}  // namespace tamrel
