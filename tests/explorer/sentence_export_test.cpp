#include "explorer/sentence_export.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <iostream>

#include "explorer/sentence_text.h"
#include "tests/support/test_support.h"

namespace tamrel {
namespace {

const std::string kHeader = "#separator:tab\n#html:false\n#columns:Chinese\tPinyin\tEnglish\tTags\n#tags column:4\n";

TEST(SentenceTextTest, ChineseWordsJoinLatinWordsKeepTheirSpace) {
  EXPECT_EQ(JoinChineseWords(u"我们 明天 去 公园 散步 。 "), u"我们明天去公园散步。");
  EXPECT_EQ(JoinChineseWords(u"我 用 Visual Studio 写 ， 3 个 "), u"我用Visual Studio写，3个");
  EXPECT_EQ(PlainText(u" a\tb\r\n\nc\u2028d\x01  "), u"a b c d");
  EXPECT_EQ(JoinChineseWords(u"  "), u"");
}

TEST(SentenceTextTest, LanguageComesFromTheScript) {
  EXPECT_EQ(SpokenLanguageOf(u"The weather is nice."), SpokenLanguage::kEnglish);
  EXPECT_EQ(SpokenLanguageOf(u"我喜欢 Apple。"), SpokenLanguage::kMandarin);
  EXPECT_EQ(SpokenLanguageOf(u"wǒ xǐhuān"), SpokenLanguage::kEnglish);  // pinyin alone is Latin letters
  EXPECT_EQ(SpokenLanguageOf(u"\U00020000"), SpokenLanguage::kMandarin);
  EXPECT_EQ(SpokenLanguageOf(u"123 。!"), SpokenLanguage::kNone);
  EXPECT_EQ(SpokenLanguageOf(std::u16string(1, char16_t(0xD800))), SpokenLanguage::kNone);
}

TEST(SentenceTextTest, PinyinPunctuationStandsAgainstItsWord) {
  EXPECT_EQ(JoinPinyinWords(u"wǒmen míngtiān qù gōngyuán sànbù 。 "), u"wǒmen míngtiān qù gōngyuán sànbù。");
  EXPECT_EQ(JoinPinyinWords(u"zhōngshì dàshēng hǎn ： “ tíngzhǐ shèjī ！ ”"),
            u"zhōngshì dàshēng hǎn： “tíngzhǐ shèjī！”");
  EXPECT_EQ(JoinPinyinWords(u"en ， wǒ xiǎngxiang … … hǎo ba ？"), u"en， wǒ xiǎngxiang…… hǎo ba？");
  EXPECT_EQ(JoinPinyinWords(u"dá · fēnqí 、 《 hóngloumèng 》 ； （ a ） ‘ b ’ 「 c 」"),
            u"dá·fēnqí、 《hóngloumèng》； （a） ‘b’ 「c」");
  EXPECT_EQ(JoinPinyinWords(u"Visual Studio , 3 . 5"), u"Visual Studio , 3 . 5");  // Latin marks keep their spaces
  EXPECT_EQ(JoinPinyinWords(u" 。 "), u"。");
  EXPECT_EQ(JoinPinyinWords(u""), u"");
}

// Anki drops a note whose first field is empty, and a card needs both sides: the rows are the
// sentences with a Chinese and an English side, whichever section they come from.
TEST(SentenceExportTest, RowsOfTheSentencesWithBothSidesInPageOrder) {
  const std::vector<ResultSentence> bi = {{u"我 有 一个 朋友 。 ", u"wǒ yǒu yīgè péngyou 。 ", u"I have a friend. "},
                                          {u" ", u"", u"Only English. "}};
  const std::vector<ResultSentence> mo = {{u"", u"", u"We are friends. "},
                                          {u"天气 很 冷 。", u"tiānqì hěn lěng 。", u""},
                                          {u"你好 ！", u"nǐhǎo ！", u"Hello!"}};
  const auto rows = ExportRows(u"good  friend", bi, mo);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0], (ExportRow{u"我有一个朋友。", u"wǒ yǒu yīgè péngyou。", u"I have a friend.", u"good_friend"}));
  EXPECT_EQ(FormatExportFile(rows), kHeader +
                                        "我有一个朋友。\twǒ yǒu yīgè péngyou。\tI have a friend.\tgood_friend\n"
                                        "你好！\tnǐhǎo！\tHello!\tgood_friend\n");
  EXPECT_TRUE(ExportRows(u"cold", {}, {mo[0], mo[1]}).empty());
}

TEST(SentenceExportTest, OddTextCannotBreakARowOrAField) {
  const std::vector<ResultSentence> bi = {{u"#1 \"引号\"", u"a\tb", u"line\none\r\n<b>&amp;</b> \x07"},
                                          {u"x", std::u16string(1, char16_t(0xDC00)), u"say \"hi\""}};
  EXPECT_EQ(FormatExportFile(ExportRows(u"<q>\t\"", bi, {})),
            kHeader + "\"#1 \"\"引号\"\"\"\ta b\tline one <b>&amp;</b>\t\"<q>_\"\"\"\n" +
                "x\t\xEF\xBF\xBD\t\"say \"\"hi\"\"\"\t\"<q>_\"\"\"\n");
}

TEST(SentenceExportTest, WriteReplacesWholeOrLeavesNothing) {
  test::RuntimeFolder folder;
  const std::vector<ExportRow> rows = {{u"你好", u"nǐhǎo", u"hello", u"hello"}};
  const auto target = folder / "cards.tsv";
  test::WriteBytes(target, "older file");
  ASSERT_TRUE(WriteExportFile(target, rows).ok());
  EXPECT_EQ(test::ReadBytes(target), kHeader + "你好\tnǐhǎo\thello\thello\n");

  const Status missing = WriteExportFile(folder / "no/such/cards.tsv", rows);
  EXPECT_FALSE(missing.ok());
  EXPECT_FALSE(std::filesystem::exists(folder / "no"));

  if (geteuid() != 0) {  // root writes into read-only folders
    const auto locked = folder / "locked";
    std::filesystem::create_directories(locked);
    chmod(locked.c_str(), 0555);
    EXPECT_FALSE(WriteExportFile(locked / "cards.tsv", rows).ok());
    chmod(locked.c_str(), 0755);
    EXPECT_TRUE(std::filesystem::is_empty(locked));
  }
  size_t files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path())) ++files;
  EXPECT_EQ(files, 3u);  // BDict/, data/ and cards.tsv: no staged file left behind
}

size_t EntriesIn(const std::filesystem::path& folder) {
  size_t entries = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++entries;
  return entries;
}

// The permission bits say read-only: the file is refused even for root, whom the system lets write.
TEST(SentenceExportTest, AReadOnlyFileIsRefusedAndKept) {
  test::RuntimeFolder folder;
  const std::vector<ExportRow> rows = {{u"你好", u"nǐhǎo", u"hello", u"hello"}};
  const auto target = folder / "cards.tsv";
  test::WriteBytes(target, "kept notes");
  ASSERT_EQ(chmod(target.c_str(), 0444), 0);
  const Status status = WriteExportFile(target, rows);
  EXPECT_FALSE(status.ok());
  EXPECT_EQ(status.ToString(), target.string() + ": is read-only");
  EXPECT_EQ(test::ReadBytes(target), "kept notes");
  EXPECT_EQ(EntriesIn(folder.path()), 3u);

  // A file that may be written keeps its permissions when it is replaced.
  ASSERT_EQ(chmod(target.c_str(), 0600), 0);
  ASSERT_TRUE(WriteExportFile(target, rows).ok());
  EXPECT_EQ(test::ReadBytes(target), kHeader + "你好\tnǐhǎo\thello\thello\n");
  struct stat info {};
  ASSERT_EQ(stat(target.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0600u);
}

// The link stays a link; the file it names gets the notes, staged in that file's folder.
TEST(SentenceExportTest, ASymbolicLinkIsFollowedToTheFileItNames) {
  test::RuntimeFolder folder;
  const std::vector<ExportRow> rows = {{u"你好", u"nǐhǎo", u"hello", u"hello"}};
  const std::string notes = kHeader + "你好\tnǐhǎo\thello\thello\n";
  std::filesystem::create_directories(folder / "notes");
  test::WriteBytes(folder / "notes/anki.tsv", "older notes");
  std::filesystem::create_symlink("notes/anki.tsv", folder / "cards.tsv");
  ASSERT_TRUE(WriteExportFile(folder / "cards.tsv", rows).ok());
  EXPECT_TRUE(std::filesystem::is_symlink(folder / "cards.tsv"));
  EXPECT_EQ(std::filesystem::read_symlink(folder / "cards.tsv"), "notes/anki.tsv");
  EXPECT_EQ(test::ReadBytes(folder / "notes/anki.tsv"), notes);
  EXPECT_EQ(EntriesIn(folder / "notes"), 1u);

  // A link to a link, and a link that names no file yet, which is made.
  std::filesystem::create_symlink(folder / "cards.tsv", folder / "again.tsv");
  std::filesystem::create_symlink("notes/new.tsv", folder / "dangling.tsv");
  ASSERT_TRUE(WriteExportFile(folder / "again.tsv", {}).ok());
  EXPECT_EQ(test::ReadBytes(folder / "notes/anki.tsv"), kHeader);
  ASSERT_TRUE(WriteExportFile(folder / "dangling.tsv", rows).ok());
  EXPECT_TRUE(std::filesystem::is_symlink(folder / "dangling.tsv"));
  EXPECT_EQ(test::ReadBytes(folder / "notes/new.tsv"), notes);
  EXPECT_EQ(EntriesIn(folder / "notes"), 2u);
  EXPECT_EQ(EntriesIn(folder.path()), 6u);  // BDict/, data/, notes/ and the three links

  // The protection of the file a link names holds too.
  ASSERT_EQ(chmod((folder / "notes/anki.tsv").c_str(), 0444), 0);
  EXPECT_FALSE(WriteExportFile(folder / "cards.tsv", rows).ok());
  EXPECT_EQ(test::ReadBytes(folder / "notes/anki.tsv"), kHeader);
}

TEST(SentenceExportTest, AFolderOrAFifoIsRefused) {
  test::RuntimeFolder folder;
  const std::vector<ExportRow> rows = {{u"你好", u"nǐhǎo", u"hello", u"hello"}};
  std::filesystem::create_directories(folder / "cards.tsv");
  const Status toFolder = WriteExportFile(folder / "cards.tsv", rows);
  EXPECT_EQ(toFolder.ToString(), (folder / "cards.tsv").string() + ": is a folder");
  EXPECT_TRUE(std::filesystem::is_directory(folder / "cards.tsv"));

  ASSERT_EQ(mkfifo((folder / "pipe.tsv").c_str(), 0644), 0);
  const Status toFifo = WriteExportFile(folder / "pipe.tsv", rows);
  EXPECT_EQ(toFifo.ToString(), (folder / "pipe.tsv").string() + ": is not a regular file");
  EXPECT_TRUE(std::filesystem::is_fifo(folder / "pipe.tsv"));
  std::filesystem::create_symlink("cards.tsv", folder / "link.tsv");
  EXPECT_EQ(WriteExportFile(folder / "link.tsv", rows).ToString(), (folder / "cards.tsv").string() + ": is a folder");
  EXPECT_EQ(EntriesIn(folder.path()), 5u);  // BDict/, data/, the folder, the FIFO and the link
}

// Each file operation of an export fails in a run of its own, as on a full disk: the export says
// so, naming the file, and the file that was there stays whole, or holds the new notes when the
// export took effect; no staged file stays.
TEST(SentenceExportTest, EveryFileOperationMayFailAndLeavesAWholeFile) {
  test::RuntimeFolder folder;
  const std::vector<ExportRow> rows = {{u"你好", u"nǐhǎo", u"hello", u"hello"}};
  const auto target = folder / "cards.tsv";
  const int64_t operations = test::ForEachFileFault(
      [&] {
        test::WriteBytes(target, "older notes");
        return WriteExportFile(target, rows);
      },
      [&](const Status& status, const std::string& failed) {
        const bool tookEffect = status.tookEffect();
        if (!status.ok()) test::ExpectToldTheDiskIsFull(status, failed);
        EXPECT_EQ(test::ReadBytes(target), tookEffect ? kHeader + "你好\tnǐhǎo\thello\thello\n" : "older notes");
        EXPECT_EQ(EntriesIn(folder.path()), 3u);  // BDict/, data/ and cards.tsv
      },
      ENOSPC);
  EXPECT_GT(operations, 3);
  std::cout << "an export: " << operations << " file operations, each made to fail in a run of its own\n";
}

}  // namespace
}  // namespace tamrel
