#pragma once
// The one playback service: every sound of the program goes through Play, and
// at most one playback is current, so two sounds never play at once.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "sound/audio_stream.h"

namespace soundboard {

class Playback;

// Play, Pause and Stop are called on the user-interface thread only, in any
// order and any number of times; none reports an error.
class Player {
 public:
  explicit Player(AudioStreamFactory& streams);
  ~Player();  // Stop

  Player(const Player&) = delete;
  Player& operator=(const Player&) = delete;

  // Releases the current playback whatever the arguments (the sound stops, and
  // Play waits until its threads have ended), then plays the non-empty paths
  // in order: repeatCount n > 0 passes over the list, none for 0, without end
  // for any negative value. Returns once the first file is opened.
  void Play(const std::vector<std::string>& paths, int32_t repeatCount);

  // Holds the current playback if it is playing; there is no resume.
  void Pause();

  // Releases the current playback, if any.
  void Stop();

 private:
  AudioStreamFactory& streams;
  std::unique_ptr<Playback> current;
};

}  // namespace soundboard
