// Searches at a learner's level against a brute-force model: a random corpus of Chinese words of
// known HSK levels (with punctuation, numbers, Latin text and English-only groups) is built, and
// every answer must equal a plain scan of its sentence lines that applies the level order
// directly: score, then within the level (the searched word left out), then fewer words above it,
// then the comfortable length, then corpus order; each sentence once. Also the level file:
// made once, read back, and made again when stale or damaged.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <tuple>

#include "corpus/corpus_files.h"
#include "corpus/corpus_index.h"
#include "corpus/index_commit.h"
#include "explorer/hsk_levels.h"
#include "explorer/level_table.h"
#include "search/level_file.h"
#include "search/search_core.h"
#include "tests/support/test_support.h"
#include "text/text_utils.h"

namespace tamrel {
namespace {

// A word of the corpus and its bucket (0-5: HSK 1-6, 6: 7-9, 7: not in HSK, 8: never counted).
struct Word {
  std::u16string text;
  uint8_t bucket;
};

const std::vector<Word>& Vocabulary() {
  static const std::vector<Word> words = {{u"天", 0},   {u"人", 0},   {u"地", 1}, {u"水", 1},   {u"山", 2},
                                          {u"学习", 0}, {u"火", 3},   {u"木", 4}, {u"金", 5},   {u"土", 6},
                                          {u"龘", 7},   {u"云雨", 2}, {u"风", 1}, {u"日月", 3}, {u"，", 8},
                                          {u"。", 8},   {u"三", 8},   {u"12", 8}, {u"ABC", 8},  {u"花", 7}};
  return words;
}

// The dictionary's HSK column for the words with a level.
std::string HskDictionary() {
  std::string tsv = "# Tamrel dictionary 1: test\n";
  for (const Word& w : Vocabulary()) {
    if (w.bucket > 6) continue;
    const std::string level = w.bucket == 6 ? "7-9" : std::string(1, static_cast<char>('1' + w.bucket));
    tsv += Utf16ToUtf8(w.text) + "\t\tx\tsense\t\t\t" + level + "\t1\n";
  }
  return tsv;
}

struct Group {
  std::vector<size_t> chinese;  // vocabulary positions
  std::vector<std::u16string> english;
};

// The sentences as readable lines, so that a failure shows them.
std::vector<std::string> Texts(const std::vector<ResultSentence>& sentences) {
  std::vector<std::string> lines;
  for (const ResultSentence& s : sentences) lines.push_back(Utf16ToUtf8(s.chinese + u"| " + s.english));
  return lines;
}

class LevelModel {
 public:
  LevelModel(unsigned seed, const std::filesystem::path& root, size_t groups = 0) : rng_(seed), root_(root) {
    if (groups == 0) groups = 160 + Pick(120);
    for (size_t k = 0; k < groups; ++k) {
      Group g;
      const size_t zh = Pick(6) == 0 ? 0 : 1 + Pick(3 + Pick(24));  // lengths on both sides of 6-20
      for (size_t i = 0; i < zh; ++i) {
        // The easy words drawn most, so that many sentences fall within the lower levels.
        const size_t n = Vocabulary().size();
        g.chinese.push_back(Pick(3) == 0 ? Pick(n) : Pick(6));
      }
      const size_t en = 1 + Pick(4);
      for (size_t i = 0; i < en; ++i) g.english.push_back(Pick(2) ? u"cat" : (Pick(2) ? u"dog" : u"sky"));
      groups_.push_back(g);
    }
    Build();
    hsk_ = ParseHskLevels(HskDictionary());
    levels_ = MakeSentenceLevels(index_, hsk_);
  }

  // The search at `level` must give the model's sentences.
  void Check(const std::u16string& query, int level, size_t offset) {
    std::vector<ResultSentence> got;
    SearchCorpus(query, index_, got, offset, {&levels_, level});
    const std::vector<size_t> ids = Answer(query, level, offset);
    std::vector<ResultSentence> expected;
    for (size_t id : ids) expected.push_back(Sentence(id));
    ASSERT_EQ(Texts(got), Texts(expected)) << Utf16ToUtf8(query) << " at level " << level << ", offset " << offset;
    for (size_t i = 0; i < ids.size(); ++i) {
      ASSERT_EQ(got[i].hardest, Hardest(ids[i])) << Texts(got)[i] << " at level " << level;
    }
  }

  // The model's order for `query` (one or more Chinese words, or one English word).
  std::vector<size_t> Answer(const std::u16string& query, int level, size_t offset) const {
    std::vector<std::u16string> terms;
    for (size_t at = 0; at <= query.size();) {
      const size_t space = std::min(query.find(u' ', at), query.size());
      if (space > at) terms.push_back(query.substr(at, space - at));
      at = space + 1;
    }
    using Key = std::tuple<int64_t, int, unsigned, unsigned, size_t>;  // -score, kind, above, outside, id
    std::vector<Key> keys;
    for (size_t id = 0; id < groups_.size(); ++id) {
      const Group& g = groups_[id];
      int64_t score = 0;
      unsigned searchedAbove = 0;
      for (const std::u16string& term : terms) {
        size_t held = 0;
        uint8_t bucket = 8;
        if (term[0] >= u'a' && term[0] <= u'z') {
          held = std::count(g.english.begin(), g.english.end(), term);
        } else {
          for (size_t w : g.chinese) {
            if (Vocabulary()[w].text == term) ++held, bucket = Vocabulary()[w].bucket;
          }
        }
        if (held == 0) continue;
        score += WeightOf(term);
        if (bucket >= level && bucket < 8) searchedAbove += static_cast<unsigned>(held);
      }
      if (score == 0) continue;
      unsigned words = 0, above = 0;
      for (size_t w : g.chinese) {
        const uint8_t b = Vocabulary()[w].bucket;
        if (b < 8) ++words;
        if (b >= level && b < 8) ++above;
      }
      above -= searchedAbove;
      const int kind = words == 0 ? 2 : above == 0 ? 0 : 1;
      const unsigned outside = words < 6 ? 6 - words : words > 20 ? words - 20 : 0;
      keys.emplace_back(-score, kind, above, outside, id);
    }
    std::sort(keys.begin(), keys.end());
    std::vector<size_t> ids;
    for (size_t i = offset; i < keys.size() && i < offset + kMaxResults; ++i) ids.push_back(std::get<4>(keys[i]));
    return ids;
  }

  // Whether sentence `id` is within `level` for a search of the Chinese word `term`.
  bool Within(size_t id, const std::u16string& term, int level) const {
    for (size_t w : groups_[id].chinese) {
      const Word& word = Vocabulary()[w];
      if (word.text != term && word.bucket >= level && word.bucket < 8) return false;
    }
    return !groups_[id].chinese.empty();
  }

  // The bucket of the hardest counted word of group `id` (8 when it has none): its badge.
  uint8_t Hardest(size_t id) const {
    uint8_t hardest = 8;
    for (size_t w : groups_[id].chinese) {
      const uint8_t bucket = Vocabulary()[w].bucket;
      if (bucket < 8 && (hardest == 8 || bucket > hardest)) hardest = bucket;
    }
    return hardest;
  }

  const CorpusIndex& index() const { return index_; }
  const HskLevels& hsk() const { return hsk_; }
  const SentenceLevels& levels() const { return levels_; }
  ResultSentence Sentence(size_t id) const {
    ResultSentence s;
    for (size_t w : groups_[id].chinese) s.chinese += Vocabulary()[w].text + u" ";
    for (size_t w : groups_[id].chinese) s.pinyin += u"py" + FormatDecimal(static_cast<int64_t>(w)) + u" ";
    for (const auto& e : groups_[id].english) s.english += e + u" ";
    return s;
  }
  void Rebuild() {
    std::shuffle(groups_.begin(), groups_.end(), rng_);
    Build();
  }

 private:
  size_t Pick(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng_); }

  int64_t WeightOf(const std::u16string& term) const {
    const auto at = lineOf_.find((term[0] >= u'a' && term[0] <= u'z' ? u"2" : u"0") + term);
    const int line = at == lineOf_.end() ? 1000 : at->second;
    return line < 10 ? 3 : line < 20 ? 6 : line < 100 ? 8 : 10;
  }

  void Build() {
    std::map<std::u16string, std::map<size_t, int>> postings;
    std::u16string sentences;
    for (size_t id = 0; id < groups_.size(); ++id) {
      const Group& g = groups_[id];
      std::u16string zh, py, en;
      for (size_t w : g.chinese) {
        ++postings[u"0" + Vocabulary()[w].text][id];
        ++postings[u"1py" + FormatDecimal(static_cast<int64_t>(w))][id];
        zh += Vocabulary()[w].text + u" ";
        py += u"py" + FormatDecimal(static_cast<int64_t>(w)) + u" ";
      }
      for (const auto& e : g.english) {
        ++postings[u"2" + e][id];
        ++postings[u"3" + e][id];
        en += e + u" ";
      }
      for (std::u16string* line : {&zh, &py, &en}) {
        if (!line->empty()) line->pop_back();
        sentences += *line + u"\n";
      }
    }
    std::vector<std::u16string> keys;
    for (const auto& [key, ids] : postings) keys.push_back(key);
    std::shuffle(keys.begin(), keys.end(), rng_);
    std::u16string dictionary;
    lineOf_.clear();
    for (size_t line = 0; line < keys.size(); ++line) {
      lineOf_[keys[line]] = static_cast<int>(line);
      std::u16string list;
      for (const auto& [id, n] : postings[keys[line]]) {
        list += FormatDecimal(static_cast<int64_t>(id)) + u":" + FormatDecimal(n) + u" ";
      }
      list.pop_back();
      dictionary += keys[line] + u"\t" + list + u"\n";
    }
    ASSERT_NO_FATAL_FAILURE(test::BuildSmallCorpus(root_, u"BI", Utf16ToUtf8(dictionary), Utf16ToUtf8(sentences)));
    index_ = CorpusIndex(root_, u"BI");
    const Status loaded = LoadCorpus(index_);
    ASSERT_TRUE(loaded.ok()) << loaded.ToString();
  }

  std::mt19937 rng_;
  std::filesystem::path root_;
  std::vector<Group> groups_;
  std::map<std::u16string, int> lineOf_;
  CorpusIndex index_;
  HskLevels hsk_;
  SentenceLevels levels_;
};

class LevelOrderTest : public ::testing::Test {
 protected:
  test::RuntimeFolder dir_;
};

TEST_F(LevelOrderTest, OneWordSearchesFollowTheModelOnEveryPage) {
  for (unsigned seed = 1; seed <= 6; ++seed) {
    test::RuntimeFolder folder;
    LevelModel model(seed, folder.path());
    for (const Word& word : Vocabulary()) {
      if (word.bucket == 8) continue;
      for (int level : {2, 3, 4}) {
        for (size_t offset : {0, 20, 40, 1000}) ASSERT_NO_FATAL_FAILURE(model.Check(word.text, level, offset));
      }
    }
    for (int level = 1; level <= 6; ++level) ASSERT_NO_FATAL_FAILURE(model.Check(u"学习", level, 0));
  }
}

// A word in thousands of sentences: the head of its block is read first, the rest only when the
// head does not fill the page with the easiest sentences.
TEST_F(LevelOrderTest, LongBlocksGiveTheSameOrder) {
  LevelModel model(7, dir_.path(), 12000);
  for (const std::u16string word : {u"天", u"人", u"学习", u"火", u"金"}) {
    for (int level : {1, 2, 3, 4, 6}) {
      for (size_t offset : {0, 20, 400}) ASSERT_NO_FATAL_FAILURE(model.Check(word, level, offset));
    }
  }
}

TEST_F(LevelOrderTest, WithinLevelSentencesComeBeforeEveryOther) {
  LevelModel model(11, dir_.path());
  size_t within = 0;
  for (int level : {2, 3, 4}) {
    for (const std::u16string word : {u"天", u"山", u"火"}) {
      const std::vector<size_t> top = model.Answer(word, level, 0);
      std::vector<ResultSentence> got;
      SearchCorpus(word, model.index(), got, 0, {&model.levels(), level});
      ASSERT_EQ(got.size(), top.size());
      bool seenOther = false;
      for (size_t id : top) {
        const bool in = model.Within(id, word, level);
        EXPECT_FALSE(in && seenOther) << Utf16ToUtf8(word) << " level " << level;
        seenOther = seenOther || !in;
        within += in;
      }
    }
  }
  EXPECT_GT(within, 20u);  // the corpus holds such sentences, so that the order is put to the test
}

TEST_F(LevelOrderTest, SeveralWordsAndEnglishFollowTheModel) {
  for (unsigned seed = 20; seed <= 23; ++seed) {
    test::RuntimeFolder folder;
    LevelModel model(seed, folder.path());
    for (int level : {2, 3, 4}) {
      for (size_t offset : {0, 20}) {
        ASSERT_NO_FATAL_FAILURE(model.Check(u"天 山", level, offset));
        ASSERT_NO_FATAL_FAILURE(model.Check(u"学习 火 水", level, offset));
        ASSERT_NO_FATAL_FAILURE(model.Check(u"天 天", level, offset));
        ASSERT_NO_FATAL_FAILURE(model.Check(u"cat", level, offset));
        ASSERT_NO_FATAL_FAILURE(model.Check(u"cat sky", level, offset));
      }
    }
  }
}

TEST_F(LevelOrderTest, EmptyLevelsKeepCorpusOrderWithEachSentenceOnce) {
  LevelModel model(31, dir_.path());
  const SentenceLevels empty;
  for (const std::u16string word : {u"天", u"cat"}) {
    std::vector<ResultSentence> got, plain;
    SearchCorpus(word, model.index(), got, 0, {&empty, 3});
    SearchCorpus(word, model.index(), plain, 0);
    plain.erase(std::unique(plain.begin(), plain.end()), plain.end());  // a sentence holding it twice
    got.resize(std::min(got.size(), plain.size()));
    EXPECT_EQ(got, plain) << Utf16ToUtf8(word);
  }
}

TEST_F(LevelOrderTest, WordsAreBucketedByTheirKind) {
  const HskLevels hsk =
      ParseHskLevels(HskDictionary() + "学习\t學習\tx\ts\t\t\t4\t1\n金\t\tx\ts\t\t\t7-9\t1\nbad line\n");
  EXPECT_EQ(WordBucket(u"0学习", hsk), 0);  // the lowest of its levels
  EXPECT_EQ(WordBucket(u"0金", hsk), 5);
  EXPECT_EQ(WordBucket(u"0土", hsk), kBucketAdvanced);
  EXPECT_EQ(WordBucket(u"0龘", hsk), kBucketNotInHsk);
  for (const std::u16string key : {u"0，", u"0三百", u"012", u"0ABC", u"2cat", u"1tian", u"0"}) {
    EXPECT_EQ(WordBucket(key, hsk), kBucketNotChinese) << Utf16ToUtf8(key);
  }
}

TEST_F(LevelOrderTest, TheLevelFileIsMadeOnceAndMadeAgainWhenStaleOrDamaged) {
  LevelModel model(41, dir_.path());
  const auto file = LevelFileName(dir_.path(), u"BI");
  SentenceLevels loaded;
  ASSERT_TRUE(LoadSentenceLevels(model.index(), model.hsk(), loaded).ok());
  EXPECT_EQ(loaded, model.levels());
  ASSERT_TRUE(std::filesystem::exists(file));
  const std::string bytes = test::ReadBytes(file);

  // Read back, not made again: a file with other counts but a valid digest would be taken as is.
  SentenceLevels again;
  ASSERT_TRUE(LoadSentenceLevels(model.index(), model.hsk(), again).ok());
  EXPECT_EQ(again, loaded);

  // Damaged anywhere, cut short, emptied: made again and rewritten whole.
  for (size_t at : {size_t{3}, size_t{30}, bytes.size() - 1}) {
    std::string damaged = bytes;
    damaged[at] = static_cast<char>(damaged[at] ^ 0x5A);
    test::WriteBytes(file, damaged);
    SentenceLevels read;
    ASSERT_TRUE(LoadSentenceLevels(model.index(), model.hsk(), read).ok());
    EXPECT_EQ(read, model.levels());
    EXPECT_EQ(test::ReadBytes(file), bytes);
  }
  for (const std::string& cut : {bytes.substr(0, 70), std::string()}) {
    test::WriteBytes(file, cut);
    SentenceLevels read;
    ASSERT_TRUE(LoadSentenceLevels(model.index(), model.hsk(), read).ok());
    EXPECT_EQ(read, model.levels());
  }

  // Other HSK levels: made again with them.
  const HskLevels other = ParseHskLevels("天\t\tx\ts\t\t\t6\t1\n");
  SentenceLevels withOther;
  ASSERT_TRUE(LoadSentenceLevels(model.index(), other, withOther).ok());
  EXPECT_EQ(withOther, MakeSentenceLevels(model.index(), other));

  // A new build of the corpus (a new stamp): the file of the old one is stale.
  model.Rebuild();
  SentenceLevels rebuilt;
  ASSERT_TRUE(LoadSentenceLevels(model.index(), model.hsk(), rebuilt).ok());
  EXPECT_EQ(rebuilt, MakeSentenceLevels(model.index(), model.hsk()));
  EXPECT_NE(rebuilt, loaded);
}

TEST_F(LevelOrderTest, DecodingRefusesFilesOfAnotherIdentity) {
  SentenceLevels levels;
  levels.wordBuckets = {0, 8, 7};
  levels.sentences = {{1, 0, 0, 0, 0, 0, 0, 2}};
  const LevelFileIdentity identity{3, 1, 77, 99};
  const std::string bytes = EncodeLevelFile(levels, identity);
  SentenceLevels read;
  ASSERT_TRUE(DecodeLevelFile("f", bytes, identity, read).ok());
  EXPECT_EQ(read, levels);
  for (LevelFileIdentity other : {LevelFileIdentity{4, 1, 77, 99}, LevelFileIdentity{3, 2, 77, 99},
                                  LevelFileIdentity{3, 1, 78, 99}, LevelFileIdentity{3, 1, 77, 98}}) {
    SentenceLevels untouched;
    EXPECT_EQ(DecodeLevelFile("f", bytes, other, untouched).kind(), Status::Kind::kCorruption);
    EXPECT_TRUE(untouched.sentences.empty());
  }
  // A bucket past the last, with a digest that matches: refused all the same.
  levels.wordBuckets[1] = 9;
  SentenceLevels untouched;
  EXPECT_FALSE(DecodeLevelFile("f", EncodeLevelFile(levels, identity), identity, untouched).ok());
}

TEST_F(LevelOrderTest, ABuildsLevelFileIsMadeBesideItsIndexWhichItLeavesAlone) {
  LevelModel model(43, dir_.path());
  const auto file = LevelFileName(dir_.path(), u"BI");
  const std::vector<CorpusFile> indexFiles = {CorpusFile::kWordTable, CorpusFile::kPostings, CorpusFile::kSentenceTable,
                                              CorpusFile::kSentenceRecords};
  const auto indexBytes = [&] {
    std::string all;
    for (CorpusFile f : indexFiles) all += test::ReadBytes(CorpusFileName(dir_.path(), f, u"BI")) + '|';
    return all;
  };
  const std::string before = indexBytes();
  ASSERT_TRUE(MakeLevelFiles(dir_.path(), {u"BI"}, model.hsk()).ok());
  EXPECT_EQ(indexBytes(), before);
  const LevelFileIdentity identity{model.index().words().size(), model.index().sentenceCount(),
                                   ReadBuildStamp(dir_.path(), u"BI"), model.hsk().digest};
  SentenceLevels read;
  ASSERT_TRUE(DecodeLevelFile(file, test::ReadBytes(file), identity, read).ok());
  EXPECT_EQ(read, model.levels());

  // After the next build the file is of the old one until made again, then of the new one.
  model.Rebuild();
  const LevelFileIdentity rebuilt{model.index().words().size(), model.index().sentenceCount(),
                                  ReadBuildStamp(dir_.path(), u"BI"), model.hsk().digest};
  ASSERT_NE(rebuilt.stamp, identity.stamp);
  EXPECT_FALSE(DecodeLevelFile(file, test::ReadBytes(file), rebuilt, read).ok());
  ASSERT_TRUE(MakeLevelFiles(dir_.path(), {u"BI"}, model.hsk()).ok());
  ASSERT_TRUE(DecodeLevelFile(file, test::ReadBytes(file), rebuilt, read).ok());
  EXPECT_EQ(read, MakeSentenceLevels(model.index(), model.hsk()));

  // A corpus without an index: said, and no file.
  EXPECT_FALSE(MakeLevelFiles(dir_.path(), {u"MO"}, model.hsk()).ok());
  EXPECT_FALSE(std::filesystem::exists(LevelFileName(dir_.path(), u"MO")));
}

}  // namespace
}  // namespace tamrel
