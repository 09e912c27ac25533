#include "corpus/bulk_file_writer.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace tamrel {

namespace {

// Writes from `data` at `offset` until `size` bytes are written or a write fails; the count written.
size_t WriteSome(int fd, const char* data, size_t size, uint64_t offset, int& error) {
  size_t done = 0;
  while (done < size) {
    const ssize_t n = ::pwrite(fd, data + done, size - done, static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error = n < 0 ? errno : ENOSPC;
      break;
    }
    done += static_cast<size_t>(n);
  }
  return done;
}

void CloseFd(int& fd, bool& ok) {
  if (fd < 0) return;
  if (::close(fd) != 0) ok = false;
  fd = -1;
}

}  // namespace

void BulkFileWriter::Unmap::operator()(char* p) const { ::munmap(p, bytes); }

BulkFileWriter::Chunk BulkFileWriter::MakeChunk() const {
  void* p = ::mmap(nullptr, chunkBytes_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (p == MAP_FAILED) return Chunk(nullptr, Unmap{chunkBytes_});
  return Chunk(static_cast<char*>(p), Unmap{chunkBytes_});
}

BulkFileWriter::BulkFileWriter(std::filesystem::path path, size_t chunkBytes)
    : path_(std::move(path)),
      chunkBytes_((std::max<size_t>(chunkBytes, 1) + kAlignment - 1) / kAlignment * kAlignment) {}

BulkFileWriter::~BulkFileWriter() {
  StopThread();
  bool ignored = true;
  CloseFd(directFd_, ignored);
  CloseFd(bufferedFd_, ignored);
}

Status BulkFileWriter::Open() {
  bufferedFd_ = ::open(path_.c_str(), O_WRONLY | O_CLOEXEC);
  if (bufferedFd_ < 0) return Status::IoError(path_, "cannot be created");
  directFd_ = ::open(path_.c_str(), O_WRONLY | O_DIRECT | O_CLOEXEC);  // -1 where refused
  filling_ = MakeChunk();
  if (filling_ == nullptr) return Status::IoError(path_, "cannot be written: out of memory");
  return Status::Ok();
}

bool BulkFileWriter::Write(const void* data, size_t count) {
  const char* bytes = static_cast<const char*>(data);
  while (count > 0) {
    if (failed_ || filling_ == nullptr) return false;
    const size_t n = std::min(count, chunkBytes_ - filled_);
    std::memcpy(filling_.get() + filled_, bytes, n);
    filled_ += n;
    bytes += n;
    count -= n;
    if (filled_ == chunkBytes_) Submit();
  }
  return !failed_;
}

void BulkFileWriter::Submit() {
  std::unique_lock lock(mutex_);
  if (!thread_.joinable()) thread_ = std::thread(&BulkFileWriter::WriterLoop, this);
  changed_.wait(lock, [&] { return pending_ == nullptr; });
  pending_ = std::move(filling_);
  pendingSize_ = filled_;
  pendingOffset_ = written_;
  written_ += filled_;
  filled_ = 0;
  changed_.notify_all();
  if (spare_ == nullptr && done_ == nullptr) {
    // The second chunk, made at the first hand-over, so that a small file needs only one.
    spare_ = MakeChunk();
    if (spare_ == nullptr) {
      failed_ = true;
      error_ = "cannot be written: out of memory";
      return;
    }
  }
  if (spare_ != nullptr) {
    filling_ = std::move(spare_);
    return;
  }
  changed_.wait(lock, [&] { return done_ != nullptr; });
  filling_ = std::move(done_);
}

void BulkFileWriter::WriterLoop() {
  std::unique_lock lock(mutex_);
  while (true) {
    changed_.wait(lock, [&] { return pending_ != nullptr || stop_; });
    if (pending_ == nullptr) return;
    Chunk chunk = std::move(pending_);
    const size_t size = pendingSize_;
    const uint64_t offset = pendingOffset_;
    const bool skip = failed_;
    changed_.notify_all();
    lock.unlock();
    const bool ok = skip || WriteAt(chunk.get(), size, offset);
    lock.lock();
    if (!ok) failed_ = true;
    done_ = std::move(chunk);
    changed_.notify_all();
  }
}

bool BulkFileWriter::WriteAt(const char* data, size_t size, uint64_t offset) {
  size_t done = 0;
  int error = 0;
  if (directFd_ >= 0 && size % kAlignment == 0 && offset % kAlignment == 0) {
    done = WriteSome(directFd_, data, size, offset, error);
    if (done < size) {
      // Refused after all, or cut short: the rest goes the ordinary way, and so does every later
      // chunk (a real failure, such as a full disk, shows there too).
      bool ignored = true;
      CloseFd(directFd_, ignored);
    }
  }
  if (done < size) done += WriteSome(bufferedFd_, data + done, size - done, offset + done, error);
  if (done == size) return true;
  Fail(std::string("cannot be written: ") + std::strerror(error));
  return false;
}

void BulkFileWriter::Fail(const std::string& reason) {
  if (error_.empty()) error_ = reason;
}

void BulkFileWriter::StopThread() {
  if (!thread_.joinable()) return;
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

Status BulkFileWriter::Finish() {
  StopThread();  // writes the chunk handed over last
  if (!failed_ && filling_ != nullptr && filled_ > 0) {
    const size_t aligned = filled_ / kAlignment * kAlignment;
    bool ok = aligned == 0 || WriteAt(filling_.get(), aligned, written_);
    ok = ok && WriteAt(filling_.get() + aligned, filled_ - aligned, written_ + aligned);
    written_ += filled_;
    filled_ = 0;
    if (!ok) failed_ = true;
  }
  bool closed = true;
  CloseFd(directFd_, closed);
  CloseFd(bufferedFd_, closed);
  if (!closed && !failed_) Fail("cannot be written");
  if (failed_ || !closed) return Status::IoError(path_, error_.empty() ? "cannot be written" : error_);
  return Status::Ok();
}

}  // namespace tamrel
