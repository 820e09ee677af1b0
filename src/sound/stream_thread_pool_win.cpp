#include "sound/stream_thread_pool_win.h"

namespace soundboard {

StreamThreadPool::~StreamThreadPool() {
  {
    std::lock_guard lock(mutex_);
    ending_ = true;
  }
  wake_.notify_all();
  for (std::thread& thread : threads_) thread.join();
}

void StreamThreadPool::Run(std::function<void()> job) {
  std::lock_guard lock(mutex_);
  jobs_.push_back(std::move(job));
  // Every waiting job needs a thread of its own: a job can last a whole song.
  if (jobs_.size() > idle_) {
    try {
      threads_.emplace_back(&StreamThreadPool::Work, this);
    } catch (...) {
      jobs_.pop_back();
      throw;
    }
    ++idle_;  // counted as idle until it takes a job, like the others
  } else {
    wake_.notify_one();
  }
}

void StreamThreadPool::Work() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return !jobs_.empty() || ending_; });
    if (jobs_.empty()) return;  // ending, and nothing left to run
    std::function<void()> job = std::move(jobs_.front());
    jobs_.pop_front();
    --idle_;
    lock.unlock();
    job();
    job = nullptr;  // what the job holds goes before the thread counts as idle
    lock.lock();
    ++idle_;
  }
}

}  // namespace soundboard
