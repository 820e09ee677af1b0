#pragma once
// What a stream object and its thread share. The thread may outlive the
// object: the owner stops the device and goes on while the thread releases
// the device, the codec and the file (under Wine, releasing an audio client
// alone takes 10 to 15 ms).

#include <windows.h>

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

class WasapiOutput;

struct StreamControl {
  bool Usable() const { return wake.Get() && room.Get(); }

  Event wake{/*manualReset=*/true};   // the owner has released or paused the stream
  Event room{/*manualReset=*/false};  // the device can take more

  // Held while the device starts, while the owner stops it and while the end
  // is reported, so that none of these cross.
  std::mutex mutex;
  bool released = false;
  bool paused = false;
  // The device from its start until the thread lets go of it: the owner stops
  // it directly, which silences it at once, without waiting for the thread.
  WasapiOutput* sounding = nullptr;
};

}  // namespace soundboard
