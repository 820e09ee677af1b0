#pragma once
// A stand-in for the system's audio. Each opened stream is a thread that waits
// until it is told to end (by the test, after its own delay, or never), then
// calls its end-of-file callback once, unless it is closed first. Every
// open, failed open, pause and close is logged, and what the Player must
// never do is recorded as a fault: two streams open at once, a second pause of
// one stream, a new stream after a pause before the next Play or Stop, a
// stream opened by a playback that is being released.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "sound/audio_stream.h"

namespace soundboard::testing {

class FakeAudioStream;

class FakeAudioStreams : public AudioStreamFactory {
 public:
  using Duration = std::chrono::microseconds;

  // missing: paths that cannot be opened. silent: paths that open but end at
  // once, as a file without sound does.
  explicit FakeAudioStreams(std::set<std::string> missing = {}, std::set<std::string> silent = {});

  // From now on every other stream ends by itself after a delay drawn from
  // [0, maxLength], and one in five only when told to or closed.
  void EndStreamsAtRandom(Duration maxLength, uint32_t seed);

  std::unique_ptr<AudioStream> Open(const std::string& path, EndOfFileCallback onEnd) override;

  // Waits until a stream is open that has not been told to end yet, and tells
  // it to end. False when none came within the timeout.
  bool EndOpenStream(std::chrono::milliseconds timeout = std::chrono::seconds(10));
  // Tells the open stream, if any, to end; never waits.
  void EndOpenStreamIfAny();

  // The test calls these around each Play and Stop, on the thread that plays
  // the user-interface thread. A pause holds only until the next call. Once
  // that thread has closed a stream within a call (the release), no other
  // thread may open one before it has opened (or failed to open) its own: such
  // an open comes from the worker of the playback that was released.
  void CallBegins();
  void CallEnded();

  // "open a", "missing a", "pause a", "close a", in the order they happened.
  std::vector<std::string> Log() const;
  // Waits until the log has at least n entries; false on timeout.
  bool WaitForLog(size_t n, std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;
  std::vector<std::string> Faults() const;
  size_t OpenStreams() const;
  size_t Opened() const;

 private:
  friend class FakeAudioStream;
  void Record(std::string entry);
  void Paused(FakeAudioStream& stream);
  void Closed(const FakeAudioStream& stream);
  std::optional<Duration> NextLength(const std::string& path);

  const std::set<std::string> missing;
  const std::set<std::string> silent;

  mutable std::mutex mutex;
  mutable std::condition_variable changed;
  std::vector<std::string> log;
  std::vector<std::string> faults;
  std::set<FakeAudioStream*> open;
  size_t opened = 0;
  uint64_t call = 0;
  bool inCall = false;
  bool callerClosed = false;
  bool callerOpened = false;
  std::thread::id caller;
  std::optional<uint64_t> pausedInCall;
  bool randomEnds = false;
  Duration maxLength{0};
  std::mt19937 random;
};

}  // namespace soundboard::testing
