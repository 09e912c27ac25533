// Every reader opens its files through OpenRegularFile: a FIFO, a device or a folder in place of a
// file is refused at once, with a status that names the file, and never blocks the reader.
#include "files/regular_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "files/mapped_file.h"
#include "files/text_file.h"
#include "tests/support/test_support.h"

namespace tamrel {
namespace {

using test::MakeFifo;
using test::ReadBytes;
using test::ReturnsWithin;
using test::RuntimeFolder;
using test::WriteBytes;

constexpr double kDeadline = 5;  // seconds; a refusal takes microseconds

void ExpectNotRegular(const Status& status, const std::filesystem::path& path, const std::string& reason) {
  EXPECT_EQ(status.kind(), Status::Kind::kIoError) << status.ToString();
  EXPECT_EQ(status.file(), path);
  EXPECT_EQ(status.reason(), reason);
}

TEST(OpenRegularFileTest, ARegularFileOpensAndBlocksAsUsual) {
  RuntimeFolder folder;
  WriteBytes(folder / "r.txt", "abc");
  Status status = Status::IoError("x", "stale");
  const int fd = OpenRegularFile(folder / "r.txt", O_RDONLY, status);
  ASSERT_GE(fd, 0) << status.ToString();
  EXPECT_TRUE(status.ok());
  EXPECT_EQ(fcntl(fd, F_GETFL) & O_NONBLOCK, 0);
  EXPECT_NE(fcntl(fd, F_GETFD) & FD_CLOEXEC, 0);
  char bytes[4] = {};
  EXPECT_EQ(read(fd, bytes, 4), 3);
  close(fd);
}

TEST(OpenRegularFileTest, WhatIsNotARegularFileIsRefusedWithoutBlocking) {
  RuntimeFolder folder;
  const auto fifo = folder / "fifo";
  MakeFifo(fifo);
  EXPECT_TRUE(ReturnsWithin(kDeadline, {fifo}, [&] {
    Status status;
    EXPECT_EQ(OpenRegularFile(fifo, O_RDONLY, status), -1);
    ExpectNotRegular(status, fifo, "is a FIFO, not a regular file");
    // To write, a FIFO without a reader refuses the open itself.
    EXPECT_EQ(OpenRegularFile(fifo, O_WRONLY | O_CREAT | O_TRUNC, status), -1);
    ExpectNotRegular(status, fifo, "is not a regular file");
  }));
  Status status;
  EXPECT_EQ(OpenRegularFile(folder / "data", O_RDONLY, status), -1);
  ExpectNotRegular(status, folder / "data", "is a folder, not a regular file");
  EXPECT_EQ(OpenRegularFile("/dev/null", O_RDONLY, status), -1);
  ExpectNotRegular(status, "/dev/null", "is a device, not a regular file");
  EXPECT_EQ(OpenRegularFile(folder / "absent", O_RDONLY, status), -1);
  EXPECT_EQ(status.kind(), Status::Kind::kNotFound);
  EXPECT_EQ(status.reason(), "cannot be opened");
}

// O_TRUNC empties a regular file only: a FIFO with a reader is refused, not truncated or written.
TEST(OpenRegularFileTest, TruncationWaitsForTheCheck) {
  RuntimeFolder folder;
  WriteBytes(folder / "w.txt", "old");
  Status status;
  const int fd = OpenRegularFile(folder / "w.txt", O_WRONLY | O_CREAT | O_TRUNC, status);
  ASSERT_GE(fd, 0) << status.ToString();
  close(fd);
  EXPECT_EQ(ReadBytes(folder / "w.txt"), "");
  const auto fifo = folder / "fifo";
  MakeFifo(fifo);
  const int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  EXPECT_EQ(OpenRegularFile(fifo, O_WRONLY | O_CREAT | O_TRUNC, status), -1);
  ExpectNotRegular(status, fifo, "is a FIFO, not a regular file");
  close(reader);
}

TEST(TextFileNotRegularTest, AFifoIsRefusedForReadingAndWriting) {
  RuntimeFolder folder;
  const auto fifo = folder / "fifo";
  MakeFifo(fifo);
  EXPECT_TRUE(ReturnsWithin(kDeadline, {fifo}, [&] {
    TextFile file;
    ExpectNotRegular(file.OpenChecked(fifo, TextFile::Mode::kRead), fifo, "is a FIFO, not a regular file");
    EXPECT_FALSE(file.IsOpen());
    EXPECT_FALSE(file.Open(fifo, TextFile::Mode::kRead));
    EXPECT_FALSE(file.Open(fifo, TextFile::Mode::kCreate));
  }));
  TextFile file;
  ExpectNotRegular(file.OpenChecked("/dev/zero", TextFile::Mode::kRead), "/dev/zero",
                   "is a device, not a regular file");
  ExpectNotRegular(file.OpenChecked(folder / "data", TextFile::Mode::kRead), folder / "data",
                   "is a folder, not a regular file");
  EXPECT_EQ(file.OpenChecked(folder / "absent", TextFile::Mode::kRead).kind(), Status::Kind::kNotFound);
}

TEST(TextFileNotRegularTest, RegularFilesStillReadAndWrite) {
  RuntimeFolder folder;
  TextFile file;
  ASSERT_TRUE(file.OpenChecked(folder / "w.txt", TextFile::Mode::kCreate).ok());
  EXPECT_TRUE(file.WriteText(u"ab\n"));
  EXPECT_TRUE(file.Close());
  ASSERT_TRUE(file.OpenChecked(folder / "w.txt", TextFile::Mode::kRead).ok());
  std::u16string line;
  ASSERT_TRUE(file.ReadLine(line));
  EXPECT_EQ(line, u"\uFEFFab");
  ASSERT_TRUE(file.OpenChecked(folder / "w.txt", TextFile::Mode::kCreate).ok());  // emptied
  EXPECT_TRUE(file.Close());
  EXPECT_EQ(ReadBytes(folder / "w.txt"), "");
}

TEST(MappedFileNotRegularTest, AFifoIsRefusedWithoutBlocking) {
  RuntimeFolder folder;
  const auto fifo = folder / "fifo";
  MakeFifo(fifo);
  EXPECT_TRUE(ReturnsWithin(kDeadline, {fifo}, [&] {
    MappedFile file;
    ExpectNotRegular(file.OpenChecked(fifo), fifo, "is a FIFO, not a regular file");
    EXPECT_FALSE(file.IsOpen());
    EXPECT_FALSE(file.Open(fifo));
  }));
  MappedFile file;
  ExpectNotRegular(file.OpenChecked("/dev/zero"), "/dev/zero", "is a device, not a regular file");
  EXPECT_EQ(file.OpenChecked(folder / "absent").kind(), Status::Kind::kNotFound);
  WriteBytes(folder / "m.bin", "xyz");
  ASSERT_TRUE(file.OpenChecked(folder / "m.bin").ok());
  EXPECT_EQ(file.bytes(), "xyz");
}

}  // namespace
}  // namespace tamrel
