// The replay workers, handed out in the order the rounds asked for them.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>

namespace server {

// A round that has waited longest gets the next free worker: a semaphore lets a newcomer take a
// worker freed while others wait, and under load some waited until they were told to come back.
class WorkerQueue {
 public:
  explicit WorkerQueue(int workers) : free_(workers) {}

  // Waits at most wait for a worker, in turn; false when none came by then.
  bool Acquire(std::chrono::milliseconds wait) {
    std::unique_lock<std::mutex> lock(mutex_);
    const uint64_t mine = next_++;
    waiting_.push_back(mine);
    const bool got =
        changed_.wait_for(lock, wait, [&] { return free_ > 0 && waiting_.front() == mine; });
    if (got) {
      --free_;
      waiting_.pop_front();
    } else {
      std::erase(waiting_, mine);
    }
    // The next in line may go now (one left or a worker is still free).
    changed_.notify_all();
    return got;
  }

  void Release() {
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      ++free_;
    }
    changed_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  int free_;
  uint64_t next_ = 0;
  std::deque<uint64_t> waiting_;
};

}  // namespace server
