#include "files/bulk_file_writer.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "files/fault_injection.h"
#include "files/system_error.h"

namespace tamrel {

namespace {

// Writes from `data` at `offset` until `size` bytes are written or a write fails; the count written.
size_t WriteSome(int fd, const std::filesystem::path& path, const char* data, size_t size, uint64_t offset,
                 int& error) {
  if (const int injected = InjectedFileFault(FileOperation::kWrite, path); injected != 0) {
    error = injected;
    return 0;
  }
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

void CloseFd(int& fd, int& error) {
  if (fd < 0) return;
  if (::close(fd) != 0 && error == 0) error = errno;
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
  int ignored = 0;
  CloseFd(directFd_, ignored);
  CloseFd(bufferedFd_, ignored);
}

Status BulkFileWriter::Open() {
  if (const int injected = InjectedFileFault(FileOperation::kOpen, path_); injected != 0) {
    return Status::IoError(path_, WithSystemError("cannot be created", injected));
  }
  bufferedFd_ = ::open(path_.c_str(), O_WRONLY | O_CLOEXEC);
  if (bufferedFd_ < 0) return Status::IoError(path_, WithSystemError("cannot be created", errno));
  directFd_ = ::open(path_.c_str(), O_WRONLY | O_DIRECT | O_CLOEXEC);  // -1 where refused
  filling_ = MakeChunk();
  if (filling_ == nullptr) return Status::IoError(path_, "cannot be written: out of memory");
  chunksMade_ = 1;
  return Status::Ok();
}

bool BulkFileWriter::Write(const void* data, size_t count) {
  const char* bytes = static_cast<const char*>(data);
  while (count > 0) {
    if (failed_ || finished_ || filling_ == nullptr) return false;
    const size_t n = std::min(count, chunkBytes_ - filled_);
    std::memcpy(filling_.get() + filled_, bytes, n);
    filled_ += n;
    bytes += n;
    count -= n;
    if (filled_ == chunkBytes_) Submit();
  }
  return !failed_ && !finished_;
}

void BulkFileWriter::Submit() {
  Chunk next;
  {
    std::unique_lock lock(mutex_);
    if (!thread_.joinable()) thread_ = std::thread(&BulkFileWriter::WriterLoop, this);
    changed_.wait(lock, [&] { return pending_ == nullptr; });
    pending_ = std::move(filling_);
    pendingSize_ = filled_;
    pendingOffset_ = written_;
    changed_.notify_all();
    if (chunksMade_ == 2) {
      changed_.wait(lock, [&] { return done_ != nullptr; });
      next = std::move(done_);
    }
  }
  written_ += filled_;
  filled_ = 0;
  if (next == nullptr) {
    next = MakeChunk();
    ++chunksMade_;
    if (next == nullptr) {
      std::lock_guard lock(mutex_);
      Fail("cannot be written: out of memory");
    }
  }
  filling_ = std::move(next);
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
    const int error = skip ? 0 : WriteAt(chunk.get(), size, offset);
    lock.lock();
    if (error != 0) {
      Fail(WithSystemError("cannot be written", error));
    }
    done_ = std::move(chunk);
    changed_.notify_all();
  }
}

int BulkFileWriter::WriteAt(const char* data, size_t size, uint64_t offset) {
  size_t done = 0;
  int error = 0;
  if (directFd_ >= 0 && size % kAlignment == 0 && offset % kAlignment == 0) {
    done = WriteSome(directFd_, path_, data, size, offset, error);
    if (done < size) {
      // Refused after all, or cut short: the rest goes the ordinary way, and so does every later
      // chunk (a real failure, such as a full disk, shows there too).
      int ignored = 0;
      CloseFd(directFd_, ignored);
    }
  }
  if (done < size) done += WriteSome(bufferedFd_, path_, data + done, size - done, offset + done, error);
  return done == size ? 0 : error;
}

void BulkFileWriter::Fail(const std::string& reason) {
  if (error_.empty()) error_ = reason;
  failed_ = true;
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
  StopThread();  // writes the chunk handed over last; from here on this thread alone runs
  if (!failed_ && !finished_ && filling_ != nullptr && filled_ > 0) {
    const size_t aligned = filled_ / kAlignment * kAlignment;
    int error = WriteAt(filling_.get(), aligned, written_);
    if (error == 0) error = WriteAt(filling_.get() + aligned, filled_ - aligned, written_ + aligned);
    written_ += filled_;
    filled_ = 0;
    if (error != 0) {
      Fail(WithSystemError("cannot be written", error));
    }
  }
  finished_ = true;
  int closeError = 0;
  CloseFd(directFd_, closeError);
  CloseFd(bufferedFd_, closeError);
  if (closeError != 0) Fail(WithSystemError("cannot be written", closeError));
  if (failed_) return Status::IoError(path_, error_.empty() ? "cannot be written" : error_);
  return Status::Ok();
}

}  // namespace tamrel
