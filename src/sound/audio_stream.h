#pragma once
// The Player's view of one file being played: opened, decoded and fed to the
// output device on threads of the stream's own. The Player never sees a
// decoder or a device; tests give it a fake stream.

#include <functional>
#include <memory>
#include <string>

namespace soundboard {

// Called exactly once per opened stream, from one of its threads, when the
// device has played the file's last sample or the stream has failed (no
// audio found, no device, a decoding error part-way). It only queues an event:
// it must not block, and must not call back into the stream.
using EndOfFileCallback = std::function<void()>;

class AudioStream {
 public:
  // Release: when the destructor returns the device is silent (queued sound
  // is dropped at once) and the end-of-file callback will never be called.
  // Closing the device, the decoder and the file may finish on the stream's
  // thread shortly afterwards; the factory waits for that before it ends.
  virtual ~AudioStream() = default;

  // Stops feeding and pauses the output device at once. There is no resume;
  // a second call does nothing. The end-of-file callback is not called
  // because of a pause.
  virtual void Pause() = 0;
};

class AudioStreamFactory {
 public:
  virtual ~AudioStreamFactory() = default;

  // Opens the file at path (bytes in the ANSI code page, handed to the file
  // system as they are) and starts the stream's threads, which find the
  // audio, open the default output device, decode and play. Returns at once.
  // Returns nullptr when the file cannot be opened; onEnd is then never called.
  virtual std::unique_ptr<AudioStream> Open(const std::string& path,
                                            EndOfFileCallback onEnd) = 0;
};

}  // namespace soundboard
