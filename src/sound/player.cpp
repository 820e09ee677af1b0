#include "sound/player.h"

#include "sound/playback.h"

namespace soundboard {

Player::Player(AudioStreamFactory& streams) : streams(streams) {}

Player::~Player() { Stop(); }

void Player::Play(const std::vector<std::string>& paths, int32_t repeatCount) {
  Stop();
  if (repeatCount == 0) return;
  const int32_t passes = repeatCount > 0 ? repeatCount : 0;  // 0: without end

  std::vector<std::string> files;
  for (const std::string& path : paths) {
    if (!path.empty()) files.push_back(path);
  }
  if (files.empty()) return;

  current = std::make_unique<Playback>(streams, std::move(files), passes);
  current->Start();
}

void Player::Pause() {
  if (current) current->Pause();
}

void Player::Stop() {
  // Destroying the playback releases it; `current` is none afterwards.
  current.reset();
}

}  // namespace soundboard
