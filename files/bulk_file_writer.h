// BulkFileWriter: writes a large file that is made in one pass from start to end (the posting
// and sentence record files of an index build) in big chunks straight to the disk, past the page
// cache, on a thread of its own. The thread that makes the bytes only copies them into a chunk,
// instead of the kernel copying every byte into the page cache and the disk writing them back
// later, and the build's own memory and the page cache of everything else are left alone.
//
// Direct writes need chunks aligned in memory and on disk; the tail of the file that does not
// fill an aligned block is written the ordinary way. Where the file system refuses direct writes
// (tmpfs, some network file systems), every chunk is written the ordinary way on the same thread.
// Either way the file's bytes are exactly those passed to Write, in order.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "files/status.h"

namespace tamrel {

class BulkFileWriter {
 public:
  static constexpr size_t kAlignment = 4096;                // of memory, file offsets and sizes
  static constexpr size_t kDefaultChunk = size_t{8} << 20;  // a multiple of kAlignment

  // Writes to `path`, a file that exists and is empty (a staged file just created). `chunkBytes`
  // is rounded up to a multiple of kAlignment.
  explicit BulkFileWriter(std::filesystem::path path, size_t chunkBytes = kDefaultChunk);
  // Waits for a chunk still being written; what was not passed to Finish is lost.
  ~BulkFileWriter();
  BulkFileWriter(const BulkFileWriter&) = delete;
  BulkFileWriter& operator=(const BulkFileWriter&) = delete;

  // Opens the file for writing. Must come first.
  [[nodiscard]] Status Open();
  // Appends `count` bytes; false once a write has failed (Finish then says why), and after Finish.
  bool Write(const void* data, size_t count);
  // Writes what is left and waits until every chunk is written. The file still needs a sync to
  // be durable (StagedFile::Keep).
  [[nodiscard]] Status Finish();

 private:
  // Chunks are mapped pages of their own rather than heap blocks: page-aligned as direct writes
  // need, and given back whole, so that they never pin other memory of the heap.
  struct Unmap {
    size_t bytes;
    void operator()(char* p) const;
  };
  using Chunk = std::unique_ptr<char, Unmap>;
  Chunk MakeChunk() const;

  // Hands the filled chunk to the writing thread and takes the other one, once it is written (a
  // second chunk is made at the first hand-over).
  void Submit();
  void WriterLoop();
  // Writes `size` bytes at `offset`, directly when it can; 0, or the errno of the write that failed.
  int WriteAt(const char* data, size_t size, uint64_t offset);
  // Notes that the writer failed, and why unless a failure was noted before; under mutex_ while
  // the thread runs.
  void Fail(const std::string& reason);
  void StopThread();

  std::filesystem::path path_;
  size_t chunkBytes_;
  int directFd_ = -1;    // opened with O_DIRECT; -1 when direct writes are refused
  int bufferedFd_ = -1;  // for the tail, and for every chunk after a fallback
  Chunk filling_;
  int chunksMade_ = 0;    // 1 or 2
  size_t filled_ = 0;     // bytes in filling_
  uint64_t written_ = 0;  // file offset where filling_ goes
  bool finished_ = false;

  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable changed_;
  Chunk pending_;  // handed to the thread and not yet written (guarded by mutex_)
  size_t pendingSize_ = 0;
  uint64_t pendingOffset_ = 0;
  Chunk done_;  // written by the thread, ready to be filled again (guarded by mutex_)
  bool stop_ = false;
  std::atomic<bool> failed_{false};
  std::string error_;  // why the first failure failed (guarded by mutex_)
};

}  // namespace tamrel
