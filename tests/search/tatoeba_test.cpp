// End to end on the shared Tatoeba corpus: both corpora are built and loaded once, and known
// queries are answered exactly as a plain scan of the sentence lines says they should be.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "corpus/index_build.h"
#include "explorer/result_page.h"
#include "explorer/search_command.h"
#include "search/query.h"
#include "search/search_core.h"
#include "tests/support/test_support.h"
#include "text/text_utils.h"

namespace tamrel {
namespace {

using Tokens = std::vector<std::u16string>;

std::vector<std::u16string> FileLines(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::u16string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(Utf8ToUtf16(line));
  return lines;
}

Tokens SplitAtSpaces(const std::u16string& line) {
  Tokens tokens;
  if (!line.empty()) tokens = SplitString(line, u" ");
  return tokens;
}

std::u16string Text(const Tokens& tokens) {
  std::u16string s;
  for (const auto& t : tokens) s += t + u' ';
  return s;
}

// One corpus as its sentence lines and dictionary line numbers.
struct Corpus {
  Corpus(const std::filesystem::path& root, std::u16string_view tag) : index(root, tag) {
    const auto lines = FileLines(CorpusFileName(root, CorpusFile::kSentences, tag));
    for (size_t i = 0; i + 2 < lines.size(); i += 3) {
      groups.push_back({SplitAtSpaces(lines[i]), SplitAtSpaces(lines[i + 1]), SplitAtSpaces(lines[i + 2])});
    }
    const auto dictionary = FileLines(CorpusFileName(root, CorpusFile::kDictionary, tag));
    dictionaryLines = dictionary.size();
    for (const auto& line : dictionary) {
      lineOf.emplace(line.substr(0, line.find(u'\t')), static_cast<int>(lineOf.size()));
    }
  }

  // Results by the ranking rules, from a scan of the lines.
  std::vector<ResultSentence> Expected(std::u16string query) const {
    NormaliseQuery(query);
    std::vector<std::vector<int>> found;
    std::vector<int> weights;
    for (const auto& term : SplitTerms(query)) {
      const TermKeyResult key = TermKey(term);
      const bool english = key.key[0] == u'2';
      std::vector<int> ids;
      for (int id = 0; id < static_cast<int>(groups.size()); ++id) {
        for (std::u16string t : english ? groups[id][2] : groups[id][0]) {
          if (english) NormaliseWord(t);
          if (t == key.normalised) {
            ids.push_back(id);
            break;
          }
        }
      }
      if (ids.empty()) continue;
      const int line = lineOf.at(key.key);
      found.push_back(ids);
      weights.push_back(line < 10 ? 3 : line < 20 ? 6 : line < 100 ? 8 : 10);
    }
    std::vector<int> chosen;
    if (found.size() == 1) chosen = found[0];
    if (found.size() > 1) {
      std::map<int, int> score;
      for (size_t t = 0; t < found.size(); ++t) {
        for (int id : found[t]) score[id] += weights[t];
      }
      std::vector<std::pair<int, int>> ranked;
      for (const auto& [id, s] : score) ranked.push_back({-s, id});
      std::sort(ranked.begin(), ranked.end());
      for (const auto& r : ranked) chosen.push_back(r.second);
    }
    chosen.resize(std::min<size_t>(chosen.size(), kMaxResults));
    std::vector<ResultSentence> results;
    for (int id : chosen) results.push_back({Text(groups[id][0]), Text(groups[id][1]), Text(groups[id][2])});
    return results;
  }

  CorpusIndex index;
  std::vector<std::array<Tokens, 3>> groups;
  size_t dictionaryLines = 0;
  std::map<std::u16string, int> lineOf;
};

class TatoebaTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const auto source = test::SharedTatoebaFolder();
    if (source.empty()) return;
    folder_ = std::make_unique<test::RuntimeFolder>();
    const std::filesystem::path& root = folder_->path();
    for (const char* name : {"word.dictBI", "sents.finalBI", "word.dictMO", "sents.finalMO"}) {
      std::filesystem::copy_file(source / name, root / "BDict" / name);
    }
    // The first failure is kept, so that SetUp can name it.
    for (std::u16string_view tag : {kTagBilingual, kTagMonolingual}) {
      BuildReport report;
      const Status built = BuildCorpus(root, tag, &report);
      if (buildStatus_.ok()) buildStatus_ = built;
      skipped_ += report.skippedLines + report.longKeys;
    }
    bi_ = std::make_unique<Corpus>(root, kTagBilingual);
    mo_ = std::make_unique<Corpus>(root, kTagMonolingual);
    for (Corpus* c : {bi_.get(), mo_.get()}) {
      const Status loaded = LoadCorpus(c->index);
      if (loadStatus_.ok()) loadStatus_ = loaded;
    }
  }
  static void TearDownTestSuite() {
    bi_.reset();
    mo_.reset();
    folder_.reset();
  }
  void SetUp() override {
    if (!folder_) GTEST_SKIP() << "the shared Tatoeba corpus (shared/corpora/tatoeba/BDict) is not there";
    ASSERT_TRUE(buildStatus_.ok()) << buildStatus_.ToString();
    ASSERT_TRUE(loadStatus_.ok()) << loadStatus_.ToString();
  }

  static std::vector<ResultSentence> Search(const Corpus& corpus, std::u16string query) {
    std::vector<ResultSentence> results;
    SearchCorpus(query, corpus.index, results);
    return results;
  }

  static inline std::unique_ptr<test::RuntimeFolder> folder_;
  static inline std::unique_ptr<Corpus> bi_, mo_;
  static inline Status buildStatus_, loadStatus_;
  static inline int64_t skipped_ = 0;
};

TEST_F(TatoebaTest, BuiltWholeAndLoaded) {
  EXPECT_EQ(skipped_, 0);
  for (const Corpus* c : {bi_.get(), mo_.get()}) {
    EXPECT_EQ(c->index.words().size(), c->dictionaryLines);
    EXPECT_EQ(c->index.sentenceCount(), c->groups.size());
    EXPECT_GT(c->groups.size(), 20000u);
  }
}

TEST_F(TatoebaTest, EnglishWordFindsSentencesWithIt) {
  const auto results = Search(*bi_, u"Book");
  ASSERT_EQ(results.size(), kMaxResults);
  for (const auto& r : results) {
    bool has = false;
    for (std::u16string w : SplitString(r.english, u" ")) {
      NormaliseWord(w);
      has = has || w == u"book";
    }
    EXPECT_TRUE(has) << Utf16ToUtf8(r.english);
  }
  EXPECT_EQ(results, bi_->Expected(u"Book"));
}

TEST_F(TatoebaTest, QueriesMatchAScanOfTheLines) {
  for (const char16_t* q : {u"book", u"library books, where?", u"good teacher", u"the", u"a the is", u"学生",
                            u"我 是 学生", u"老师 的 猫 在 图书馆 睡觉", u"。", u"他 book", u"zzzz"}) {
    EXPECT_EQ(Search(*bi_, q), bi_->Expected(q)) << Utf16ToUtf8(q);
    EXPECT_EQ(Search(*mo_, q), mo_->Expected(q)) << Utf16ToUtf8(q);
  }
}

TEST_F(TatoebaTest, ChineseSentenceEndToEnd) {
  const SearchCommandResult r =
      RunSearchCommand(u"老师的猫在图书馆睡觉", {bi_->index, mo_->index, test::OpenedSimplifier()}, SysSettings{},
                       ResultPageFileName(folder_->path()));
  EXPECT_EQ(r.language, Language::kChinese);
  EXPECT_EQ(r.query, u"老师 的 猫 在 图书馆 睡觉");
  EXPECT_EQ(r.bilingual, bi_->Expected(u"老师 的 猫 在 图书馆 睡觉"));
  EXPECT_EQ(r.monolingual, mo_->Expected(u"老师 的 猫 在 图书馆 睡觉"));
  ASSERT_FALSE(r.bilingual.empty());
  EXPECT_EQ(r.page, PageResult::kWritten);
  EXPECT_TRUE(std::filesystem::exists(ResultPageFileName(folder_->path())));
  const FieldList terms = SplitString(r.query, u" ");
  for (const auto& s : r.bilingual) {
    const FieldList words = SplitString(s.chinese, u" ");
    EXPECT_TRUE(std::find_first_of(words.begin(), words.end(), terms.begin(), terms.end()) != words.end());
    // The word test relies on one pinyin token per Chinese word.
    EXPECT_EQ(words.size(), SplitString(s.pinyin, u" ").size());
  }
}

}  // namespace
}  // namespace tamrel
