#include "sound/stream_thread_win.h"

#include <avrt.h>
#include <objbase.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "sound/sound_decoder_win.h"
#include "sound/wasapi_output_win.h"

namespace soundboard {
namespace {

// Sound decoded before the device starts: little, so that it starts soon.
constexpr uint32_t kFirstWriteMs = 20;
// Sound decoded at a time while the device plays: half of its buffer.
constexpr uint32_t kDecodeChunkMs = 50;
// A device that takes nothing for this long has failed.
constexpr ULONGLONG kStallMs = 2000;

// At least one frame, so that every request decodes something.
size_t BytesFor(const PcmFormat& format, uint32_t milliseconds) {
  return std::max<size_t>(format.BytesPerFrame(), format.BytesPerSecond() * milliseconds / 1000);
}

// The multithreaded COM apartment, for as long as the stream's thread plays.
class ComApartment {
 public:
  ComApartment() : joined_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) {}
  ~ComApartment() {
    if (joined_) CoUninitialize();
  }
  bool Joined() const { return joined_; }

 private:
  bool joined_;
};

// Scheduling for audio work while the stream's thread plays.
class AudioThreadPriority {
 public:
  AudioThreadPriority() : handle_(AvSetMmThreadCharacteristicsA("Pro Audio", &task_)) {}
  ~AudioThreadPriority() {
    if (handle_) AvRevertMmThreadCharacteristics(handle_);
  }

 private:
  DWORD task_ = 0;
  HANDLE handle_;
};

// Decoded PCM waiting for room in the device.
class PcmQueue {
 public:
  explicit PcmQueue(size_t bytesPerFrame) : bytesPerFrame_(bytesPerFrame) {}
  bool Empty() const { return next_ == bytes_.size(); }
  const uint8_t* Data() const { return bytes_.data() + next_; }
  size_t Frames() const { return (bytes_.size() - next_) / bytesPerFrame_; }
  void Consume(size_t frames) { next_ += frames * bytesPerFrame_; }
  // Decodes more after what is left; false once the sound has ended.
  bool Refill(SoundDecoder& decoder, size_t bytes) {
    bytes_.erase(bytes_.begin(), bytes_.begin() + next_);
    next_ = 0;
    return decoder.Decode(bytes, bytes_);
  }

 private:
  size_t bytesPerFrame_;
  std::vector<uint8_t> bytes_;
  size_t next_ = 0;
};

enum class Outcome { Ended, Failed, Released, Paused };

// Takes the device out of the owner's reach when it goes out of scope.
class OwnerLetsGo {
 public:
  explicit OwnerLetsGo(StreamControl& control) : control_(control) {}
  ~OwnerLetsGo() {
    std::lock_guard lock(control_.mutex);
    control_.sounding = nullptr;
  }
  OwnerLetsGo(const OwnerLetsGo&) = delete;
  OwnerLetsGo& operator=(const OwnerLetsGo&) = delete;

 private:
  StreamControl& control_;
};

class StreamThread {
 public:
  explicit StreamThread(StreamControl& control) : control_(control) {}

  // Everything made here is released when this returns.
  Outcome Play(const SoundFile& file) {
    AudioThreadPriority priority;
    ComApartment com;
    if (!com.Joined()) return Outcome::Failed;
    SoundFileView view(file);
    std::unique_ptr<SoundDecoder> decoder = MakeSoundDecoder(view.Bytes());
    if (!decoder) return Outcome::Failed;
    if (control_.wake.IsSet()) return Outcome::Released;
    std::unique_ptr<WasapiOutput> output = WasapiOutput::Open(decoder->Format(), control_.room.Get());
    if (!output) return Outcome::Failed;
    Outcome outcome;
    {
      // The owner lets go of the device however feeding ends, before the
      // device goes.
      const OwnerLetsGo letGo(control_);
      outcome = Feed(*decoder, *output);
    }
    // Released: the owner has stopped the device; what it still holds goes.
    if (outcome == Outcome::Released) output->Reset();
    return outcome;
  }

 private:
  Outcome Feed(SoundDecoder& decoder, WasapiOutput& output) {
    const PcmFormat& format = decoder.Format();
    PcmQueue queue(format.BytesPerFrame());
    bool more = queue.Refill(decoder, BytesFor(format, kFirstWriteMs));
    if (queue.Empty()) return Outcome::Ended;
    const int64_t first = output.Write(queue.Data(), queue.Frames());
    if (first <= 0) return Outcome::Failed;
    queue.Consume(size_t(first));
    {
      // Started only while neither released nor paused, and handed to the
      // owner to stop.
      std::lock_guard lock(control_.mutex);
      if (const std::optional<Outcome> told = Told()) return *told;
      if (!output.Start()) return Outcome::Failed;
      control_.sounding = &output;
    }

    ULONGLONG lastProgress = GetTickCount64();
    for (;;) {
      // Fill the device's room, decoding as needed.
      for (;;) {
        if (queue.Empty()) {
          if (!more) break;
          more = queue.Refill(decoder, BytesFor(format, kDecodeChunkMs));
          continue;
        }
        const int64_t written = output.Write(queue.Data(), queue.Frames());
        if (written < 0) return Outcome::Failed;
        if (written == 0) break;
        queue.Consume(size_t(written));
        lastProgress = GetTickCount64();
      }
      if (!more && queue.Empty()) break;
      if (const std::optional<Outcome> told = Wait(output.PeriodMilliseconds() * 4)) return *told;
      if (GetTickCount64() - lastProgress > kStallMs) return Outcome::Failed;
    }
    return Drain(output, format);
  }

  // Waits until the device has played what it holds, or for as long as that
  // takes should it never say so.
  Outcome Drain(WasapiOutput& output, const PcmFormat& format) {
    const int64_t queued = output.QueuedFrames();
    if (queued <= 0) return Outcome::Ended;
    const ULONGLONG deadline =
        GetTickCount64() + ULONGLONG(queued) * 1000 / format.sampleRate + 2 * output.PeriodMilliseconds();
    for (;;) {
      const int64_t left = output.QueuedFrames();
      const ULONGLONG now = GetTickCount64();
      if (left <= 0 || now >= deadline) return Outcome::Ended;
      const DWORD wait = DWORD(std::min<ULONGLONG>(deadline - now, output.PeriodMilliseconds()));
      if (const std::optional<Outcome> told = Wait(wait)) return *told;
    }
  }

  // Waits for room in the device (or the timeout); the owner's release or
  // pause, if that came instead.
  std::optional<Outcome> Wait(DWORD milliseconds) {
    const HANDLE events[] = {control_.wake.Get(), control_.room.Get()};
    if (WaitForMultipleObjects(2, events, FALSE, milliseconds) != WAIT_OBJECT_0) return std::nullopt;
    std::lock_guard lock(control_.mutex);
    return Told();
  }

  // Holds control_.mutex.
  std::optional<Outcome> Told() const {
    if (control_.released) return Outcome::Released;
    if (control_.paused) return Outcome::Paused;
    return std::nullopt;
  }

  StreamControl& control_;
};

}  // namespace

void RunStream(std::shared_ptr<SoundFile> file, EndOfFileCallback onEnd, StreamControl& control) {
  Outcome outcome = Outcome::Failed;
  try {
    outcome = StreamThread(control).Play(*file);
  } catch (...) {
    outcome = Outcome::Failed;
  }
  file.reset();
  if (outcome == Outcome::Ended || outcome == Outcome::Failed) {
    // Not once the owner has released or paused the stream.
    std::lock_guard lock(control.mutex);
    if (!control.released && !control.paused) onEnd();
  }
}

}  // namespace soundboard
