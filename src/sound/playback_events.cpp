#include "sound/playback_events.h"

namespace soundboard {

void PlaybackEvents::Push(PlaybackEvent event) {
  {
    std::lock_guard lock(mutex);
    list.push_back(event);
  }
  count.release();
}

PlaybackEvent PlaybackEvents::Take() {
  count.acquire();
  return PopOldest();
}

std::optional<PlaybackEvent> PlaybackEvents::TakeUntil(
    std::chrono::steady_clock::time_point deadline) {
  if (!count.try_acquire_until(deadline)) return std::nullopt;
  return PopOldest();
}

// Only after the semaphore was acquired: the list then holds an event for us.
PlaybackEvent PlaybackEvents::PopOldest() {
  std::lock_guard lock(mutex);
  const PlaybackEvent event = list.front();
  list.pop_front();
  return event;
}

}  // namespace soundboard
