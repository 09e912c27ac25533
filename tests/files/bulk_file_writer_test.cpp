// The bulk writer: whatever the sizes of the writes and of the chunks, the file holds exactly the
// bytes written, in order, with the tail that does not fill an aligned block included; a write that
// fails is reported with the file and the reason, never as success.
#include "files/bulk_file_writer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/test_support.h"

namespace tamrel {
namespace {

using test::ReadBytes;
using test::RuntimeFolder;
using test::WriteBytes;

// Bytes that differ from one position to the next, so that a chunk written twice, in the wrong
// place or not at all shows.
std::string Pattern(size_t size) {
  std::string bytes(size, '\0');
  uint32_t x = 12345;
  for (char& c : bytes) {
    x = x * 1103515245 + 12345;
    c = static_cast<char>(x >> 16);
  }
  return bytes;
}

// Writes `bytes` in pieces of the sizes given, again and again, through a writer of 4096-byte
// chunks (the smallest), and returns what the file then holds.
std::string WriteInPieces(const std::string& bytes, const std::vector<size_t>& pieces) {
  RuntimeFolder folder;
  const std::filesystem::path path = folder / "data/index21.datBI.new";
  WriteBytes(path, "");
  BulkFileWriter writer(path, 4096);
  EXPECT_TRUE(writer.Open().ok());
  size_t at = 0;
  for (size_t p = 0; at < bytes.size(); ++p) {
    const size_t n = std::min(pieces[p % pieces.size()], bytes.size() - at);
    EXPECT_TRUE(writer.Write(bytes.data() + at, n));
    at += n;
  }
  const Status finished = writer.Finish();
  EXPECT_TRUE(finished.ok()) << finished.ToString();
  return ReadBytes(path);
}

TEST(BulkFileWriterTest, TheFileHoldsTheBytesWrittenWhateverTheirPieces) {
  for (size_t size : {size_t{0}, size_t{1}, size_t{4095}, size_t{4096}, size_t{4097}, size_t{3 * 4096}, size_t{50'000},
                      size_t{300'001}}) {
    const std::string bytes = Pattern(size);
    for (const std::vector<size_t>& pieces :
         std::vector<std::vector<size_t>>{{1}, {7, 4096, 3}, {4095, 4097}, {100'000}, {size + 1}}) {
      if (pieces == std::vector<size_t>{1} && size > 50'000) continue;  // a byte at a time is slow
      EXPECT_EQ(WriteInPieces(bytes, pieces), bytes) << size << " bytes in pieces of " << pieces[0] << "...";
    }
  }
}

TEST(BulkFileWriterTest, ADefaultChunkFileOfSeveralChunksAndATail) {
  const std::string bytes = Pattern(2 * BulkFileWriter::kDefaultChunk + 12'345);
  RuntimeFolder folder;
  const std::filesystem::path path = folder / "postings";
  WriteBytes(path, "");
  BulkFileWriter writer(path);
  ASSERT_TRUE(writer.Open().ok());
  for (size_t at = 0; at < bytes.size(); at += 65'536) {
    ASSERT_TRUE(writer.Write(bytes.data() + at, std::min<size_t>(65'536, bytes.size() - at)));
  }
  ASSERT_TRUE(writer.Finish().ok());
  EXPECT_EQ(ReadBytes(path), bytes);
  // Writes after Finish are refused, however many chunks they would fill, and change nothing.
  EXPECT_FALSE(writer.Write(bytes.data(), bytes.size()));
  EXPECT_FALSE(writer.Write(bytes.data(), bytes.size()));
  EXPECT_EQ(ReadBytes(path), bytes);
}

// A full disk: the writes that fail, direct or not, make Write false and Finish an I/O error that
// names the file and says why.
TEST(BulkFileWriterTest, AFullDiskIsAFailureNamingTheFile) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  const std::string bytes = Pattern(5 * 4096);
  BulkFileWriter writer("/dev/full", 4096);
  ASSERT_TRUE(writer.Open().ok());
  bool accepted = true;
  for (int i = 0; i < 4 && accepted; ++i) accepted = writer.Write(bytes.data(), bytes.size());
  const Status finished = writer.Finish();
  EXPECT_FALSE(accepted);
  ASSERT_FALSE(finished.ok());
  EXPECT_EQ(finished.kind(), Status::Kind::kIoError);
  EXPECT_EQ(finished.file(), "/dev/full");
  EXPECT_NE(finished.reason().find("cannot be written"), std::string::npos) << finished.reason();

  // Even a file shorter than a block fails when its tail cannot be written.
  BulkFileWriter small("/dev/full", 4096);
  ASSERT_TRUE(small.Open().ok());
  EXPECT_TRUE(small.Write("abc", 3));
  EXPECT_FALSE(small.Finish().ok());
}

TEST(BulkFileWriterTest, AFileThatCannotBeOpenedIsRefusedAtOpen) {
  RuntimeFolder folder;
  BulkFileWriter writer(folder / "no-such-folder/postings");
  const Status opened = writer.Open();
  ASSERT_FALSE(opened.ok());
  EXPECT_EQ(opened.file(), folder / "no-such-folder/postings");
  EXPECT_FALSE(writer.Write("x", 1));
}

// A writer given up before Finish (a build that failed elsewhere) ends its thread and leaves.
TEST(BulkFileWriterTest, AWriterLeftUnfinishedEndsCleanly) {
  RuntimeFolder folder;
  const std::filesystem::path path = folder / "records";
  WriteBytes(path, "");
  const std::string bytes = Pattern(10 * 4096);
  {
    BulkFileWriter writer(path, 4096);
    ASSERT_TRUE(writer.Open().ok());
    ASSERT_TRUE(writer.Write(bytes.data(), bytes.size()));
  }
  EXPECT_LE(ReadBytes(path).size(), bytes.size());
}

}  // namespace
}  // namespace tamrel
