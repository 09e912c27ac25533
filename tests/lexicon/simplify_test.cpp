#include "lexicon/simplify.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "lexicon/line_analysis.h"
#include "tests/lexicon/lexicon_test_support.h"
#include "tests/support/test_support.h"

namespace tamrel {
namespace {

const Simplifier& OpenSimplifier() {
  static const Simplifier* simplifier = [] {
    auto* opened = new Simplifier;
    const Status status = opened->Open();
    EXPECT_TRUE(status.ok()) << status.ToString();
    return opened;
  }();
  return *simplifier;
}

TEST(SimplifyTest, TraditionalBecomesSimplified) {
  EXPECT_EQ(OpenSimplifier().ToSimplified(u"天氣"), u"天气");
  EXPECT_EQ(OpenSimplifier().ToSimplified(u"請借我你的書。"), u"请借我你的书。");
  EXPECT_EQ(OpenSimplifier().ToSimplified(u"我们"), u"我们");
}

TEST(SimplifyTest, EverythingButHanIsCopied) {
  const std::u16string text = {u'A', 0xD800, u'氣', u' ', 0xDC00, u'。', u'1'};
  const std::u16string expected = {u'A', 0xD800, u'气', u' ', 0xDC00, u'。', u'1'};
  EXPECT_EQ(OpenSimplifier().ToSimplified(text), expected);
  EXPECT_EQ(OpenSimplifier().ToSimplified(u""), u"");
}

TEST(SimplifyTest, UnknownConfigurationIsNotFound) {
  Simplifier simplifier;
  const Status status = simplifier.Open("no-such-config.json");
  EXPECT_EQ(status.kind(), Status::Kind::kNotFound);
  EXPECT_EQ(status.ToString(),
            "no-such-config.json: OpenCC's configuration is in none of its data folders (/usr/share/opencc, "
            "/usr/local/share/opencc, /opt/homebrew/share/opencc)");
  EXPECT_FALSE(simplifier.isOpen());
  EXPECT_EQ(simplifier.ToSimplified(u"天氣"), u"天氣");  // left as it is
}

// Sets the current folder for the life of the object, and puts the previous one back.
class CurrentFolder {
 public:
  explicit CurrentFolder(const std::filesystem::path& folder) : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
  }
  ~CurrentFolder() { std::filesystem::current_path(previous_); }
  CurrentFolder(const CurrentFolder&) = delete;
  CurrentFolder& operator=(const CurrentFolder&) = delete;

 private:
  std::filesystem::path previous_;
};

// OpenCC's own configuration is used wherever the program runs: files of the same names in the
// current folder change nothing.
TEST(SimplifyTest, FilesInTheCurrentFolderDoNotReplaceOpenCCsOwn) {
  test::RuntimeFolder folder;
  for (const char* name : {"t2s.json", "TSPhrases.ocd2", "TSCharacters.ocd2"})
    test::WriteBytes(folder / name, "{ broken");
  Simplifier simplifier;
  Status status;
  {
    const CurrentFolder inside(folder.path());
    status = simplifier.Open();
  }
  ASSERT_TRUE(status.ok()) << status.ToString();
  EXPECT_EQ(simplifier.ToSimplified(u"天氣"), u"天气");
  EXPECT_EQ(simplifier.ToSimplified(u"請借我你的書。"), u"请借我你的书。");

  // A path with a folder is used as it is.
  Simplifier given;
  const Status broken = given.Open((folder / "t2s.json").string());
  EXPECT_EQ(broken.kind(), Status::Kind::kNotFound);
  EXPECT_EQ(broken.file(), folder / "t2s.json");
  EXPECT_FALSE(given.isOpen());
}

TEST(LineAnalysisTest, TraditionalLinesKeepTheirCharactersButFindSimplifiedWords) {
  const Lexicon& lexicon = test::ShippedLexicon();
  Segmenter segmenter(lexicon);
  const AnalysedLine line = AnalyseLine(segmenter, lexicon, OpenSimplifier(), u"我喜歡這裡的天氣。");
  EXPECT_EQ(line.words, (std::vector<std::u16string>{u"我", u"喜歡", u"這裡", u"的", u"天氣", u"。"}));
  EXPECT_EQ(line.readings, (std::vector<std::u16string>{u"wǒ", u"xǐhuan", u"zhèlǐ", u"de", u"tiānqì", u"。"}));
}

TEST(LineAnalysisTest, SpacesAreNotWords) {
  const Lexicon& lexicon = test::ShippedLexicon();
  Segmenter segmenter(lexicon);
  const AnalysedLine line = AnalyseLine(segmenter, lexicon, OpenSimplifier(), u" 请\u200b借我 ");
  EXPECT_EQ(line.words, (std::vector<std::u16string>{u"请", u"借", u"我"}));
  EXPECT_EQ(line.words.size(), line.readings.size());
}

}  // namespace
}  // namespace tamrel
