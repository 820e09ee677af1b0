#pragma once
// One Play: a list of files played in order, a number of passes over it, and
// the worker thread that moves from one file to the next.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "sound/audio_stream.h"
#include "sound/playback_events.h"

namespace soundboard {

enum class PlaybackState {
  Stopped,  // no file sounding: not yet started, failed, between two files, or finished
  Playing,
  Paused,   // held for good: a paused playback never sounds again
};

// Threads: Start, Pause and the destructor run on the user-interface thread;
// the worker handles the end of each file; the stream's threads only push
// events. The user-interface thread and the worker change state and stream
// only under `mutex`, so their changes never interleave; the stream's threads
// never take it, so destroying a stream under it cannot deadlock.
class Playback {
 public:
  // files: at least one, none empty. passesLeft: n > 0 passes, 0 without end.
  Playback(AudioStreamFactory& streams, std::vector<std::string> files, int32_t passesLeft);

  // Release: the stream, if any, is closed (its queued sound dropped at once),
  // then the worker is told to end and waited for.
  ~Playback();

  Playback(const Playback&) = delete;
  Playback& operator=(const Playback&) = delete;

  // Starts the file at the cursor; called once, right after construction.
  void Start();

  // Holds a playing playback; does nothing in any other state.
  void Pause();

 private:
  using Clock = std::chrono::steady_clock;

  void Work();
  void StartFile();
  std::optional<Clock::time_point> MoveToNextFile();

  AudioStreamFactory& streams;

  std::mutex mutex;  // guards every member below up to `events`
  const std::vector<std::string> files;
  size_t cursor = 0;
  int32_t passesLeft;
  PlaybackState state = PlaybackState::Stopped;
  std::unique_ptr<AudioStream> stream;
  bool released = false;
  // Bookkeeping of an endless playback's current pass (see MoveToNextFile).
  bool openedThisPass = false;
  Clock::time_point passStarted;

  PlaybackEvents events;
  std::thread worker;  // last: started once every other member exists
};

}  // namespace soundboard
