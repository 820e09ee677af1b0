// The end-of-file queue on its own: its counting semaphore must count every
// push, wake a waiting worker every time and time out when nothing comes, on
// the Windows build under Wine too, where std::counting_semaphore missed
// wake-ups in the ping-pong below.

#include "sound/playback_events.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace soundboard {
namespace {

using Clock = std::chrono::steady_clock;

TEST(PlaybackEvents, TakesEventsInTheOrderTheyCame) {
  PlaybackEvents events;
  events.Push(PlaybackEvent::EndOfFile);
  events.Push(PlaybackEvent::EndWorker);
  EXPECT_EQ(events.Take(), PlaybackEvent::EndOfFile);
  EXPECT_EQ(events.Take(), PlaybackEvent::EndWorker);
}

TEST(PlaybackEvents, TakeUntilGivesUpAtTheDeadlineWhenNothingCame) {
  PlaybackEvents events;
  EXPECT_EQ(events.TakeUntil(Clock::now() + std::chrono::milliseconds(30)), std::nullopt);
  EXPECT_EQ(events.TakeUntil(Clock::now() - std::chrono::milliseconds(1)), std::nullopt);
  events.Push(PlaybackEvent::EndWorker);
  EXPECT_EQ(events.TakeUntil(Clock::now() - std::chrono::milliseconds(1)), PlaybackEvent::EndWorker);
}

TEST(PlaybackEvents, APushWakesAWaitingTaker) {
  PlaybackEvents events;
  std::thread pusher([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    events.Push(PlaybackEvent::EndOfFile);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    events.Push(PlaybackEvent::EndWorker);
  });
  EXPECT_EQ(events.Take(), PlaybackEvent::EndOfFile);
  EXPECT_EQ(events.TakeUntil(Clock::now() + std::chrono::seconds(30)), PlaybackEvent::EndWorker);
  pusher.join();
}

TEST(PlaybackEvents, WakesTheTakerEveryTimeInAPingPong) {
  constexpr int kRounds = 5000;
  PlaybackEvents there, back;
  std::thread other([&] {
    for (int i = 0; i < kRounds; ++i) {
      there.Push(PlaybackEvent::EndOfFile);
      EXPECT_EQ(back.Take(), PlaybackEvent::EndOfFile);
    }
  });
  for (int i = 0; i < kRounds; ++i) {
    EXPECT_EQ(there.Take(), PlaybackEvent::EndOfFile);
    back.Push(PlaybackEvent::EndOfFile);
  }
  other.join();
}

TEST(PlaybackEvents, CountsEveryPushFromManyThreads) {
  constexpr int kThreads = 4, kPushes = 2000;
  PlaybackEvents events;
  std::vector<std::thread> pushers;
  for (int t = 0; t < kThreads; ++t) {
    pushers.emplace_back([&] {
      for (int i = 0; i < kPushes; ++i) events.Push(PlaybackEvent::EndOfFile);
    });
  }
  for (int i = 0; i < kThreads * kPushes; ++i) EXPECT_EQ(events.Take(), PlaybackEvent::EndOfFile);
  for (std::thread& pusher : pushers) pusher.join();
  EXPECT_EQ(events.TakeUntil(Clock::now()), std::nullopt);
}

}  // namespace
}  // namespace soundboard
