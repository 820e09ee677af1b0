#pragma once
// Shared-mode output on the system's default render device, event-driven:
// the device signals an event whenever it has room, and its owner writes.
// Every call, the constructor's and the destructor's included, is made on the
// one thread that opened it, which is in the multithreaded COM apartment;
// only Stop may come from another thread as well (the audio client is
// free-threaded), so that a pause or a release silences it at once.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "sound/sound_decoder_win.h"

namespace soundboard {

class WasapiOutput {
 public:
  // Opens the default render device for format; the device sets roomEvent (a
  // Windows event HANDLE) whenever it can take more. nullptr when there is no
  // device or it refuses the format.
  static std::unique_ptr<WasapiOutput> Open(const PcmFormat& format, void* roomEvent);

  // Stops the device, drops what it still holds and releases it.
  ~WasapiOutput();
  WasapiOutput(const WasapiOutput&) = delete;
  WasapiOutput& operator=(const WasapiOutput&) = delete;

  uint32_t PeriodMilliseconds() const { return periodMs_; }

  // Frames written and not yet played; -1 when the device has failed.
  int64_t QueuedFrames();

  // Writes up to frames frames of pcm, as many as the device has room for.
  // Returns the frames written, or -1 when the device failed.
  int64_t Write(const uint8_t* pcm, size_t frames);

  bool Start();
  void Stop();
  // Drops what a stopped device still holds.
  void Reset();

 private:
  struct Interfaces;
  WasapiOutput(std::unique_ptr<Interfaces> com, uint32_t bytesPerFrame, uint32_t bufferFrames,
               uint32_t periodMs);

  std::unique_ptr<Interfaces> com_;
  uint32_t bytesPerFrame_;
  uint32_t bufferFrames_;
  uint32_t periodMs_;
};

}  // namespace soundboard
