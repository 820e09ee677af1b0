#pragma once
// A counting semaphore: a count guarded by a mutex, and a condition variable
// that a taker waits on until the count is above zero.
//
// Why not std::counting_semaphore: the Windows build's libstdc++ (mingw-w64
// gcc 12, posix threads) implements it by atomic waiting over a pool of
// condition variables, as Windows has no futex, and that implementation can
// miss a wake-up: a thread acquiring while another releases, one at a time,
// hangs for good within a few hundred rounds (seen under Wine). A worker that
// missed its EndWorker would hang every release and the program with it. This
// class has the same interface, so it can give way to the standard one once
// the toolchain is fixed.

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>

namespace soundboard {

class CountingSemaphore {
 public:
  explicit CountingSemaphore(ptrdiff_t count) : count(count) {}

  CountingSemaphore(const CountingSemaphore&) = delete;
  CountingSemaphore& operator=(const CountingSemaphore&) = delete;

  void release() {
    {
      std::lock_guard lock(mutex);
      ++count;
    }
    positive.notify_one();
  }

  void acquire() {
    std::unique_lock lock(mutex);
    positive.wait(lock, [this] { return count > 0; });
    --count;
  }

  // False when the count stayed at zero until deadline.
  bool try_acquire_until(std::chrono::steady_clock::time_point deadline) {
    std::unique_lock lock(mutex);
    if (!positive.wait_until(lock, deadline, [this] { return count > 0; })) return false;
    --count;
    return true;
  }

 private:
  std::mutex mutex;
  std::condition_variable positive;
  ptrdiff_t count;
};

}  // namespace soundboard
