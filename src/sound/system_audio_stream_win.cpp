#include "sound/system_audio_stream.h"

#include <windows.h>
#include <avrt.h>
#include <objbase.h>

#include <algorithm>
#include <thread>
#include <vector>

#include "sound/sound_decoder_win.h"
#include "sound/sound_file_win.h"
#include "sound/wasapi_output_win.h"

// One stream per file. Open runs on the caller's thread and only opens the
// file; everything else runs on the stream's thread: mapping the file,
// finding its sound, opening the codec and the device (anew for each file,
// which here sounds sooner than a device kept running), decoding the first
// frames, writing them before the device starts, then feeding it whenever it
// signals room. The thread makes and releases every COM object and codec
// stream it uses; the device's callbacks only set an event.

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

class Event {
 public:
  explicit Event(bool manualReset) : handle_(CreateEventA(nullptr, manualReset, FALSE, nullptr)) {}
  ~Event() {
    if (handle_) CloseHandle(handle_);
  }
  Event(const Event&) = delete;
  Event& operator=(const Event&) = delete;
  HANDLE Get() const { return handle_; }
  bool IsSet() const { return WaitForSingleObject(handle_, 0) == WAIT_OBJECT_0; }

 private:
  HANDLE handle_;
};

// The multithreaded COM apartment, for as long as the stream's thread runs.
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

// Scheduling for audio work while the stream's thread runs.
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
  // Decodes more after what is left.
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

class SystemAudioStream final : public AudioStream {
 public:
  SystemAudioStream(std::unique_ptr<SoundFile> file, EndOfFileCallback onEnd)
      : file_(std::move(file)), onEnd_(std::move(onEnd)) {
    if (!stop_.Get() || !pause_.Get() || !room_.Get()) throw std::bad_alloc();
    thread_ = std::thread([this] { Run(); });
  }

  ~SystemAudioStream() override {
    SetEvent(stop_.Get());
    thread_.join();
  }

  void Pause() override { SetEvent(pause_.Get()); }

 private:
  enum class Outcome { Ended, Failed, Stopped, Paused };
  enum class Wake { Stop, Pause, Room };

  void Run() {
    Outcome outcome = Outcome::Failed;
    try {
      outcome = Play();
    } catch (...) {
      outcome = Outcome::Failed;
    }
    // A stream stopped or paused by its owner does not report an end.
    if ((outcome == Outcome::Ended || outcome == Outcome::Failed) && !stop_.IsSet() &&
        !pause_.IsSet()) {
      onEnd_();
    }
  }

  // Everything the thread makes is released when this returns.
  Outcome Play() {
    AudioThreadPriority priority;
    ComApartment com;
    if (!com.Joined()) return Outcome::Failed;
    SoundFileView view(*file_);
    std::unique_ptr<SoundDecoder> decoder = MakeSoundDecoder(view.Bytes());
    if (!decoder) return Outcome::Failed;
    if (Interrupted()) return Outcome::Stopped;
    std::unique_ptr<WasapiOutput> output = WasapiOutput::Open(decoder->Format(), room_.Get());
    if (!output) return Outcome::Failed;
    return Feed(*decoder, *output);
  }

  Outcome Feed(SoundDecoder& decoder, WasapiOutput& output) {
    const PcmFormat& format = decoder.Format();
    PcmQueue queue(format.BytesPerFrame());
    bool more = queue.Refill(decoder, BytesFor(format, kFirstWriteMs));
    if (queue.Empty()) return Outcome::Ended;
    const int64_t first = output.Write(queue.Data(), queue.Frames());
    if (first <= 0) return Outcome::Failed;
    queue.Consume(size_t(first));
    if (Interrupted()) return Outcome::Stopped;
    if (!output.Start()) return Outcome::Failed;

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
      const Wake wake = Wait(output.PeriodMilliseconds() * 4);
      if (wake == Wake::Stop) return Outcome::Stopped;
      if (wake == Wake::Pause) {
        output.Stop();
        return Outcome::Paused;
      }
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
      const Wake wake = Wait(DWORD(std::min<ULONGLONG>(deadline - now, output.PeriodMilliseconds())));
      if (wake == Wake::Stop) return Outcome::Stopped;
      if (wake == Wake::Pause) {
        output.Stop();
        return Outcome::Paused;
      }
    }
  }

  // The first of: stop, pause, room in the device (or the timeout).
  Wake Wait(DWORD milliseconds) {
    const HANDLE events[] = {stop_.Get(), pause_.Get(), room_.Get()};
    const DWORD woke = WaitForMultipleObjects(3, events, FALSE, milliseconds);
    if (woke == WAIT_OBJECT_0) return Wake::Stop;
    if (woke == WAIT_OBJECT_0 + 1) return Wake::Pause;
    return Wake::Room;
  }

  bool Interrupted() const { return stop_.IsSet() || pause_.IsSet(); }

  std::unique_ptr<SoundFile> file_;
  EndOfFileCallback onEnd_;
  Event stop_{/*manualReset=*/true};   // set once, by the destructor
  Event pause_{/*manualReset=*/true};  // set once or more, by Pause
  Event room_{/*manualReset=*/false};  // set by the device
  std::thread thread_;  // last: it starts once everything above exists
};

class SystemAudioStreamFactory final : public AudioStreamFactory {
 public:
  std::unique_ptr<AudioStream> Open(const std::string& path, EndOfFileCallback onEnd) override {
    std::unique_ptr<SoundFile> file = SoundFile::Open(path);
    if (!file) return nullptr;
    try {
      return std::make_unique<SystemAudioStream>(std::move(file), std::move(onEnd));
    } catch (...) {
      return nullptr;  // no event or thread to be had: as good as unopenable
    }
  }
};

}  // namespace

std::unique_ptr<AudioStreamFactory> MakeSystemAudioStreamFactory() {
  return std::make_unique<SystemAudioStreamFactory>();
}

}  // namespace soundboard
