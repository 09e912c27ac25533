#include "settings/learner_options.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

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

}  // namespace
}  // namespace tamrel
