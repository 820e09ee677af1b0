#include "stream_test_support.h"

#include <windows.h>

#include <chrono>

#include "sound/system_audio_stream.h"

namespace soundboard {
namespace {

// Recording after the end is reported: the last samples are still on their
// way through the sound server, and a stream that sounded on after its end
// would show here.
constexpr DWORD kTailMs = 300;

}  // namespace

std::string FixturePath(const std::string& name) {
  char module[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, module, MAX_PATH);
  std::string folder(module, length);
  folder.resize(folder.find_last_of('\\') + 1);
  return folder + "fixtures\\" + name;
}

EndOfFileCallback EndWitness::Callback() {
  return [this] {
    std::lock_guard lock(mutex_);
    ++count_;
    ended_.notify_all();
  };
}

bool EndWitness::WaitFor(int milliseconds) {
  std::unique_lock lock(mutex_);
  return ended_.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return count_ > 0; });
}

int EndWitness::Count() const {
  std::lock_guard lock(mutex_);
  return count_;
}

AudioStreamFactory& SystemStreams() {
  static std::unique_ptr<AudioStreamFactory> factory = MakeSystemAudioStreamFactory();
  return *factory;
}

Played PlayToEnd(const std::string& path, int timeoutMs) {
  MonitorRecorder& recorder = SharedRecorder();
  const size_t mark = recorder.FramesSoFar();
  EndWitness witness;
  Played played;
  std::unique_ptr<AudioStream> stream = SystemStreams().Open(path, witness.Callback());
  played.opened = stream != nullptr;
  if (stream) {
    played.ended = witness.WaitFor(timeoutMs);
    Sleep(kTailMs);
    stream.reset();
  } else {
    Sleep(kTailMs);
  }
  played.endCalls = witness.Count();
  played.sound = recorder.Since(mark);
  return played;
}

}  // namespace soundboard
