#include "files/text_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/test_support.h"
#include "text/text_utils.h"

namespace tamrel {
namespace {

using test::ReadBytes;
using test::RuntimeFolder;
using test::WriteBytes;

constexpr TextFile::Mode kRead = TextFile::Mode::kRead;
constexpr TextFile::Mode kCreate = TextFile::Mode::kCreate;

// Every line of the file `path`, written with `bytes` and read from the start to the end.
std::vector<std::u16string> Lines(const std::filesystem::path& path, std::string_view bytes) {
  WriteBytes(path, bytes);
  TextFile file;
  EXPECT_TRUE(file.Open(path, kRead));
  std::vector<std::u16string> lines;
  std::u16string line = u"stale";
  while (file.ReadLine(line)) lines.push_back(line);
  EXPECT_EQ(line, u"");
  return lines;
}

using LineList = std::vector<std::u16string>;

TEST(TextFileLinesTest, CarriageReturnAndLineFeed) {
  RuntimeFolder folder;
  const auto linesFile = folder / "lines.txt";
  EXPECT_EQ(Lines(linesFile, "ab\r\ncd"), (LineList{u"ab", u"cd"}));
  EXPECT_EQ(Lines(linesFile, "ab\r\r\n"), (LineList{u"ab\r"}));
  EXPECT_EQ(Lines(linesFile, "a\rb\n"), (LineList{u"a\rb"}));
  EXPECT_EQ(Lines(linesFile, "ab\r"), (LineList{u"ab"}));
  EXPECT_EQ(Lines(linesFile, "\n\nx\n"), (LineList{u"", u"", u"x"}));
  EXPECT_EQ(Lines(linesFile, ""), LineList{});
  EXPECT_EQ(Lines(linesFile, "last"), (LineList{u"last"}));
}

TEST(TextFileLinesTest, NulCutsTheLine) {
  RuntimeFolder folder;
  const auto linesFile = folder / "lines.txt";
  EXPECT_EQ(Lines(linesFile, std::string("a\0b\nc\0\r\n", 8)), (LineList{u"a", u"c"}));
}

TEST(TextFileLinesTest, Utf8ByteOrderMarkStaysAsCharacter) {
  RuntimeFolder folder;
  const auto linesFile = folder / "lines.txt";
  EXPECT_EQ(Lines(linesFile, "\xEF\xBB\xBFx\ny"), (LineList{u"\uFEFFx", u"y"}));
}

TEST(TextFileLinesTest, IllFormedUtf8BecomesReplacementCharacters) {
  RuntimeFolder folder;
  const auto linesFile = folder / "lines.txt";
  EXPECT_EQ(Lines(linesFile,
                  "\xE0\x80\x80\n\xF0\x9F\x98"
                  "A\n\xED\xA0\x80\n\xC0\xAF\n\xE6\x88\x91"),
            (LineList{u"\uFFFD\uFFFD\uFFFD", u"\uFFFDA", u"\uFFFD\uFFFD\uFFFD", u"\uFFFD\uFFFD", u"我"}));
}

TEST(TextFileLinesTest, Utf16LittleEndianDetectedOnRead) {
  RuntimeFolder folder;
  const auto linesFile = folder / "lines.txt";
  // FF FE, "a", CR LF, "我", LF, "b", and an odd last byte.
  const std::string bytes(
      "\xFF\xFE"
      "a\0\r\0\n\0\x11\x62\n\0b\0\x7A",
      15);
  EXPECT_EQ(Lines(linesFile, bytes), (LineList{u"\uFEFFa", u"我", u"b"}));
  TextFile file;
  ASSERT_TRUE(file.Open(linesFile, kRead));
  EXPECT_TRUE(file.IsUtf16());
  EXPECT_EQ(file.GetPosition(), 0);
  EXPECT_EQ(Lines(linesFile, std::string("\xFF\xFE", 2)), (LineList{u"\uFEFF"}));
  EXPECT_EQ(Lines(linesFile, std::string("\xFF\xFE"
                                         "x",
                                         3)),
            (LineList{u"\uFEFF"}));
  EXPECT_EQ(Lines(linesFile, std::string("\xFF", 1)), (LineList{u"\uFFFD"}));  // too short to be UTF-16
  EXPECT_EQ(Lines(linesFile, std::string("\xFF\xFDx\0", 4)), (LineList{u"\uFFFD\uFFFDx"}));
  EXPECT_EQ(Lines(linesFile, std::string("\xFE\xFF\0a", 4)), (LineList{u"\uFFFD\uFFFD"}));  // no big-endian detection
}

TEST(TextFileLinesTest, LineBytesAreWhatReadLineConverts) {
  RuntimeFolder folder;
  const auto linesFile = folder / "lines.txt";
  const std::string bytes = std::string("ab\r\ncd\r\r\n\xE6\x88\r\nx\0y\r\n\na\r\0\n\xE6\x88\x91", 26);
  const LineList lines = Lines(linesFile, bytes);
  TextFile file;
  ASSERT_TRUE(file.Open(linesFile, kRead));
  LineList converted;
  std::string line = "stale";
  while (file.ReadLineBytes(line)) converted.push_back(Utf8ToUtf16(line));
  EXPECT_EQ(line, "");
  EXPECT_EQ(converted, lines);
  EXPECT_EQ(lines, (LineList{u"ab", u"cd\r", u"\uFFFD", u"x", u"", u"a\r", u"我"}));
}

TEST(TextFileLinesTest, LinesLongerThanTheReadBlock) {
  RuntimeFolder folder;
  const auto linesFile = folder / "lines.txt";
  // Three-byte characters so that block boundaries fall inside sequences.
  std::string longLine;
  std::u16string expected;
  for (int i = 0; i < 100001; ++i) {
    longLine += "\xE6\x88\x91";
    expected += u'我';
  }
  EXPECT_EQ(Lines(linesFile, longLine + "\r\nz\n" + longLine), (LineList{expected, u"z", expected}));

  std::string wide("\xFF\xFE", 2);
  for (int i = 0; i < 150000; ++i) wide += std::string("\x11\x62", 2);
  wide += std::string("\n\0q\0", 4);
  const LineList lines = Lines(linesFile, wide);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], u"\uFEFF" + std::u16string(150000, u'我'));
  EXPECT_EQ(lines[1], u"q");
}

TEST(TextFileWriteTest, ByteOrderMarkOnlyAtPositionZero) {
  RuntimeFolder folder;
  {
    TextFile file;
    ASSERT_TRUE(file.Open(folder / "w.txt", kCreate));
    EXPECT_TRUE(file.WriteText(u"x\n"));
    EXPECT_TRUE(file.WriteText(u"我\n"));
    EXPECT_TRUE(file.Close());
  }
  EXPECT_EQ(ReadBytes(folder / "w.txt"), "\xEF\xBB\xBFx\n\xE6\x88\x91\n");
  {
    TextFile file;
    ASSERT_TRUE(file.Open(folder / "w.txt", TextFile::Mode::kCreateUtf16));
    EXPECT_TRUE(file.WriteText(u"x"));
    EXPECT_TRUE(file.WriteText(u"\r\n"));
  }
  EXPECT_EQ(ReadBytes(folder / "w.txt"), std::string("\xFF\xFEx\0\r\0\n\0", 8));
  {
    TextFile file;
    ASSERT_TRUE(file.Open(folder / "w.txt", kCreate));
    EXPECT_TRUE(file.WriteText(u""));
  }
  EXPECT_EQ(ReadBytes(folder / "w.txt"), "\xEF\xBB\xBF");
}

TEST(TextFileWriteTest, UnpairedSurrogateWrittenAsReplacement) {
  RuntimeFolder folder;
  {
    TextFile file;
    ASSERT_TRUE(file.Open(folder / "w.txt", kCreate));
    EXPECT_TRUE(file.WriteText(std::u16string{u'a', char16_t(0xDC01), u'b', char16_t(0xD800)}));
  }
  EXPECT_EQ(ReadBytes(folder / "w.txt"),
            "\xEF\xBB\xBF"
            "a\xEF\xBF\xBD"
            "b\xEF\xBF\xBD");
}

TEST(TextFileWriteTest, FailuresReported) {
  RuntimeFolder folder;
  TextFile file;
  EXPECT_FALSE(file.Open(folder / "missing/w.txt", kCreate));
  EXPECT_FALSE(file.Open(folder / "absent.txt", kRead));
  // A folder is not a file, for reading nor for writing.
  EXPECT_FALSE(file.Open(folder / "data", kRead));
  EXPECT_FALSE(file.Open(folder / "data", kCreate));
  EXPECT_FALSE(file.WriteText(u"x"));
  std::u16string line = u"x";
  EXPECT_FALSE(file.ReadLine(line));
  EXPECT_EQ(line, u"");
  WriteBytes(folder / "r.txt", "abc");
  ASSERT_TRUE(file.Open(folder / "r.txt", kRead));
  EXPECT_FALSE(file.WriteText(u"x"));
}

TEST(TextFileBytesTest, ReadAfterReadLineAgree) {
  RuntimeFolder folder;
  WriteBytes(folder / "b.bin", "ab\ncd\nef\ngh");
  TextFile file;
  ASSERT_TRUE(file.Open(folder / "b.bin", kRead));
  EXPECT_EQ(file.GetLength(), 11);
  EXPECT_EQ(file.GetPosition(), 0);
  std::u16string line;
  ASSERT_TRUE(file.ReadLine(line));
  EXPECT_EQ(line, u"ab");
  EXPECT_EQ(file.GetPosition(), 3);  // the line and its LF, though more is buffered
  char two[2];
  ASSERT_EQ(file.Read(two, 2), 2u);
  EXPECT_EQ(std::string(two, 2), "cd");
  EXPECT_EQ(file.GetPosition(), 5);
  ASSERT_TRUE(file.ReadLine(line));
  EXPECT_EQ(line, u"");
  EXPECT_EQ(file.GetPosition(), 6);
  // Asking the length keeps the place: reading goes on where it was.
  EXPECT_EQ(file.GetLength(), 11);
  EXPECT_EQ(file.GetPosition(), 6);
  ASSERT_TRUE(file.ReadLine(line));
  EXPECT_EQ(line, u"ef");
  EXPECT_EQ(file.GetPosition(), 9);
  char rest[16];
  ASSERT_EQ(file.Read(rest, sizeof rest), 2u);
  EXPECT_EQ(std::string(rest, 2), "gh");
  EXPECT_EQ(file.GetPosition(), 11);
  EXPECT_EQ(file.Read(two, 2), 0u);
  EXPECT_FALSE(file.ReadLine(line));
}

TEST(TextFileBytesTest, LengthBeyondFourGigabytes) {
  RuntimeFolder folder;
  const int64_t size = (int64_t{5} << 30) + 7;
  {
    TextFile file;
    ASSERT_TRUE(file.Open(folder / "big.bin", kCreate));
    ASSERT_TRUE(file.Write("Z!\nab", 5));
    EXPECT_EQ(file.GetPosition(), 5);
    ASSERT_TRUE(file.Close());
  }
  std::filesystem::resize_file(folder / "big.bin", static_cast<uintmax_t>(size));  // sparse: no disk used
  TextFile file;
  ASSERT_TRUE(file.Open(folder / "big.bin", kRead));
  EXPECT_EQ(file.GetLength(), size);
  std::u16string line;
  ASSERT_TRUE(file.ReadLine(line));
  EXPECT_EQ(line, u"Z!");
  EXPECT_EQ(file.GetPosition(), 3);
  EXPECT_EQ(file.GetLength(), size);
  char b[2];
  ASSERT_EQ(file.Read(b, 2), 2u);
  EXPECT_EQ(std::string(b, 2), "ab");
  EXPECT_EQ(file.GetPosition(), 5);
}

}  // namespace
}  // namespace tamrel
