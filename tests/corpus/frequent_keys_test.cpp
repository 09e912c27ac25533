// The frequent keys: every ID they give is the one the full key table gives (a repeated key: its
// last record), they keep the keys with the most postings up to their limit, and whatever they do
// not keep is reported missing, in order, for the full table to look up.
#include "corpus/frequent_keys.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "corpus/key_table.h"
#include "corpus/string_list.h"

namespace tamrel {
namespace {

struct Keys {
  StringList list;
  KeyTable table;
  explicit Keys(const std::vector<std::u16string>& keys) {
    for (const std::u16string& k : keys) list.push_back(k);
    table.Rebuild(list);
  }
};

KeyPart Part(std::u16string_view key) { return KeyPart{key[0], key.substr(1)}; }

TEST(FrequentKeysTest, IdsAreThoseOfTheFullTable) {
  // 2apple twice: the later record's ID. 0一二三四五六七八 is nine units, the longest kept;
  // 0一二三四五六七八九 is ten.
  const Keys keys({u"2apple", u"0水", u"1shui3", u"2apple", u"0一二三四五六七八", u"0一二三四五六七八九", u"3Apple"});
  FrequentKeys frequent;
  frequent.Choose(keys.list, keys.table, {5, 4, 3, 2, 1, 9, 1});
  EXPECT_EQ(frequent.size(), 5u);  // the two records of 2apple are one key; the ten-unit key does not fit
  for (const char16_t* key : {u"2apple", u"0水", u"1shui3", u"0一二三四五六七八", u"3Apple"}) {
    EXPECT_EQ(frequent.Find(Part(key)), keys.table.Find(keys.list, key)) << std::u16string(key).size();
  }
  EXPECT_EQ(frequent.Find(Part(u"2apple")), 3u);
  EXPECT_EQ(frequent.Find(Part(u"0一二三四五六七八九")), std::nullopt);
  // Not keys, or keys under another prefix, or longer or shorter than one kept.
  for (const char16_t* absent : {u"3apple", u"2Apple", u"2appl", u"2apples", u"0水水", u"1shui", u"0"}) {
    EXPECT_EQ(frequent.Find(Part(absent)), std::nullopt) << std::u16string(absent).size();
  }
}

TEST(FrequentKeysTest, FindAllGivesTheKeptAndListsTheRestInOrder) {
  const Keys keys({u"0我", u"0你", u"2tea", u"2coffee"});
  FrequentKeys frequent;
  frequent.Choose(keys.list, keys.table, {10, 1, 7, 3});
  const std::vector<std::u16string> tokens = {u"0你", u"2cocoa", u"0我", u"2tea", u"0他", u"2coffee"};
  std::vector<KeyPart> parts;
  for (const std::u16string& t : tokens) parts.push_back(Part(t));
  std::vector<uint32_t> ids = {99, 99};  // sized and filled by FindAll
  std::vector<size_t> missing = {42};
  frequent.FindAll(parts, ids, missing);
  ASSERT_EQ(ids.size(), parts.size());
  EXPECT_EQ(missing, (std::vector<size_t>{1, 4}));
  EXPECT_EQ(ids[0], 1u);
  EXPECT_EQ(ids[2], 0u);
  EXPECT_EQ(ids[3], 2u);
  EXPECT_EQ(ids[5], 3u);

  // An empty choice keeps nothing: every part is missing.
  FrequentKeys none;
  none.FindAll(parts, ids, missing);
  EXPECT_EQ(missing.size(), parts.size());
}

// Beyond kMaxKeys keys, those with the most postings are kept; among equal counts, the lower IDs.
TEST(FrequentKeysTest, KeepsTheKeysWithTheMostPostings) {
  const size_t n = FrequentKeys::kMaxKeys + 1000;
  std::vector<std::u16string> words;
  std::vector<uint32_t> counts;
  for (size_t k = 0; k < n; ++k) {
    words.push_back(u"2w" + std::u16string(1, static_cast<char16_t>(u'a' + k % 26)) +
                    std::u16string(1, static_cast<char16_t>(0x4E00 + k / 26)));
    counts.push_back(k % 2 == 0 ? 5 : 1);  // the even IDs have more postings
  }
  const Keys keys(words);
  FrequentKeys frequent;
  frequent.Choose(keys.list, keys.table, counts);
  EXPECT_EQ(frequent.size(), FrequentKeys::kMaxKeys);
  size_t evenKept = 0, oddKept = 0;
  for (size_t k = 0; k < n; ++k) {
    const std::optional<uint32_t> id = frequent.Find(Part(words[k]));
    if (id) {
      EXPECT_EQ(*id, k);
    }
    (k % 2 == 0 ? evenKept : oddKept) += id.has_value();
  }
  EXPECT_EQ(evenKept, (n + 1) / 2);
  EXPECT_EQ(oddKept, FrequentKeys::kMaxKeys - (n + 1) / 2);
  // The odd IDs kept are the lowest ones.
  EXPECT_TRUE(frequent.Find(Part(words[1])).has_value());
  EXPECT_FALSE(frequent.Find(Part(words[n - 1])).has_value());
}

}  // namespace
}  // namespace tamrel
