#pragma once
// The queue through which a playback's streams hand each end of a file to the
// playback's worker: a list guarded by a mutex, and a counting semaphore that
// counts the events in the list, on which the worker waits (see
// playback_semaphore.h for why it is not std::counting_semaphore).

#include <chrono>
#include <list>
#include <mutex>
#include <optional>

#include "sound/playback_semaphore.h"

namespace soundboard {

enum class PlaybackEvent {
  EndOfFile,  // the file at the cursor has ended, or failed
  EndWorker,  // the playback is being released: the worker ends
};

class PlaybackEvents {
 public:
  // Holds the list's mutex only for the push itself, and nothing else: the
  // stream's threads call it, also while the user-interface thread destroys
  // that stream under the playback's own mutex.
  void Push(PlaybackEvent event);

  // Waits for the oldest event and takes it.
  PlaybackEvent Take();

  // As Take, but gives up at deadline: nullopt when no event came by then.
  std::optional<PlaybackEvent> TakeUntil(std::chrono::steady_clock::time_point deadline);

 private:
  PlaybackEvent PopOldest();

  std::mutex mutex;
  std::list<PlaybackEvent> list;
  CountingSemaphore count{0};
};

}  // namespace soundboard
