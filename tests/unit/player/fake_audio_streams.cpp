#include "fake_audio_streams.h"

#include <algorithm>
#include <thread>

namespace soundboard::testing {

class FakeAudioStream : public AudioStream {
 public:
  FakeAudioStream(FakeAudioStreams& owner, std::string path, EndOfFileCallback onEnd,
                  std::optional<FakeAudioStreams::Duration> length)
      : owner(owner), path(std::move(path)), onEnd(std::move(onEnd)), length(length),
        thread([this] { Run(); }) {}

  ~FakeAudioStream() override {
    {
      std::lock_guard lock(mutex);
      closing = true;
    }
    wake.notify_all();
    thread.join();
    owner.Closed(*this);
  }

  void Pause() override { owner.Paused(*this); }

  // Callers hold the owner's mutex, which keeps this stream alive: its
  // destructor ends in owner.Closed.
  bool TellToEnd() {
    std::lock_guard lock(mutex);
    if (endRequested) return false;
    endRequested = true;
    wake.notify_all();
    return true;
  }

 private:
  friend class FakeAudioStreams;

  void Run() {
    std::unique_lock lock(mutex);
    auto due = [this] { return closing || endRequested; };
    if (length) {
      wake.wait_for(lock, *length, due);
    } else {
      wake.wait(lock, due);
    }
    if (closing) return;
    lock.unlock();
    onEnd();  // once, and never after the destructor has returned
  }

  FakeAudioStreams& owner;
  const std::string path;
  int pauses = 0;  // under the owner's mutex
  const EndOfFileCallback onEnd;
  const std::optional<FakeAudioStreams::Duration> length;
  std::mutex mutex;
  std::condition_variable wake;
  bool closing = false;
  bool endRequested = false;
  std::thread thread;  // last: Run uses every member above
};

FakeAudioStreams::FakeAudioStreams(std::set<std::string> missing, std::set<std::string> silent)
    : missing(std::move(missing)), silent(std::move(silent)) {}

void FakeAudioStreams::EndStreamsAtRandom(Duration maxLength, uint32_t seed) {
  std::lock_guard lock(mutex);
  randomEnds = true;
  this->maxLength = maxLength;
  random.seed(seed);
}

std::optional<FakeAudioStreams::Duration> FakeAudioStreams::NextLength(const std::string& path) {
  if (silent.count(path)) return Duration{0};
  if (!randomEnds || random() % 5 == 0) return std::nullopt;
  return Duration{random() % (uint64_t(maxLength.count()) + 1)};
}

std::unique_ptr<AudioStream> FakeAudioStreams::Open(const std::string& path,
                                                    EndOfFileCallback onEnd) {
  std::lock_guard lock(mutex);
  if (inCall && !callerOpened) {
    if (std::this_thread::get_id() == caller) {
      callerOpened = true;
    } else if (callerClosed) {
      faults.push_back("opened " + path + " after its playback was released");
    }
  }
  if (missing.count(path)) {
    log.push_back("missing " + path);
    changed.notify_all();
    return nullptr;
  }
  if (!open.empty()) faults.push_back("opened " + path + " while another stream was open");
  if (pausedInCall == call) faults.push_back("opened " + path + " after a pause");
  auto stream = std::make_unique<FakeAudioStream>(*this, path, std::move(onEnd), NextLength(path));
  open.insert(stream.get());
  ++opened;
  log.push_back("open " + path);
  changed.notify_all();
  return stream;
}

bool FakeAudioStreams::EndOpenStream(std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex);
  return changed.wait_for(lock, timeout, [this] {
    return std::any_of(open.begin(), open.end(), [](FakeAudioStream* s) { return s->TellToEnd(); });
  });
}

void FakeAudioStreams::EndOpenStreamIfAny() {
  std::lock_guard lock(mutex);
  for (FakeAudioStream* stream : open) stream->TellToEnd();
}

void FakeAudioStreams::CallBegins() {
  std::lock_guard lock(mutex);
  ++call;
  inCall = true;
  callerClosed = false;
  callerOpened = false;
  caller = std::this_thread::get_id();
}

void FakeAudioStreams::CallEnded() {
  std::lock_guard lock(mutex);
  inCall = false;
}

void FakeAudioStreams::Paused(FakeAudioStream& stream) {
  std::lock_guard lock(mutex);
  if (++stream.pauses > 1) faults.push_back("paused " + stream.path + " twice");
  pausedInCall = call;
  log.push_back("pause " + stream.path);
  changed.notify_all();
}

void FakeAudioStreams::Closed(const FakeAudioStream& stream) {
  std::lock_guard lock(mutex);
  open.erase(const_cast<FakeAudioStream*>(&stream));
  if (inCall && std::this_thread::get_id() == caller) callerClosed = true;
  log.push_back("close " + stream.path);
  changed.notify_all();
}

std::vector<std::string> FakeAudioStreams::Log() const {
  std::lock_guard lock(mutex);
  return log;
}

bool FakeAudioStreams::WaitForLog(size_t n, std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex);
  return changed.wait_for(lock, timeout, [&] { return log.size() >= n; });
}

std::vector<std::string> FakeAudioStreams::Faults() const {
  std::lock_guard lock(mutex);
  return faults;
}

size_t FakeAudioStreams::OpenStreams() const {
  std::lock_guard lock(mutex);
  return open.size();
}

size_t FakeAudioStreams::Opened() const {
  std::lock_guard lock(mutex);
  return opened;
}

}  // namespace soundboard::testing
