#pragma once
// The threads that streams run on, kept when a stream ends and reused for the
// next one: under Wine a new thread costs a few tenths of a millisecond (and
// now and then several), all of it inside Play.

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace soundboard {

class StreamThreadPool {
 public:
  StreamThreadPool() = default;
  // Waits until every job has ended.
  ~StreamThreadPool();
  StreamThreadPool(const StreamThreadPool&) = delete;
  StreamThreadPool& operator=(const StreamThreadPool&) = delete;

  // Runs job on an idle thread, or on a new one when none is idle. Throws
  // std::system_error when no thread can be started.
  void Run(std::function<void()> job);

 private:
  void Work();

  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::function<void()>> jobs_;
  size_t idle_ = 0;
  bool ending_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace soundboard
