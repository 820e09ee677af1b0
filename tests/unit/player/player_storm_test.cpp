// Thousands of random Play, Pause and Stop calls while streams end at random
// moments, by themselves and from another thread. Under TSan no race may be
// reported, under ASan no leak or use after free; a deadlock runs into the
// test's timeout. The fake records what the Player must never do.

#include "sound/player.h"

#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <thread>

#include "fake_audio_streams.h"

namespace soundboard {
namespace {

using testing::FakeAudioStreams;

constexpr int kCalls = 3000;
constexpr uint32_t kSeed = 20240611;

std::vector<std::string> RandomPaths(std::mt19937& random) {
  static const std::vector<std::string> kPaths = {"a.mp3", "b.mp3", "c.wav", "",
                                                  "missing.mp3", "silent.mp3"};
  std::vector<std::string> paths(random() % 4);
  for (std::string& path : paths) path = kPaths[random() % kPaths.size()];
  return paths;
}

TEST(PlayerStorm, RandomCallsWhileStreamsEndAtRandom) {
  FakeAudioStreams streams({"missing.mp3"}, {"silent.mp3"});
  streams.EndStreamsAtRandom(std::chrono::microseconds(3000), kSeed);

  // Another thread ends whatever stream is open at random moments.
  std::atomic<bool> done{false};
  std::thread ender([&] {
    std::mt19937 random(kSeed + 1);
    while (!done.load()) {
      streams.EndOpenStreamIfAny();
      std::this_thread::sleep_for(std::chrono::microseconds(random() % 2000));
    }
  });

  std::mt19937 random(kSeed);
  {
    Player player(streams);
    for (int i = 0; i < kCalls; ++i) {
      switch (random() % 8) {
        case 0:
        case 1:
        case 2:
        case 3: {
          static const int32_t kRepeats[] = {1, 1, 2, 3, 0, -1, -5};
          streams.CallBegins();
          player.Play(RandomPaths(random), kRepeats[random() % 7]);
          streams.CallEnded();
          break;
        }
        case 4:
        case 5:
          player.Pause();
          break;
        case 6:
          streams.CallBegins();
          player.Stop();
          streams.CallEnded();
          break;
        default:
          // Give the streams and the worker time to move on.
          std::this_thread::sleep_for(std::chrono::microseconds(random() % 3000));
          break;
      }
    }
    // The program ends with a sound playing.
    streams.CallBegins();
    player.Play({"a.mp3", "b.mp3"}, -1);
    streams.CallEnded();
  }
  done = true;
  ender.join();

  EXPECT_EQ(streams.OpenStreams(), 0u);
  EXPECT_EQ(streams.Faults(), std::vector<std::string>{});
  EXPECT_GT(streams.Opened(), size_t(kCalls / 4));
}

}  // namespace
}  // namespace soundboard
