// ReadAhead: runs the reading side of a build step on a thread of its own, a few batches ahead of
// the thread that writes, so that the index build uses both cores of a small machine. Batches
// circulate between the two through BatchChannel, which hands items over in order.
#pragma once

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

namespace tamrel {

template <typename T>
class BatchChannel {
 public:
  void Push(T item) {
    {
      std::lock_guard lock(mutex_);
      items_.push_back(std::move(item));
    }
    ready_.notify_one();
  }
  // Waits for the next item.
  T Pop() {
    std::unique_lock lock(mutex_);
    ready_.wait(lock, [&] { return !items_.empty(); });
    T item = std::move(items_.front());
    items_.pop_front();
    return item;
  }

 private:
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<T> items_;
};

// Calls fill(batch) on a reader thread until it returns false (nothing more to read), and
// consume(batch) on the calling thread for every filled batch, in order, until it returns false
// (the consumer stopped, say on a write error). `inFlight` batches are made and reused; fill
// must leave a batch whole before it returns, and only the two functions may touch a batch.
// With `inFlight` 0 both run on the calling thread, one batch after the other: for small inputs,
// where handing batches over between threads (each a wake-up the scheduler may delay on a busy
// machine) costs more than it saves.
template <typename Batch, typename Fill, typename Consume>
void ReadAhead(size_t inFlight, Fill fill, Consume consume) {
  if (inFlight == 0) {
    auto batch = std::make_unique<Batch>();
    while (fill(*batch) && consume(*batch)) {
    }
    return;
  }
  BatchChannel<std::unique_ptr<Batch>> empty, filled;
  for (size_t i = 0; i < inFlight; ++i) empty.Push(std::make_unique<Batch>());
  std::thread reader([&] {
    for (;;) {
      std::unique_ptr<Batch> batch = empty.Pop();
      if (!batch) return;  // the consumer stopped
      const bool more = fill(*batch);
      filled.Push(more ? std::move(batch) : nullptr);
      if (!more) return;
    }
  });
  for (;;) {
    std::unique_ptr<Batch> batch = filled.Pop();
    if (!batch) break;
    if (!consume(*batch)) {
      empty.Push(nullptr);
      break;
    }
    empty.Push(std::move(batch));
  }
  reader.join();
}

}  // namespace tamrel
