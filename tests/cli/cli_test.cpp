// tamrel-cli as a user runs it: the built program (TAMREL_CLI) in a runtime folder of its own, made
// per test with a small corpus and the pages of data/, its indexes built by `tamrel-cli build`. Each
// run has a fixed environment and gives its exit code, standard output and standard error.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "files/durable_files.h"
#include "tests/support/corpus_writer.h"
#include "tests/support/program_run.h"
#include "tests/support/test_support.h"

namespace tamrel {
namespace {

using test::ReadBytes;
using test::WriteBytes;
namespace fs = std::filesystem;

const fs::path kSourceDir = TAMREL_SOURCE_DIR;
const fs::path kLexicon = kSourceDir / "resources/lexicon/lexicon.tsv";

using Outcome = test::ProgramRun;

// Runs `tamrel-cli ARGS...` in `folder` (test::RunProgram).
Outcome RunCli(const fs::path& folder, const std::vector<std::string>& args, const std::string& input = "",
               const fs::path& outputFile = {}, int seconds = 120) {
  return test::RunProgram(TAMREL_CLI, folder, args, input, outputFile, seconds);
}

// Shows the whole run when an expectation on it fails.
std::string Describe(const std::vector<std::string>& args, const Outcome& o) {
  std::string line = "tamrel-cli";
  for (const std::string& a : args) line += " '" + a + "'";
  return line + "\nexit code " + std::to_string(o.exitCode) + "\n--- stdout\n" + o.out + "--- stderr\n" + o.err;
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The bilingual corpus: three groups; 天气 and "weather" in two of them.
const std::vector<test::SentenceGroup> kBilingual = {
    {"你好 ， 我 是 老师 。", "nǐhǎo ， wǒ shì lǎoshī 。", "Hello, I am a teacher."},
    {"今天 天气 很 好 。", "jīntiān tiānqì hěn hǎo 。", "The weather is good today."},
    {"我 喜欢 下雨 的 天气 。", "wǒ xǐhuan xiàyǔ de tiānqì 。", "I like rainy weather."},
};
// The monolingual corpus: a Chinese-only group and an English-only one.
const std::vector<test::SentenceGroup> kMonolingual = {
    {"天气 冷 了 。", "tiānqì lěng le 。", ""},
    {"", "", "What is the weather like?"},
};

const std::string kBom = "\xEF\xBB\xBF";

class CliTest : public ::testing::Test {
 protected:
  // The sources of both corpora, the shipped pages, and the indexes as tamrel-cli builds them.
  void SetUp() override {
    ASSERT_TRUE(test::WriteCorpus(root(), u"BI", kBilingual).ok());
    ASSERT_TRUE(test::WriteCorpus(root(), u"MO", kMonolingual).ok());
    // Only the sources stay: the indexes are the CLI's to build.
    fs::remove_all(folder_ / "data");
    fs::create_directory(folder_ / "data");
    // The shipped pages only: a checkout that has been searched in also holds the pages searches write.
    for (const char* page : {"Help.html", "welcome.html", "cantfind.html"}) {
      fs::copy_file(kSourceDir / "data" / page, folder_ / "data" / page);
    }
    const Outcome built = Run({"build"});
    ASSERT_EQ(built.exitCode, 0) << Describe({"build"}, built);
  }

  Outcome Run(const std::vector<std::string>& args, const std::string& input = "", int seconds = 120) {
    return RunCli(root(), args, input, {}, seconds);
  }

  const fs::path& root() const { return folder_.path(); }

  test::RuntimeFolder folder_;
};

// ---------------------------------------------------------------------------------------------
// build

TEST_F(CliTest, BuildWritesTheIndexesOfBothCorporaAndSaysSo) {
  for (const char* file : {"index1.datBI", "index11.datBI", "index2.datBI", "index21.datBI", "index1.datMO",
                           "index11.datMO", "index2.datMO", "index21.datMO"}) {
    EXPECT_TRUE(fs::exists(folder_ / "data" / file)) << file;
  }
  fs::remove(folder_ / "data/index1.datBI");
  const Outcome o = Run({"build"});
  EXPECT_EQ(o.exitCode, 0) << Describe({"build"}, o);
  EXPECT_EQ(o.out, "Finished MO!\n");
  EXPECT_EQ(o.err, "\rBI: 51 dictionary lines, 3 sentence groups\n\rMO: 18 dictionary lines, 2 sentence groups\n");
  EXPECT_TRUE(fs::exists(folder_ / "data/index1.datBI"));
}

TEST_F(CliTest, BuildWithoutASourceFailsWithExitCode1) {
  fs::remove(folder_ / "BDict/word.dictMO");
  const Outcome o = Run({"build"});
  EXPECT_EQ(o.exitCode, 1) << Describe({"build"}, o);
  EXPECT_EQ(o.out, "");
  EXPECT_TRUE(Contains(o.err, "MO: BDict/word.dictMO: cannot be opened\n")) << o.err;
  EXPECT_TRUE(Contains(o.err, "\nError! Resources are not available!\n")) << o.err;
}

// ---------------------------------------------------------------------------------------------
// words

struct CommandCase {
  std::vector<std::string> args;
  int exitCode;
  std::string out;  // exact
  std::string err;  // a part of standard error ("" when it must be empty)
};

void ExpectRuns(const fs::path& root, const std::vector<CommandCase>& cases) {
  for (const CommandCase& c : cases) {
    const Outcome o = RunCli(root, c.args);
    const std::string what = Describe(c.args, o);
    EXPECT_EQ(o.exitCode, c.exitCode) << what;
    EXPECT_EQ(o.out, c.out) << what;
    if (c.err.empty()) {
      EXPECT_EQ(o.err, "") << what;
    } else {
      EXPECT_TRUE(Contains(o.err, c.err)) << what;
    }
  }
}

// The Chinese words in the order of the dictionary, without 。 (left out of the list);
// the English words as searched (lower case, without the punctuation around them).
const std::string kChineseWords =
    "0:你好\n1:，\n2:我\n3:是\n4:老师\n5:今天\n6:天气\n7:很\n8:好\n9:喜欢\n10:下雨\n11:的\n";

TEST_F(CliTest, WordsListsNumberedWordsOrRefusesBadNumbers) {
  ExpectRuns(root(), {
                         {{"words", "--cn", "0", "100"}, 0, kChineseWords, ""},
                         {{"words", "--cn", "0"}, 0, kChineseWords, ""},  // COUNT is 20 by default
                         {{"words", "--cn", "10", "20"}, 0, "10:下雨\n11:的\n", ""},
                         {{"words", "5", "3", "--cn"}, 0, "5:今天\n6:天气\n7:很\n", ""},
                         {{"words", "0", "5"}, 0, "0:hello\n1:i\n2:am\n3:a\n4:teacher\n", ""},
                         {{"words", "10"}, 0, "10:like\n11:rainy\n", ""},
                         // Positions outside the list, and counts of none, list nothing.
                         {{"words", "12", "5"}, 0, "", ""},
                         {{"words", "-1", "5"}, 0, "", ""},
                         {{"words", "3", "-1"}, 0, "", ""},
                         {{"words", "3", "0"}, 0, "", ""},
                         {{"words", "abc"}, 2, "", "Could not convert: START = abc\n"},
                         {{"words", "1", "x"}, 2, "", "Could not convert: COUNT = x\n"},
                         {{"words", "99999999999", "1"}, 2, "", "Could not convert: START = 99999999999\n"},
                         {{"words"}, 2, "", "START is required"},
                         {{"words", "1", "2", "3"}, 2, "", "The following argument was not expected: 3"},
                     });
}

TEST_F(CliTest, WordsWithoutAnIndexExitsWith2) {
  fs::remove(folder_ / "data/index1.datBI");
  ExpectRuns(root(), {{{"words", "0"}, 2, "", "(the BI index in data/ could not be loaded; run 'tamrel-cli build')"}});
}

// ---------------------------------------------------------------------------------------------
// search

// Each line of a sentence ends with a space: the sentences come with a space after every word.
TEST_F(CliTest, SearchPrintsNumberedSentencesOfBothCorporaAndWritesThePage) {
  const Outcome o = Run({"search", "weather"});
  EXPECT_EQ(o.exitCode, 0) << Describe({"search", "weather"}, o);
  EXPECT_EQ(o.out,
            "Bilingual Examples:\n"
            "1. 今天 天气 很 好 。 \n"
            "   jīntiān tiānqì hěn hǎo 。 \n"
            "   The weather is good today. \n"
            "2. 我 喜欢 下雨 的 天气 。 \n"
            "   wǒ xǐhuan xiàyǔ de tiānqì 。 \n"
            "   I like rainy weather. \n"
            "Monolingual Examples:\n"
            "1. \n"
            "   \n"
            "   What is the weather like? \n");
  EXPECT_EQ(o.err, "");
  const std::string page = ReadBytes(folder_ / "data/displayResult.html");
  EXPECT_TRUE(page.starts_with(kBom)) << page;
  EXPECT_TRUE(Contains(page, "The results for \"weather\"")) << page;
  EXPECT_TRUE(Contains(page, "rainy")) << page;
}

TEST_F(CliTest, SearchOfChineseTextCutsItIntoTheCorpusWords) {
  const Outcome o = Run({"search", "--no-page", "天气很好"});
  EXPECT_EQ(o.exitCode, 0) << Describe({"search", "天气很好"}, o);
  EXPECT_TRUE(o.out.starts_with("Bilingual Examples:\n1. 今天 天气 很 好 。 \n")) << o.out;
  EXPECT_TRUE(Contains(o.out, "Monolingual Examples:\n1. 天气 冷 了 。 \n   tiānqì lěng le 。 \n   \n")) << o.out;
}

TEST_F(CliTest, SearchJsonPrintsOneObjectPerSentence) {
  const Outcome o = Run({"search", "--json", "weather"});
  EXPECT_EQ(o.exitCode, 0) << Describe({"search", "--json", "weather"}, o);
  EXPECT_EQ(
      o.out,
      R"({"corpus":"BI","rank":1,"chinese":"今天 天气 很 好 。 ","pinyin":"jīntiān tiānqì hěn hǎo 。 ","english":"The weather is good today. "})"
      "\n"
      R"({"corpus":"BI","rank":2,"chinese":"我 喜欢 下雨 的 天气 。 ","pinyin":"wǒ xǐhuan xiàyǔ de tiānqì 。 ","english":"I like rainy weather. "})"
      "\n"
      R"({"corpus":"MO","rank":1,"chinese":"","pinyin":"","english":"What is the weather like? "})"
      "\n");
  EXPECT_EQ(o.err, "");
}

// --offset K skips the first K sentences of each corpus and numbers the rest from K + 1.
TEST_F(CliTest, SearchOffsetGivesTheSentencesAfterThoseSkipped) {
  const Outcome o = Run({"search", "--json", "--no-page", "--offset", "1", "weather"});
  EXPECT_EQ(o.exitCode, 0) << Describe({"search", "--offset", "1", "weather"}, o);
  EXPECT_EQ(
      o.out,
      R"({"corpus":"BI","rank":2,"chinese":"我 喜欢 下雨 的 天气 。 ","pinyin":"wǒ xǐhuan xiàyǔ de tiānqì 。 ","english":"I like rainy weather. "})"
      "\n");
  const Outcome past = Run({"search", "--no-page", "--offset", "2", "weather"});
  EXPECT_EQ(past.exitCode, 1);
  EXPECT_EQ(past.err, "No more sentences for \"weather\" after the first 2.\n");
  EXPECT_EQ(Run({"search", "--offset", "-1", "weather"}).exitCode, 2);
}

TEST_F(CliTest, SearchTsvPrintsTheExportNotesOfBilingualSentences) {
  const Outcome o = Run({"search", "--tsv", "weather"});
  EXPECT_EQ(o.exitCode, 0) << Describe({"search", "--tsv", "weather"}, o);
  EXPECT_EQ(o.out,
            "#separator:tab\n#html:false\n#columns:Chinese\tPinyin\tEnglish\tTags\n#tags column:4\n"
            "今天天气很好。\tjīntiān tiānqì hěn hǎo。\tThe weather is good today.\tweather\n"
            "我喜欢下雨的天气。\twǒ xǐhuan xiàyǔ de tiānqì。\tI like rainy weather.\tweather\n");
  EXPECT_EQ(o.err, "");
}

// A sentence may hold control characters (an imported file can): the text output shows them as
// escapes, so that printing a sentence cannot ring the bell or recolour the terminal. JSON escapes
// the C0 controls itself (DEL is plain JSON), and the export notes make every control a space.
TEST_F(CliTest, ControlCharactersOfASentenceArePrintedAsEscapes) {
  ASSERT_TRUE(test::WriteCorpus(root(), u"BI",
                                {{"铃 响 了 。", "líng xiǎng le 。", "The bell\x07 rang \x1b[31mred\x7f\x1b[0m\x01."}})
                  .ok());
  ASSERT_EQ(Run({"build"}).exitCode, 0);
  const Outcome text = Run({"search", "--no-page", "rang"});
  EXPECT_EQ(text.exitCode, 0) << Describe({"search", "rang"}, text);
  EXPECT_EQ(text.out,
            "Bilingual Examples:\n"
            "1. 铃 响 了 。 \n"
            "   líng xiǎng le 。 \n"
            "   The bell\\x07 rang \\x1b[31mred\\x7f\\x1b[0m\\x01. \n"
            "Monolingual Examples:\n");
  const Outcome json = Run({"search", "--no-page", "--json", "rang"});
  EXPECT_EQ(json.out, R"({"corpus":"BI","rank":1,"chinese":"铃 响 了 。 ","pinyin":"líng xiǎng le 。 ",)"
                      R"("english":"The bell\u0007 rang \u001b[31mred)"
                      "\x7f"
                      R"(\u001b[0m\u0001. "})"
                      "\n");
  const Outcome tsv = Run({"search", "--no-page", "--tsv", "rang"});
  EXPECT_TRUE(tsv.out.ends_with("\tThe bell rang [31mred [0m .\trang\n")) << tsv.out;
  // The word list shows the words of such a sentence in the same way.
  const Outcome words = Run({"words", "0", "10"});
  EXPECT_EQ(words.out, "0:the\n1:bell\n2:rang\n3:\\x1b[31mred\\x7f\\x1b[0m\\x01\n");
}

TEST_F(CliTest, JsonAndTsvTogetherAreRefused) {
  for (const auto& args : std::vector<std::vector<std::string>>{{"search", "--json", "--tsv", "weather"},
                                                                {"search", "--tsv", "weather", "--json"}}) {
    const Outcome o = Run(args);
    EXPECT_EQ(o.exitCode, 2) << Describe(args, o);
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(o.err, "--json excludes --tsv\nRun with --help for more information.\n");
    EXPECT_FALSE(fs::exists(folder_ / "data/displayResult.html"));
  }
}

TEST_F(CliTest, NoPageLeavesThePageFileUnwritten) {
  const Outcome o = Run({"search", "--no-page", "weather"});
  EXPECT_EQ(o.exitCode, 0) << Describe({"search", "--no-page", "weather"}, o);
  EXPECT_TRUE(o.out.starts_with("Bilingual Examples:\n1. 今天 天气 很 好 。 \n")) << o.out;
  EXPECT_FALSE(fs::exists(folder_ / "data/displayResult.html"));
}

TEST_F(CliTest, SearchThatFindsNothingExitsWith1AndSaysSo) {
  WriteBytes(folder_ / "data/displayResult.html", "the previous page");
  const Outcome text = Run({"search", "zzzqqq"});
  EXPECT_EQ(text.exitCode, 1) << Describe({"search", "zzzqqq"}, text);
  EXPECT_EQ(text.out, "");
  EXPECT_EQ(text.err, "Nothing found for \"zzzqqq\".\n");
  // The page that says so is written beside the result page, which stays as it was.
  EXPECT_TRUE(Contains(ReadBytes(folder_ / "data/notFound.html"), "zzzqqq"));
  EXPECT_EQ(ReadBytes(folder_ / "data/displayResult.html"), "the previous page");
  // Machine-read outputs stay empty on both streams.
  for (const char* format : {"--json", "--tsv"}) {
    const Outcome o = Run({"search", format, "zzzqqq"});
    EXPECT_EQ(o.exitCode, 1) << Describe({"search", format, "zzzqqq"}, o);
    EXPECT_EQ(o.out, "") << format;
    EXPECT_EQ(o.err, "") << format;
  }
}

TEST_F(CliTest, SearchWithoutTextExitsWith2) {
  ExpectRuns(root(), {
                         {{"search", ""}, 2, "", "Nothing to search: the text is empty.\n"},
                         {{"search"}, 2, "", "TEXT is required"},
                         {{"search", "--bogus", "weather"}, 2, "", "The following argument was not expected: --bogus"},
                     });
}

TEST_F(CliTest, SearchWithoutAnIndexExitsWith2) {
  fs::remove(folder_ / "data/index2.datMO");
  ExpectRuns(root(),
             {{{"search", "weather"}, 2, "", "(the MO index in data/ could not be loaded; run 'tamrel-cli build')"}});
}

TEST_F(CliTest, PagesHaveToneColoursWhenTheOptionsFileTurnsThemOn) {
  const fs::path page = folder_ / "data/displayResult.html";
  // Off by default; the tone classes are used for the syllables of 天气 (tiān: 1, qì: 4).
  ASSERT_EQ(Run({"search", "天气"}).exitCode, 0);
  EXPECT_FALSE(Contains(ReadBytes(page), "<span class=\"t1\">")) << ReadBytes(page);
  WriteBytes(folder_ / "data/options.json", R"({"toneColours": true})");
  const Outcome on = Run({"search", "天气"});
  EXPECT_EQ(on.exitCode, 0) << Describe({"search", "天气"}, on);
  EXPECT_EQ(on.err, "");
  EXPECT_TRUE(Contains(ReadBytes(page), "<span class=\"t1\">tiān</span><span class=\"t4\">qì</span>"))
      << ReadBytes(page);
  WriteBytes(folder_ / "data/options.json", R"({"toneColours": false})");
  ASSERT_EQ(Run({"search", "天气"}).exitCode, 0);
  EXPECT_FALSE(Contains(ReadBytes(page), "<span class=\"t1\">")) << ReadBytes(page);
}

TEST_F(CliTest, SearchWarnsAboutASettingsFileItCannotReadAndUsesItsDefaults) {
  WriteBytes(folder_ / "data/options.json", "{\"toneColours\": tru");
  fs::create_directory(folder_ / "data/config.data");
  const Outcome o = Run({"search", "--no-page", "weather"});
  EXPECT_EQ(o.exitCode, 0) << Describe({"search", "weather"}, o);
  EXPECT_TRUE(o.out.starts_with("Bilingual Examples:\n")) << o.out;
  EXPECT_EQ(o.err,
            "warning: data/config.data: is a folder, not a regular file; its defaults are used.\n"
            "warning: data/options.json: is not a JSON object; its defaults are used.\n");
}

// FIFOs in place of files once made the search wait for a writer forever: a key table file that
// is a FIFO is ignored like a damaged one (the table is built in memory and the answer is the
// same), and settings files that are FIFOs are refused with a warning.
TEST_F(CliTest, SearchWithFifosInPlaceOfFilesAnswersAsWithout) {
  const std::vector<std::string> search = {"search", "weather"};
  const Outcome before = Run(search);
  ASSERT_EQ(before.exitCode, 0) << Describe(search, before);
  const std::string page = ReadBytes(folder_ / "data/displayResult.html");
  const std::string json = Run({"search", "--json", "--no-page", "天气"}).out;
  test::MakeFifo(folder_ / "data/keytable.datBI");
  test::MakeFifo(folder_ / "data/keytable.datMO");
  const Outcome after = Run(search, "", 20);
  EXPECT_EQ(after.exitCode, 0) << Describe(search, after);
  EXPECT_EQ(after.out, before.out);
  EXPECT_EQ(after.err, "");
  EXPECT_EQ(ReadBytes(folder_ / "data/displayResult.html"), page);
  EXPECT_EQ(Run({"search", "--json", "--no-page", "天气"}, "", 20).out, json);

  test::MakeFifo(folder_ / "data/config.data");
  test::MakeFifo(folder_ / "data/options.json");
  const Outcome warned = Run(search, "", 20);
  EXPECT_EQ(warned.exitCode, 0) << Describe(search, warned);
  EXPECT_EQ(warned.out, before.out);
  EXPECT_EQ(warned.err,
            "warning: data/config.data: is a FIFO, not a regular file; its defaults are used.\n"
            "warning: data/options.json: is a FIFO, not a regular file; its defaults are used.\n");
}

TEST_F(CliTest, SearchFollowsTheSettingsFile) {
  ASSERT_EQ(Run({"settings", "FLAGBI=FALSE", "FLAGPRON=FALSE"}).exitCode, 0);
  const Outcome o = Run({"search", "weather"});
  EXPECT_EQ(o.exitCode, 0) << Describe({"search", "weather"}, o);
  EXPECT_EQ(o.out, "Monolingual Examples:\n1. \n   \n   What is the weather like? \n");
  const std::string page = ReadBytes(folder_ / "data/displayResult.html");
  EXPECT_FALSE(Contains(page, "rainy")) << page;
}

// ---------------------------------------------------------------------------------------------
// settings

const std::string kAllOnShown = "FLAGSTARTUP=TRUE\nFLAGPRON=TRUE\nFLAGBI=TRUE\nFLAGMONO=TRUE\n";

TEST_F(CliTest, SettingsShowsTheOptionsAndChangesThoseNamed) {
  ExpectRuns(root(), {{{"settings"}, 0, kAllOnShown, ""}});
  EXPECT_FALSE(fs::exists(folder_ / "data/config.data"));
  ExpectRuns(
      root(),
      {
          {{"settings", "FLAGPRON=FALSE"}, 0, "FLAGSTARTUP=TRUE\nFLAGPRON=FALSE\nFLAGBI=TRUE\nFLAGMONO=TRUE\n", ""},
          {{"settings", "FLAGMONO=FALSE", "FLAGSTARTUP=FALSE"},
           0,
           "FLAGSTARTUP=FALSE\nFLAGPRON=FALSE\nFLAGBI=TRUE\nFLAGMONO=FALSE\n",
           ""},
          {{"settings"}, 0, "FLAGSTARTUP=FALSE\nFLAGPRON=FALSE\nFLAGBI=TRUE\nFLAGMONO=FALSE\n", ""},
      });
  EXPECT_EQ(ReadBytes(folder_ / "data/config.data"),
            kBom + "FIRST\nFLAGPRON##FALSE\nFLAGBI##TRUE\nFLAGMONO##FALSE\nFLAGSTARTUP##FALSE\n");
}

TEST_F(CliTest, BadSettingsAssignmentsExitWith2AndChangeNothing) {
  const std::string expected =
      "Expected KEY=TRUE or KEY=FALSE with KEY one of FLAGSTARTUP, FLAGPRON, FLAGBI, FLAGMONO; got ";
  ExpectRuns(root(), {
                         {{"settings", "FLAGBI=maybe"}, 2, "", expected + "'FLAGBI=maybe'.\n"},
                         {{"settings", "FOO=TRUE"}, 2, "", expected + "'FOO=TRUE'.\n"},
                         {{"settings", "flagpron=true"}, 2, "", expected + "'flagpron=true'.\n"},
                         {{"settings", "FLAGPRON"}, 2, "", expected + "'FLAGPRON'.\n"},
                         // One bad pair refuses the good ones too.
                         {{"settings", "FLAGPRON=FALSE", "FLAGBI=no"}, 2, "", expected + "'FLAGBI=no'.\n"},
                         {{"settings", "--bogus"}, 2, "", "The following argument was not expected: --bogus"},
                     });
  EXPECT_FALSE(fs::exists(folder_ / "data/config.data"));
  ExpectRuns(root(), {{{"settings"}, 0, kAllOnShown, ""}});
}

// ---------------------------------------------------------------------------------------------
// prepare

TEST_F(CliTest, PrepareWritesTheDictionaryOfACorpus) {
  fs::remove(folder_ / "BDict/word.dictBI");
  ExpectRuns(root(), {
                         {{"prepare", "BI"}, 0, "BDict/word.dictBI: 51 keys from 3 sentence groups\n", ""},
                         {{"prepare", "MO"}, 0, "BDict/word.dictMO: 18 keys from 2 sentence groups\n", ""},
                     });
  const std::string dictionary = ReadBytes(folder_ / "BDict/word.dictBI");
  EXPECT_TRUE(Contains(dictionary, "\n0天气\t1:1 2:1\n")) << dictionary;
  EXPECT_TRUE(Contains(dictionary, "\n2rainy\t2:1\n")) << dictionary;
  // The dictionary it wrote builds and searches.
  ASSERT_EQ(Run({"build"}).exitCode, 0);
  EXPECT_EQ(Run({"search", "--no-page", "rainy"}).exitCode, 0);
}

TEST_F(CliTest, PrepareRefusesABadTagOrABrokenCorpus) {
  const std::string dictionary = ReadBytes(folder_ / "BDict/word.dictBI");
  ExpectRuns(root(), {
                         {{"prepare", "XX"}, 2, "", "TAG: XX not in {BI,MO}"},
                         {{"prepare", "bi"}, 2, "", "TAG: bi not in {BI,MO}"},
                         {{"prepare"}, 2, "", "TAG is required"},
                     });
  std::string sentences = ReadBytes(folder_ / "BDict/sents.finalBI");
  sentences.insert(sentences.find('\n'), "\tx");
  WriteBytes(folder_ / "BDict/sents.finalBI", sentences);
  ExpectRuns(root(), {{{"prepare", "BI"}, 1, "", "BDict/sents.finalBI, line 1: "}});
  const Outcome o = Run({"prepare", "BI"});
  EXPECT_TRUE(o.err.ends_with(". Nothing was written.\n")) << o.err;
  EXPECT_EQ(ReadBytes(folder_ / "BDict/word.dictBI"), dictionary);
}

// ---------------------------------------------------------------------------------------------
// segment and pinyin

TEST_F(CliTest, SegmentAndPinyinAnswerLineForLine) {
  struct Case {
    std::vector<std::string> args;
    std::string input;
    std::string out;
  };
  const std::string lexicon = kLexicon.string();
  const std::vector<Case> cases = {
      {{"segment", "--lexicon", lexicon}, "我喜欢下雨的天气。\n今天很好\n", "我 喜欢 下雨 的 天气 。\n今天 很 好\n"},
      {{"pinyin", "--lexicon", lexicon}, "我喜欢下雨的天气。\n", "wǒ xǐhuan xiàyǔ de tiānqì 。\n"},
      // Traditional characters are cut as their simplified words (天气) and shown as typed.
      {{"segment", "--lexicon", lexicon}, "天氣很好\n", "天氣 很 好\n"},
      {{"segment", "--keep-traditional", "--lexicon", lexicon}, "天氣很好\n", "天 氣 很 好\n"},
      {{"pinyin", "--lexicon", lexicon}, "天氣\n", "tiānqì\n"},
      // An empty line stays a line; a line without an end still answers.
      {{"segment", "--lexicon", lexicon}, "\n你好", "\n你好\n"},
      {{"segment", "--lexicon", lexicon}, "", ""},
  };
  for (const Case& c : cases) {
    const Outcome o = Run(c.args, c.input);
    EXPECT_EQ(o.exitCode, 0) << Describe(c.args, o);
    EXPECT_EQ(o.out, c.out) << Describe(c.args, o);
    EXPECT_EQ(o.err, "") << Describe(c.args, o);
  }
}

TEST_F(CliTest, SegmentWithoutItsLexiconExitsWith2) {
  ExpectRuns(root(), {
                         {{"segment", "--lexicon", "no-such.tsv"}, 2, "", "tamrel-cli: cannot load the lexicon: "},
                         {{"pinyin", "--lexicon", "no-such.tsv"}, 2, "", "no-such.tsv"},
                     });
}

// ---------------------------------------------------------------------------------------------
// define

TEST_F(CliTest, DefinePrintsOneJsonLinePerEntry) {
  const Outcome apple = Run({"define", "--json", "苹果"});
  EXPECT_EQ(apple.exitCode, 0) << Describe({"define"}, apple);
  EXPECT_EQ(apple.out,
            "{\"word\":\"苹果\",\"traditional\":\"蘋果\",\"pinyin\":\"píngguǒ\",\"senses\":[\"apple\"],\"hsk\":3,"
            "\"frequency\":5692}\n"
            "{\"word\":\"苹果\",\"traditional\":\"蘋果\",\"pinyin\":\"Píngguǒ\",\"senses\":[\"Apple (American tech "
            "company)\"],\"hsk\":null,\"frequency\":5692}\n");
  EXPECT_EQ(apple.err, "");
  // The traditional form finds the same entries; the senses of a "see" reference follow its own.
  EXPECT_EQ(Run({"define", "--json", "蘋果"}).out, apple.out);
  EXPECT_EQ(
      Run({"define", "--json", "一命归天"}).out,
      "{\"word\":\"一命归天\",\"traditional\":\"一命歸天\",\"pinyin\":\"yīmìngguītiān\",\"senses\":[\"see "
      "一命嗚呼|一命呜呼[yi1 ming4 wu1 hu1]\",\"to die (idiom)\",\"to breathe one's last\",\"to give up the ghost\"],"
      "\"hsk\":null,\"frequency\":149602}\n");
  EXPECT_TRUE(Run({"define", "--json", "攻"})
                  .out.starts_with("{\"word\":\"攻\",\"traditional\":\"攻\",\"pinyin\":\"gōng\","
                                   "\"senses\":[\"to attack\",\"to accuse\",\"to study\",\"(LGBT) "
                                   "top\"],\"hsk\":\"7-9\",\"frequency\":1561}\n"));
}

TEST_F(CliTest, DefineOfPinyinOrEnglishGivesChineseWords) {
  for (const char* pinyin : {"nǐhǎo", "ni3hao3", "ni hao", "nihao"}) {
    const Outcome o = Run({"define", "--json", pinyin});
    EXPECT_EQ(o.exitCode, 0) << Describe({"define", pinyin}, o);
    EXPECT_TRUE(o.out.starts_with("{\"word\":\"你好\",")) << o.out;
  }
  const Outcome apple = Run({"define", "apple"});
  EXPECT_EQ(apple.exitCode, 0) << Describe({"define", "apple"}, apple);
  EXPECT_TRUE(
      apple.out.starts_with("苹果 (蘋果)  píngguǒ  HSK 3  less common (rank 5692)\n  1. apple\n  CL: 个[gè], 颗[kē]\n"))
      << apple.out;
  // Toneless letters no sense translates read as pinyin; a word with tones always does.
  EXPECT_TRUE(Run({"define", "--json", "xian"}).out.starts_with("{\"word\":\"先\",")) << Run({"define", "xian"}).out;
  EXPECT_TRUE(Run({"define", "--json", "shi4"}).out.starts_with("{\"word\":\"是\",")) << Run({"define", "shi4"}).out;
}

TEST_F(CliTest, DefineOfWhatNoEntryHoldsExitsWith1) {
  ExpectRuns(root(), {
                         {{"define", "zzzqqq"}, 1, "", "No dictionary entry for \"zzzqqq\".\n"},
                         {{"define", "--json", "龘龘龘"}, 1, "", "No dictionary entry for \"龘龘龘\".\n"},
                         {{"define", "  "}, 1, "", "No dictionary entry for \"\".\n"},
                         {{"define"}, 2, "", "TEXT is required"},
                     });
}

// ---------------------------------------------------------------------------------------------
// import

TEST_F(CliTest, ImportReplacesOrAppendsToACorpusAndBuildsItsIndex) {
  WriteBytes(folder_ / "pairs.txt", "I drink tea.\t我喝茶。\nTea is hot.\t茶很热。\n");
  const Outcome replaced = Run({"import", "BI", "pairs.txt"});
  EXPECT_EQ(replaced.exitCode, 0) << Describe({"import", "BI", "pairs.txt"}, replaced);
  EXPECT_TRUE(replaced.out.starts_with(
      "Imported 2 sentence groups into BDict/sents.finalBI (2 lines read, 0 duplicates left out) in "))
      << replaced.out;
  EXPECT_TRUE(replaced.out.ends_with(" s; the index is built.\n")) << replaced.out;
  EXPECT_EQ(replaced.err, "");
  EXPECT_EQ(ReadBytes(folder_ / "BDict/sents.finalBI"),
            "我 喝茶 。\nwǒ hēchá 。\nI drink tea.\n茶 很 热 。\nchá hěn rè 。\nTea is hot.\n");
  // The new sentences are searchable at once; the old bilingual ones are gone.
  EXPECT_EQ(Run({"search", "--json", "--no-page", "tea"}).out,
            R"({"corpus":"BI","rank":1,"chinese":"我 喝茶 。 ","pinyin":"wǒ hēchá 。 ","english":"I drink tea. "})"
            "\n"
            R"({"corpus":"BI","rank":2,"chinese":"茶 很 热 。 ","pinyin":"chá hěn rè 。 ","english":"Tea is hot. "})"
            "\n");
  EXPECT_EQ(Run({"search", "--tsv", "--no-page", "rainy"}).exitCode, 1);

  // --append keeps the groups and adds new ones; a pair that is already there is left out.
  WriteBytes(folder_ / "more.txt", "I like tea.\t我喜欢茶。\nI drink tea.\t我喝茶。\nno Chinese here\n");
  const Outcome appended = Run({"import", "--append", "BI", "more.txt"});
  EXPECT_EQ(appended.exitCode, 0) << Describe({"import", "--append", "BI", "more.txt"}, appended);
  EXPECT_TRUE(
      appended.out.starts_with("Imported 1 sentence groups into BDict/sents.finalBI after its 2 groups (3 "
                               "lines read, 1 duplicates left out) in "))
      << appended.out;
  EXPECT_TRUE(Contains(appended.out, "Skipped 1 line that could not be used:\n  more.txt, line 3: ")) << appended.out;
  const Outcome search = Run({"search", "--no-page", "--json", "tea"});
  EXPECT_TRUE(Contains(search.out, R"("english":"I like tea. ")")) << search.out;
}

TEST_F(CliTest, ImportRefusalsLeaveTheCorpusAsItWas) {
  const std::string sentences = ReadBytes(folder_ / "BDict/sents.finalBI");
  WriteBytes(folder_ / "empty.txt", "");
  const Outcome empty = Run({"import", "BI", "empty.txt"});
  EXPECT_EQ(empty.exitCode, 1) << Describe({"import", "BI", "empty.txt"}, empty);
  EXPECT_TRUE(Contains(empty.err, "Import failed: ")) << empty.err;
  EXPECT_TRUE(Contains(empty.err, "\nThe corpus BI was not changed.\n")) << empty.err;
  ExpectRuns(root(), {
                         {{"import", "XX", "empty.txt"}, 2, "", "TAG: XX not in {BI,MO}"},
                         {{"import", "BI"}, 2, "", "FILE is required"},
                     });
  EXPECT_EQ(ReadBytes(folder_ / "BDict/sents.finalBI"), sentences);
}

// A step that fails after the commit record is written (here the new build stamp, with a folder
// in its place): the import has taken effect and says so, with exit code 3. Until the cause is
// gone the corpus cannot be loaded; then the next command finishes the commit.
TEST_F(CliTest, ImportThatTookEffectButCouldNotFinishSaysSoAndExitsWith3) {
  WriteBytes(folder_ / "pairs.txt", "I drink tea.\t我喝茶。\n");
  fs::remove(folder_ / "data/stamp.datBI");
  fs::create_directories(folder_ / "data/stamp.datBI/in-the-way");
  const std::vector<std::string> args = {"import", "BI", "pairs.txt"};
  const Outcome imported = Run(args);
  EXPECT_EQ(imported.exitCode, 3) << Describe(args, imported);
  EXPECT_TRUE(imported.out.starts_with("Imported 1 sentence groups into BDict/sents.finalBI")) << imported.out;
  EXPECT_EQ(imported.err,
            "The import has taken effect, but putting its files in place could not be finished: "
            "data/stamp.datBI: cannot be replaced: Is a directory. It will be finished the next "
            "time Tamrel opens the corpus BI.\n");
  EXPECT_EQ(ReadBytes(folder_ / "BDict/sents.finalBI"), "我 喝茶 。\nwǒ hēchá 。\nI drink tea.\n");
  EXPECT_TRUE(fs::exists(folder_ / "data/commit.datBI"));
  EXPECT_EQ(Run({"search", "--no-page", "tea"}).exitCode, 2);
  fs::remove_all(folder_ / "data/stamp.datBI");
  const Outcome search = Run({"search", "--no-page", "--json", "tea"});
  EXPECT_EQ(search.out,
            R"({"corpus":"BI","rank":1,"chinese":"我 喝茶 。 ","pinyin":"wǒ hēchá 。 ","english":"I drink tea. "})"
            "\n");
  EXPECT_FALSE(fs::exists(folder_ / "data/commit.datBI"));
  EXPECT_TRUE(fs::is_regular_file(folder_ / "data/stamp.datBI"));
}

// What an import killed before its commit leaves: its scratch runtime folder. Every command run
// in the runtime folder removes those of both corpora, unless a process holds the corpus's build
// lock (an import that runs).
TEST_F(CliTest, EveryCommandRemovesTheScratchFolderOfAKilledImport) {
  WriteBytes(folder_ / "plain.txt", "茶很热。\n");
  const std::vector<std::vector<std::string>> commands = {{"search", "--no-page", "weather"},
                                                          {"words", "0", "2"},
                                                          {"build"},
                                                          {"settings"},
                                                          {"settings", "FLAGPRON=TRUE"},
                                                          {"prepare", "BI"},
                                                          {"import", "MO", "plain.txt"}};
  for (const auto& args : commands) {
    for (const char* scratch : {"data/import.tmpBI", "data/import.tmpMO"}) {
      fs::create_directories(folder_ / scratch / "BDict");
      fs::create_directories(folder_ / scratch / "data");
      WriteBytes(folder_ / scratch / "BDict/sents.finalBI", "半 。\n半 。\nHalf.\n");
    }
    const Outcome run = Run(args);
    EXPECT_EQ(run.exitCode, 0) << Describe(args, run);
    EXPECT_FALSE(fs::exists(folder_ / "data/import.tmpBI")) << Describe(args, run);
    EXPECT_FALSE(fs::exists(folder_ / "data/import.tmpMO")) << Describe(args, run);
  }
  fs::create_directories(folder_ / "data/import.tmpBI/BDict");
  FileLock held;
  ASSERT_TRUE(held.Acquire(folder_ / "data/index.lockBI").ok());
  const Outcome search = Run({"search", "--no-page", "weather"});
  EXPECT_EQ(search.exitCode, 0) << Describe({"search", "--no-page", "weather"}, search);
  EXPECT_TRUE(fs::exists(folder_ / "data/import.tmpBI/BDict"));
}

// An import file that is a FIFO with no writer once hung the import.
TEST_F(CliTest, ImportOfAFifoExitsWith1AtOnceAndNamesIt) {
  const std::string sentences = ReadBytes(folder_ / "BDict/sents.finalBI");
  test::MakeFifo(folder_ / "fifo.txt");
  const auto started = std::chrono::steady_clock::now();
  const Outcome o = Run({"import", "BI", "fifo.txt"}, "", 20);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
  EXPECT_EQ(o.exitCode, 1) << Describe({"import", "BI", "fifo.txt"}, o);
  EXPECT_EQ(o.out, "");
  EXPECT_TRUE(Contains(o.err, "fifo.txt: is a FIFO, not a regular file")) << o.err;
  EXPECT_TRUE(Contains(o.err, "\nThe corpus BI was not changed.\n")) << o.err;
  EXPECT_EQ(ReadBytes(folder_ / "BDict/sents.finalBI"), sentences);
}

// ---------------------------------------------------------------------------------------------
// the command line itself

TEST_F(CliTest, HelpNamesEveryCommand) {
  const Outcome o = Run({"--help"});
  EXPECT_EQ(o.exitCode, 0) << Describe({"--help"}, o);
  EXPECT_TRUE(
      o.out.starts_with("Tamrel: example sentences for learners of Chinese and English\n"
                        "Usage: tamrel-cli [OPTIONS] SUBCOMMAND\n"))
      << o.out;
  for (const char* command :
       {"build", "words", "search", "settings", "prepare", "segment", "pinyin", "import", "define"}) {
    EXPECT_TRUE(Contains(o.out, std::string("\n  ") + command + " ")) << command;
  }
  EXPECT_EQ(o.err, "");
  const Outcome search = Run({"search", "--help"});
  EXPECT_EQ(search.exitCode, 0);
  EXPECT_TRUE(Contains(search.out, "--json")) << search.out;
  EXPECT_TRUE(Contains(search.out, "--no-page")) << search.out;
  EXPECT_TRUE(Contains(search.out, "--tsv Excludes: --json")) << search.out;
}

// An answer that cannot be written is a failure, said on standard error, whether the write fails
// at the end or while a long answer is printed.
TEST_F(CliTest, AnAnswerThatCannotBeWrittenExitsWith1AndSaysWhy) {
  const std::string lexicon = kLexicon.string();
  std::string manyLines;
  for (int i = 0; i < 20000; ++i) manyLines += "我喜欢下雨的天气。\n";
  WriteBytes(folder_ / "pairs.txt", "I drink tea.\t我喝茶。\n");
  const std::vector<std::pair<std::vector<std::string>, std::string>> runs = {
      {{"search", "weather"}, ""},
      {{"search", "--json", "weather"}, ""},
      {{"search", "--tsv", "weather"}, ""},
      {{"search", "--no-page", "tianqi"}, ""},
      {{"words", "0", "3"}, ""},
      {{"words", "--cn", "0", "3"}, ""},
      {{"settings"}, ""},
      {{"settings", "FLAGPRON=TRUE"}, ""},
      {{"build"}, ""},
      {{"prepare", "MO"}, ""},
      {{"segment", "--lexicon", lexicon}, "你好\n"},
      {{"segment", "--lexicon", lexicon}, manyLines},
      {{"pinyin", "--lexicon", lexicon}, "你好\n"},
      {{"import", "BI", "pairs.txt"}, ""},
      {{"--help"}, ""},
  };
  for (const auto& [args, input] : runs) {
    const Outcome o = RunCli(root(), args, input, "/dev/full");
    EXPECT_EQ(o.exitCode, 1) << Describe(args, o);
    EXPECT_TRUE(o.err.ends_with("tamrel-cli: cannot write the output: No space left on device\n")) << Describe(args, o);
  }
  // Without an answer to lose, the outcome is the command's own.
  EXPECT_EQ(RunCli(root(), {"search", "--no-page", "zzzqqq"}, "", "/dev/full").exitCode, 1);
  EXPECT_EQ(RunCli(root(), {"segment", "--lexicon", lexicon}, "", "/dev/full").exitCode, 0);
  EXPECT_EQ(RunCli(root(), {"words", "0", "0"}, "", "/dev/full").exitCode, 0);
}

TEST_F(CliTest, UnknownOrMissingCommandExitsWith2) {
  ExpectRuns(root(), {
                         {{"frobnicate"}, 2, "", "A subcommand is required\n"},
                         {{}, 2, "", "A subcommand is required"},
                     });
}

}  // namespace
}  // namespace tamrel
