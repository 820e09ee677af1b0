#pragma once
// What a stream object and its thread share. The thread may outlive the
// object: once the device is silent, the object's owner goes on while the
// thread releases the device, the codec and the file (under Wine, releasing an
// audio client alone takes 10 to 15 ms).

#include <windows.h>

#include <condition_variable>
#include <mutex>

namespace soundboard {

class Event {
 public:
  explicit Event(bool manualReset) : handle_(CreateEventA(nullptr, manualReset, FALSE, nullptr)) {}
  ~Event() {
    if (handle_) CloseHandle(handle_);
  }
  Event(const Event&) = delete;
  Event& operator=(const Event&) = delete;

  HANDLE Get() const { return handle_; }
  void Set() const { SetEvent(handle_); }
  bool IsSet() const { return WaitForSingleObject(handle_, 0) == WAIT_OBJECT_0; }

 private:
  HANDLE handle_;
};

struct StreamControl {
  bool Usable() const { return stop.Get() && pause.Get() && room.Get() && silent.Get(); }

  Event stop{/*manualReset=*/true};    // the owner has released the stream
  Event pause{/*manualReset=*/true};   // the owner has paused it
  Event room{/*manualReset=*/false};   // the device can take more
  Event silent{/*manualReset=*/true};  // the device is stopped and empty, or the thread has ended

  // Held while the device starts and while the end is reported, so that the
  // owner's release and pause never cross either.
  std::mutex mutex;
  bool released = false;
  bool paused = false;
  bool started = false;  // the device has been started
};

// The streams' threads that are still running; whoever made them waits for
// none to be left before it goes.
class ThreadTally {
 public:
  void Add() {
    std::lock_guard lock(mutex_);
    ++running_;
  }
  void Done() {
    std::lock_guard lock(mutex_);
    if (--running_ == 0) none_.notify_all();
  }
  void WaitForNone() {
    std::unique_lock lock(mutex_);
    none_.wait(lock, [this] { return running_ == 0; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable none_;
  int running_ = 0;
};

}  // namespace soundboard
