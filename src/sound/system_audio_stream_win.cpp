#include "sound/system_audio_stream.h"

#include <memory>

#include "sound/sound_file_win.h"
#include "sound/stream_control_win.h"
#include "sound/stream_thread_pool_win.h"
#include "sound/stream_thread_win.h"
#include "sound/wasapi_output_win.h"

// One stream per file. Open runs on the caller's thread and only opens the
// file; the rest runs on the stream's thread (see stream_thread_win.h). The
// device is opened anew for each file: started with its first sound already
// written, it sounds sooner than a device kept running, whose queued silence
// would play first. Releasing a stream stops its device and returns: the
// thread releases the device afterwards, which under Wine takes longer than
// the rest of a Play together; the factory waits for that at its end.

namespace soundboard {
namespace {

class SystemAudioStream final : public AudioStream {
 public:
  SystemAudioStream(std::unique_ptr<SoundFile> file, EndOfFileCallback onEnd, StreamThreadPool& threads)
      : control_(std::make_shared<StreamControl>()) {
    if (!control_->Usable()) throw std::bad_alloc();
    // std::function wants a copyable job: the file travels in a shared_ptr.
    std::shared_ptr<SoundFile> shared(std::move(file));
    threads.Run([file = std::move(shared), onEnd = std::move(onEnd), control = control_]() mutable {
      RunStream(std::move(file), std::move(onEnd), *control);
    });
  }

  // The device is silent when this returns, and the end is never reported
  // after it.
  ~SystemAudioStream() override { Tell(&StreamControl::released); }

  void Pause() override { Tell(&StreamControl::paused); }

 private:
  // Sets the flag, stops a sounding device at once and wakes the thread,
  // which stops feeding.
  void Tell(bool StreamControl::*flag) {
    {
      std::lock_guard lock(control_->mutex);
      control_.get()->*flag = true;
      if (control_->sounding) control_->sounding->Stop();
    }
    control_->wake.Set();
  }

  std::shared_ptr<StreamControl> control_;
};

class SystemAudioStreamFactory final : public AudioStreamFactory {
 public:
  std::unique_ptr<AudioStream> Open(const std::string& path, EndOfFileCallback onEnd) override {
    std::unique_ptr<SoundFile> file = SoundFile::Open(path);
    if (!file) return nullptr;
    try {
      return std::make_unique<SystemAudioStream>(std::move(file), std::move(onEnd), threads_);
    } catch (...) {
      return nullptr;  // no event or thread to be had: as good as unopenable
    }
  }

 private:
  // Its destructor waits for the threads that still release a device.
  StreamThreadPool threads_;
};

}  // namespace

std::unique_ptr<AudioStreamFactory> MakeSystemAudioStreamFactory() {
  return std::make_unique<SystemAudioStreamFactory>();
}

}  // namespace soundboard
