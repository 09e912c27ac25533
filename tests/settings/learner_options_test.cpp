#include "settings/learner_options.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <iostream>

#include "settings/sys_settings.h"
#include "tests/support/test_support.h"

namespace tamrel {
namespace {

using test::ReadBytes;
using test::WriteBytes;

class LearnerOptionsTest : public ::testing::Test {
 protected:
  test::RuntimeFolder folder_;
  std::filesystem::path file_ = folder_ / "data/options.json";
};

TEST_F(LearnerOptionsTest, MissingFileMeansEveryOptionOff) {
  LearnerOptions options{true};
  EXPECT_TRUE(ReadLearnerOptions(options, folder_.path()).ok());
  EXPECT_EQ(options, LearnerOptions{});
  EXPECT_FALSE(std::filesystem::exists(file_));
}

TEST_F(LearnerOptionsTest, UpdateWritesItsOwnFileAndLeavesConfigDataAlone) {
  const std::string config =
      "\xEF\xBB\xBF"
      "FIRST\nFLAGPRON##FALSE\n";
  WriteBytes(folder_ / "data/config.data", config);
  ASSERT_TRUE(UpdateLearnerOptions(folder_.path(), [](LearnerOptions& o) { o.toneColours = true; }).ok());
  EXPECT_EQ(ReadBytes(file_), "{\n  \"toneColours\": true\n}\n");
  EXPECT_EQ(ReadBytes(folder_ / "data/config.data"), config);
  LearnerOptions options;
  ASSERT_TRUE(ReadLearnerOptions(options, folder_.path()).ok());
  EXPECT_TRUE(options.toneColours);
  SysSettings settings;
  ASSERT_TRUE(ReadConfig(settings, folder_.path()).ok());
  EXPECT_FALSE(settings.showPinyin);
}

TEST_F(LearnerOptionsTest, MembersOfLaterVersionsAreKept) {
  WriteBytes(file_, R"({"fontSize": 14, "toneColours": "yes"})");
  LearnerOptions options;
  ASSERT_TRUE(ReadLearnerOptions(options, folder_.path()).ok());
  EXPECT_FALSE(options.toneColours);  // not a boolean
  ASSERT_TRUE(UpdateLearnerOptions(folder_.path(), [](LearnerOptions& o) { o.toneColours = true; }).ok());
  EXPECT_EQ(ReadBytes(file_), "{\n  \"fontSize\": 14,\n  \"toneColours\": true\n}\n");
}

TEST_F(LearnerOptionsTest, LanguageIsWrittenOnlyOnceChosen) {
  ASSERT_TRUE(UpdateLearnerOptions(folder_.path(), [](LearnerOptions& o) { o.toneColours = true; }).ok());
  EXPECT_EQ(ReadBytes(file_), "{\n  \"toneColours\": true\n}\n");  // the system's: no member
  ASSERT_TRUE(UpdateLearnerOptions(folder_.path(), [](LearnerOptions& o) {
                o.language = WindowLanguage::kSimplifiedChinese;
              }).ok());
  EXPECT_EQ(ReadBytes(file_), "{\n  \"language\": \"zh_CN\",\n  \"toneColours\": true\n}\n");
  LearnerOptions options;
  ASSERT_TRUE(ReadLearnerOptions(options, folder_.path()).ok());
  EXPECT_EQ(options.language, WindowLanguage::kSimplifiedChinese);
  ASSERT_TRUE(
      UpdateLearnerOptions(folder_.path(), [](LearnerOptions& o) { o.language = WindowLanguage::kEnglish; }).ok());
  ASSERT_TRUE(ReadLearnerOptions(options, folder_.path()).ok());
  EXPECT_EQ(options.language, WindowLanguage::kEnglish);
  ASSERT_TRUE(
      UpdateLearnerOptions(folder_.path(), [](LearnerOptions& o) { o.language = WindowLanguage::kSystem; }).ok());
  EXPECT_EQ(ReadBytes(file_), "{\n  \"toneColours\": true\n}\n");
}

// Off, the option leaves the file's bytes as an earlier version wrote them.
TEST_F(LearnerOptionsTest, WordListSensesIsWrittenOnlyOnceTurnedOn) {
  ASSERT_TRUE(UpdateLearnerOptions(folder_.path(), [](LearnerOptions& o) { o.toneColours = true; }).ok());
  EXPECT_EQ(ReadBytes(file_), "{\n  \"toneColours\": true\n}\n");
  ASSERT_TRUE(UpdateLearnerOptions(folder_.path(), [](LearnerOptions& o) { o.wordListSenses = true; }).ok());
  EXPECT_EQ(ReadBytes(file_), "{\n  \"toneColours\": true,\n  \"wordListSenses\": true\n}\n");
  LearnerOptions options;
  ASSERT_TRUE(ReadLearnerOptions(options, folder_.path()).ok());
  EXPECT_TRUE(options.wordListSenses);
  EXPECT_TRUE(options.toneColours);
  ASSERT_TRUE(UpdateLearnerOptions(folder_.path(), [](LearnerOptions& o) { o.wordListSenses = false; }).ok());
  ASSERT_TRUE(ReadLearnerOptions(options, folder_.path()).ok());
  EXPECT_FALSE(options.wordListSenses);
}

TEST_F(LearnerOptionsTest, UnknownLanguageMeansTheSystems) {
  for (const char* bytes : {R"({"language": "fr"})", R"({"language": 1})", R"({"language": "ZH_CN"})"}) {
    WriteBytes(file_, bytes);
    LearnerOptions options;
    options.language = WindowLanguage::kEnglish;
    ASSERT_TRUE(ReadLearnerOptions(options, folder_.path()).ok()) << bytes;
    EXPECT_EQ(options.language, WindowLanguage::kSystem) << bytes;
  }
}

TEST_F(LearnerOptionsTest, BrokenOrReadOnlyFileIsNotOverwritten) {
  for (const char* bytes : {"{\"toneColours\": tru", "[true]", "\xFF\xFE{}"}) {
    WriteBytes(file_, bytes);
    LearnerOptions options{true};
    EXPECT_EQ(ReadLearnerOptions(options, folder_.path()).kind(), Status::Kind::kCorruption) << bytes;
    EXPECT_FALSE(options.toneColours);
    EXPECT_FALSE(UpdateLearnerOptions(folder_.path(), [](LearnerOptions& o) { o.toneColours = true; }).ok());
    EXPECT_EQ(ReadBytes(file_), bytes);
  }
  if (geteuid() == 0) return;  // root writes read-only files
  WriteBytes(file_, "{}");
  chmod(file_.c_str(), 0444);
  EXPECT_FALSE(UpdateLearnerOptions(folder_.path(), [](LearnerOptions& o) { o.toneColours = true; }).ok());
  EXPECT_EQ(ReadBytes(file_), "{}");
}

// A FIFO in place of the options file once made the read wait for a writer forever; it is
// refused at once, the defaults stay, and a save does not replace it.
TEST_F(LearnerOptionsTest, AFifoIsRefusedAtOnce) {
  test::MakeFifo(file_);
  LearnerOptions options{true};
  Status read, update;
  EXPECT_TRUE(test::ReturnsWithin(5, {file_}, [&] {
    read = ReadLearnerOptions(options, folder_.path());
    update = UpdateLearnerOptions(folder_.path(), [](LearnerOptions& o) { o.toneColours = true; });
  }));
  EXPECT_EQ(read.kind(), Status::Kind::kIoError) << read.ToString();
  EXPECT_EQ(read.file(), file_);
  EXPECT_EQ(read.reason(), "is a FIFO, not a regular file");
  EXPECT_FALSE(options.toneColours);
  EXPECT_FALSE(update.ok());
  EXPECT_TRUE(std::filesystem::is_fifo(file_));
}

// {"a": [[[...]]]}: an object whose member nests `depth` levels in all.
std::string Nested(size_t depth) {
  return "{\"a\": " + std::string(depth - 1, '[') + std::string(depth - 1, ']') + ", \"toneColours\": true}";
}

// 60,000 nested arrays once read fine, and the save that wrote them back overflowed the stack.
TEST_F(LearnerOptionsTest, DeeplyNestedJsonIsRefusedAndNotRewritten) {
  for (size_t depth : {size_t{65}, size_t{60000}}) {
    const std::string bytes = Nested(depth);
    WriteBytes(file_, bytes);
    LearnerOptions options;
    const Status read = ReadLearnerOptions(options, folder_.path());
    EXPECT_EQ(read.kind(), Status::Kind::kCorruption) << depth;
    EXPECT_EQ(read.file(), file_);
    EXPECT_EQ(read.reason(), "nests arrays or objects deeper than 64 levels: it is not an options file");
    EXPECT_FALSE(options.toneColours);
    EXPECT_FALSE(UpdateLearnerOptions(folder_.path(), [](LearnerOptions& o) { o.toneColours = false; }).ok());
    EXPECT_EQ(ReadBytes(file_), bytes);
  }
}

TEST_F(LearnerOptionsTest, NestingUpToTheLimitAndBracketsInStringsStillRead) {
  for (const std::string& bytes : {Nested(64), std::string(R"({"a": "[[[[{{{{\"[[[[", "toneColours": true})"),
                                   std::string(R"({"b": ")" + std::string(100, '[') + R"(", "toneColours": true})")}) {
    WriteBytes(file_, bytes);
    LearnerOptions options;
    const Status read = ReadLearnerOptions(options, folder_.path());
    EXPECT_TRUE(read.ok()) << read.ToString() << "\n" << bytes;
    EXPECT_TRUE(options.toneColours) << bytes;
    EXPECT_TRUE(UpdateLearnerOptions(folder_.path(), [](LearnerOptions& o) { o.toneColours = false; }).ok());
    ASSERT_TRUE(ReadLearnerOptions(options, folder_.path()).ok());
    EXPECT_FALSE(options.toneColours);
  }
}

// Each file operation of a save fails in a run of its own, as on a full disk: the save says so,
// naming the file, and the file holds the previous options whole, or the new ones when the save
// took effect; no staged file stays.
TEST_F(LearnerOptionsTest, EveryFileOperationOfASaveMayFailAndLeavesAWholeFile) {
  const std::string before = "{\n  \"toneColours\": false\n}\n";
  const std::string after = "{\n  \"toneColours\": true\n}\n";
  const int64_t operations = test::ForEachFileFault(
      [&] {
        WriteBytes(file_, before);
        return UpdateLearnerOptions(folder_.path(), [](LearnerOptions& o) { o.toneColours = true; });
      },
      [&](const Status& status, const std::string& failed) {
        const bool tookEffect = status.tookEffect();
        if (!status.ok()) test::ExpectToldTheDiskIsFull(status, failed);
        EXPECT_EQ(ReadBytes(file_), tookEffect ? after : before);
        for (const auto& entry : std::filesystem::directory_iterator(folder_ / "data")) {
          const std::string name = entry.path().filename().string();
          EXPECT_TRUE(name == "options.json" || name == "options.json.lock") << name;
        }
      },
      ENOSPC);
  EXPECT_GT(operations, 3);
  std::cout << "a save of the options: " << operations << " file operations, each made to fail in a run of its own\n";
}

}  // namespace
}  // namespace tamrel
