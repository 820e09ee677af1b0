#include "sound/playback.h"

#include <algorithm>
#include <exception>
#include <utility>

namespace soundboard {
namespace {

// The shortest time an endless playback takes for one pass over its files.
// A file that sounds at all lasts at least one MP3 frame (24 ms at the
// least), so a pass that holds any sound is never held back; a pass whose
// files all fail at once would otherwise start again and again at full speed.
constexpr std::chrono::milliseconds kShortestEndlessPass{20};

}  // namespace

Playback::Playback(AudioStreamFactory& streams, std::vector<std::string> files,
                   int32_t passesLeft)
    : streams(streams), files(std::move(files)), passesLeft(passesLeft),
      worker(&Playback::Work, this) {}

Playback::~Playback() {
  {
    std::lock_guard lock(mutex);
    released = true;
    // Its threads may push one last end of file meanwhile; the worker, which
    // sees `released`, drops it.
    stream.reset();
  }
  events.Push(PlaybackEvent::EndWorker);
  worker.join();
}

void Playback::Start() {
  std::lock_guard lock(mutex);
  passStarted = Clock::now();
  StartFile();
}

void Playback::Pause() {
  std::lock_guard lock(mutex);
  if (state != PlaybackState::Playing) return;
  stream->Pause();
  state = PlaybackState::Paused;
}

// Holds `mutex`. A file that cannot be opened counts as a file that has
// ended: its end of file is queued at once and the state stays Stopped.
void Playback::StartFile() {
  std::unique_ptr<AudioStream> opened;
  try {
    opened = streams.Open(files[cursor], [queue = &events] { queue->Push(PlaybackEvent::EndOfFile); });
  } catch (const std::exception&) {
    // Out of threads or memory for this file: it fails like a missing one,
    // rather than ending the program from the worker's thread.
  }
  if (!opened) {
    events.Push(PlaybackEvent::EndOfFile);
    return;
  }
  stream = std::move(opened);
  openedThisPass = true;
  state = PlaybackState::Playing;
}

// Holds `mutex`. Moves the cursor past the file that ended and tells when the
// file now at the cursor may start, or nullopt when the playback is finished.
//
// An endless playback ends when a whole pass opened none of its files (all
// missing, say): every later pass would fail the same way, forever. And it
// starts a new pass no sooner than kShortestEndlessPass after the last one
// began, so files that open but fail at once (no sound in them) cost a few
// attempts a second instead of a core.
std::optional<Playback::Clock::time_point> Playback::MoveToNextFile() {
  const Clock::time_point now = Clock::now();
  if (++cursor < files.size()) return now;
  cursor = 0;
  if (passesLeft > 0) {
    if (--passesLeft == 0) return std::nullopt;
    return now;
  }
  if (!openedThisPass) return std::nullopt;
  openedThisPass = false;
  passStarted = std::max(now, passStarted + kShortestEndlessPass);
  return passStarted;
}

void Playback::Work() {
  while (events.Take() == PlaybackEvent::EndOfFile) {
    std::unique_lock lock(mutex);
    if (released) return;
    // An end of file that raced with Pause: the playback stays held.
    if (state == PlaybackState::Paused) continue;

    stream.reset();
    state = PlaybackState::Stopped;
    const std::optional<Clock::time_point> startAt = MoveToNextFile();
    if (!startAt) return;  // finished: the playback stays in Stopped until released
    if (*startAt > Clock::now()) {
      lock.unlock();
      // No stream is open, so the only event that can come now is EndWorker.
      if (events.TakeUntil(*startAt)) return;
      lock.lock();
      if (released) return;
    }
    StartFile();
  }
}

}  // namespace soundboard
