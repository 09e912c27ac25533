#include "learning/sys_settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/test_support.h"

namespace tamrel {
namespace {

using test::ReadBytes;
using test::WriteBytes;

constexpr std::string_view kAllOn =
    "\xEF\xBB\xBF"
    "FIRST\nFLAGPRON##TRUE\nFLAGBI##TRUE\nFLAGMONO##TRUE\nFLAGSTARTUP##TRUE\n";

SysSettings AllOff() { return SysSettings{false, false, false, false}; }

// The settings read from a file holding `bytes`.
SysSettings ReadFrom(std::string_view bytes) {
  WriteBytes(kConfigFile, bytes);
  SysSettings s = AllOff();
  EXPECT_EQ(ReadConfig(s), 0);
  return s;
}

SysSettings With(bool startup, bool pron, bool bi, bool mono) { return SysSettings{startup, pron, bi, mono}; }

class SysSettingsTest : public ::testing::Test {
 protected:
  test::RuntimeFolder folder_;
};

TEST_F(SysSettingsTest, MissingFileGivesDefaultsAndIsNotCreated) {
  SysSettings s = AllOff();
  EXPECT_EQ(ReadConfig(s), -1);
  EXPECT_EQ(s, SysSettings{});
  EXPECT_EQ(s, With(true, true, true, true));
  EXPECT_FALSE(std::filesystem::exists(kConfigFile));
}

TEST_F(SysSettingsTest, WrittenBytes) {
  ASSERT_EQ(WriteConfig(SysSettings{}), 0);
  EXPECT_EQ(ReadBytes(kConfigFile), kAllOn);
  EXPECT_EQ(ReadBytes(kConfigFile).size(), 70u);
  ASSERT_EQ(WriteConfig(With(true, false, true, true)), 0);
  EXPECT_EQ(ReadBytes(kConfigFile),
            "\xEF\xBB\xBF"
            "FIRST\nFLAGPRON##FALSE\nFLAGBI##TRUE\nFLAGMONO##TRUE\nFLAGSTARTUP##TRUE\n");
  EXPECT_EQ(ReadBytes(kConfigFile).size(), 71u);
  ASSERT_EQ(WriteConfig(AllOff()), 0);
  EXPECT_EQ(ReadBytes(kConfigFile),
            "\xEF\xBB\xBF"
            "FIRST\nFLAGPRON##FALSE\nFLAGBI##FALSE\nFLAGMONO##FALSE\nFLAGSTARTUP##FALSE\n");
  EXPECT_FALSE(std::filesystem::exists("data/config.data.new"));
}

TEST_F(SysSettingsTest, RoundTripOfEveryCombination) {
  for (int bits = 0; bits < 16; ++bits) {
    const SysSettings written = With(bits & 1, bits & 2, bits & 4, bits & 8);
    ASSERT_EQ(WriteConfig(written), 0);
    SysSettings read = With(!(bits & 1), !(bits & 2), !(bits & 4), !(bits & 8));
    ASSERT_EQ(ReadConfig(read), 0);
    EXPECT_EQ(read, written) << bits;
  }
}

TEST_F(SysSettingsTest, FieldsSplitAtTheSeparator) {
  EXPECT_EQ(ReadFrom("FLAGPRON##\n"), SysSettings{});
  EXPECT_EQ(ReadFrom("FLAGPRON##FALSE##\n"), With(true, false, true, true));
  EXPECT_EQ(ReadFrom("FLAGPRON##FALSE##x\n"), SysSettings{});
  EXPECT_EQ(ReadFrom("FLAGPRON#FALSE\nFLAGPRON FALSE\n\n##FALSE\n"), SysSettings{});
  EXPECT_EQ(ReadFrom(" FLAGBI##FALSE\nFLAGBI ##FALSE\nflagbi##FALSE\nFLAG##FALSE\n"), SysSettings{});
  EXPECT_EQ(ReadFrom("FLAGSTARTUP##FALSE"), With(false, true, true, true));  // no final LF
}

TEST_F(SysSettingsTest, OnlyExactFalseTurnsAnOptionOff) {
  EXPECT_EQ(ReadFrom("FLAGBI##FALSE\r\n"), With(true, true, false, true));
  EXPECT_EQ(ReadFrom("FLAGBI##False\r\n"), SysSettings{});
  EXPECT_EQ(ReadFrom("FLAGBI##false\nFLAGMONO##0\nFLAGPRON##FALSE \nFLAGSTARTUP##NO\n"), SysSettings{});
  EXPECT_EQ(ReadFrom("FLAGMONO##FALSE\r\r\n"), SysSettings{});  // only one CR is removed
}

TEST_F(SysSettingsTest, AnyOrderAndTheLastLineWins) {
  EXPECT_EQ(ReadFrom("FLAGMONO##FALSE\nFLAGSTARTUP##FALSE\nFLAGMONO##TRUE\nFLAGPRON##FALSE\n"),
            With(false, false, true, true));
}

TEST_F(SysSettingsTest, ByteOrderMarkStaysOnTheFirstLine) {
  EXPECT_EQ(ReadFrom("\xEF\xBB\xBF"
                     "FLAGPRON##FALSE\nFLAGBI##FALSE\n"),
            With(true, true, false, true));
  EXPECT_EQ(ReadFrom("\xEF\xBB\xBF"
                     "FIRST\nFLAGPRON##FALSE\n"),
            With(true, false, true, true));
}

TEST_F(SysSettingsTest, Utf16LittleEndianFile) {
  std::string bytes("\xFF\xFE", 2);
  for (char c : std::string_view("FLAGMONO##FALSE\r\nFLAGPRON##FALSE\nFLAGBI##FALSE\n")) {
    bytes += c;
    bytes += '\0';
  }
  // The mark stays in front of the first line, which is therefore not a setting.
  EXPECT_EQ(ReadFrom(bytes), With(true, false, false, true));
}

TEST_F(SysSettingsTest, WriteIntoMissingFolderFails) {
  EXPECT_EQ(WriteConfig(SysSettings{}, "nowhere/config.data"), -1);
  EXPECT_FALSE(std::filesystem::exists("nowhere"));
}

TEST_F(SysSettingsTest, FailedWriteLeavesTheOldFileWhole) {
  ASSERT_EQ(WriteConfig(With(false, true, false, true)), 0);
  const std::string before = ReadBytes(kConfigFile);
  std::filesystem::create_directory("data/config.data.new");
  EXPECT_EQ(WriteConfig(SysSettings{}), -1);
  EXPECT_EQ(ReadBytes(kConfigFile), before);
  SysSettings s;
  EXPECT_EQ(ReadConfig(s), 0);
  EXPECT_EQ(s, With(false, true, false, true));
}

TEST_F(SysSettingsTest, OtherPaths) {
  ASSERT_EQ(WriteConfig(With(true, true, true, false), "other.data"), 0);
  EXPECT_FALSE(std::filesystem::exists(kConfigFile));
  SysSettings s;
  ASSERT_EQ(ReadConfig(s, "other.data"), 0);
  EXPECT_EQ(s, With(true, true, true, false));
}

}  // namespace
}  // namespace tamrel
