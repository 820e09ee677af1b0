#include "sound/player.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <variant>

#include "fake_audio_streams.h"

namespace soundboard {
namespace {

using testing::FakeAudioStreams;
using Log = std::vector<std::string>;

// Steps of a case, run on the test's thread, which plays the user-interface
// thread.
struct Play {
  std::vector<std::string> paths;
  int32_t repeatCount;
};
struct Pause {};
struct Stop {};
struct EndStream {};          // the open stream reaches its end (waits for one)
struct WaitForLog { size_t entries; };  // lets the worker catch up
struct Sleep { std::chrono::milliseconds time; };  // room for what must not happen
using Step = std::variant<Play, Pause, Stop, EndStream, WaitForLog, Sleep>;

struct PlayerCase {
  const char* name;
  std::set<std::string> missing;
  std::vector<Step> steps;
  Log expected;  // the fake's log once everything has settled
};

void PrintTo(const PlayerCase& c, std::ostream* os) { *os << c.name; }

class PlayerTable : public ::testing::TestWithParam<PlayerCase> {};

TEST_P(PlayerTable, PlaysClosesAndPausesInOrder) {
  const PlayerCase& c = GetParam();
  FakeAudioStreams streams(c.missing);
  {
    Player player(streams);
    for (const Step& step : c.steps) {
      if (auto* play = std::get_if<Play>(&step)) {
        streams.CallBegins();
        player.Play(play->paths, play->repeatCount);
        streams.CallEnded();
      } else if (std::holds_alternative<Pause>(step)) {
        player.Pause();
      } else if (std::holds_alternative<Stop>(step)) {
        streams.CallBegins();
        player.Stop();
        streams.CallEnded();
      } else if (auto* wait = std::get_if<Sleep>(&step)) {
        std::this_thread::sleep_for(wait->time);
      } else if (std::holds_alternative<EndStream>(step)) {
        ASSERT_TRUE(streams.EndOpenStream()) << "no stream to end; log so far: "
                                             << ::testing::PrintToString(streams.Log());
      } else {
        ASSERT_TRUE(streams.WaitForLog(std::get<WaitForLog>(step).entries))
            << ::testing::PrintToString(streams.Log());
      }
    }
    streams.WaitForLog(c.expected.size());
    // Anything the Player should not have done would show up by now.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(streams.Log(), c.expected);
  }
  // ~Player stops: nothing is left open.
  EXPECT_EQ(streams.OpenStreams(), 0u);
  const Log log = streams.Log();
  auto count = [&](const char* verb) {
    return std::count_if(log.begin(), log.end(),
                         [&](const std::string& e) { return e.rfind(verb, 0) == 0; });
  };
  EXPECT_EQ(count("open "), count("close "));
  EXPECT_EQ(streams.Faults(), Log{});
}

using P = Play;
const std::string a = "a.mp3", b = "b.mp3", x = "missing.mp3", y = "gone.mp3";

INSTANTIATE_TEST_SUITE_P(
    Player, PlayerTable,
    ::testing::Values(
        PlayerCase{"two_files_repeat_two",
                   {},
                   {P{{a, b}, 2}, EndStream{}, EndStream{}, EndStream{}, EndStream{}},
                   {"open a.mp3", "close a.mp3", "open b.mp3", "close b.mp3", "open a.mp3",
                    "close a.mp3", "open b.mp3", "close b.mp3"}},
        PlayerCase{"one_file_once",
                   {},
                   {P{{a}, 1}, EndStream{}},
                   {"open a.mp3", "close a.mp3"}},
        PlayerCase{"endless_until_stop",
                   {},
                   {P{{a, b}, -1}, EndStream{}, EndStream{}, EndStream{}, EndStream{}, EndStream{},
                    WaitForLog{11}, Stop{}},
                   {"open a.mp3", "close a.mp3", "open b.mp3", "close b.mp3", "open a.mp3",
                    "close a.mp3", "open b.mp3", "close b.mp3", "open a.mp3", "close a.mp3",
                    "open b.mp3", "close b.mp3"}},
        PlayerCase{"endless_until_next_play",
                   {},
                   {P{{a}, -7}, EndStream{}, EndStream{}, EndStream{}, WaitForLog{7}, P{{b}, 1}},
                   {"open a.mp3", "close a.mp3", "open a.mp3", "close a.mp3", "open a.mp3",
                    "close a.mp3", "open a.mp3", "close a.mp3", "open b.mp3"}},
        PlayerCase{"repeat_zero_only_stops",
                   {},
                   {P{{a}, 1}, P{{b}, 0}},
                   {"open a.mp3", "close a.mp3"}},
        PlayerCase{"empty_path_only_stops",
                   {},
                   {P{{a}, 1}, P{{""}, 1}},
                   {"open a.mp3", "close a.mp3"}},
        PlayerCase{"no_paths_only_stops",
                   {},
                   {P{{a}, -1}, P{{}, -1}},
                   {"open a.mp3", "close a.mp3"}},
        PlayerCase{"empty_paths_left_out",
                   {},
                   {P{{"", a, "", b, ""}, 1}, EndStream{}, EndStream{}},
                   {"open a.mp3", "close a.mp3", "open b.mp3", "close b.mp3"}},
        PlayerCase{"missing_first_file_skips_to_next",
                   {x},
                   {P{{x, b}, 1}, EndStream{}},
                   {"missing missing.mp3", "open b.mp3", "close b.mp3"}},
        PlayerCase{"missing_second_file_stops_after_first",
                   {b},
                   {P{{a, b}, 1}, EndStream{}},
                   {"open a.mp3", "close a.mp3", "missing b.mp3"}},
        PlayerCase{"missing_file_stops_the_sound_before",
                   {x},
                   {P{{a}, 1}, P{{x}, 1}},
                   {"open a.mp3", "close a.mp3", "missing missing.mp3"}},
        PlayerCase{"missing_files_counted_in_passes",
                   {x},
                   {P{{x, a}, 2}, EndStream{}, EndStream{}},
                   {"missing missing.mp3", "open a.mp3", "close a.mp3", "missing missing.mp3",
                    "open a.mp3", "close a.mp3"}},
        // An endless playback ends when a whole pass opened nothing.
        PlayerCase{"endless_all_missing_ends",
                   {x, y},
                   {P{{x, y}, -1}, WaitForLog{2}, Sleep{std::chrono::milliseconds(200)}, Pause{},
                    P{{a}, 1}},
                   {"missing missing.mp3", "missing gone.mp3", "open a.mp3"}},
        PlayerCase{"endless_goes_on_past_missing_files",
                   {x},
                   {P{{x, a}, -1}, EndStream{}, EndStream{}, WaitForLog{8}},
                   {"missing missing.mp3", "open a.mp3", "close a.mp3", "missing missing.mp3",
                    "open a.mp3", "close a.mp3", "missing missing.mp3", "open a.mp3"}},
        PlayerCase{"pause_on_nothing", {}, {Pause{}, Pause{}}, {}},
        PlayerCase{"pause_on_finished",
                   {},
                   {P{{a}, 1}, EndStream{}, WaitForLog{2}, Pause{}},
                   {"open a.mp3", "close a.mp3"}},
        PlayerCase{"pause_on_failed",
                   {x},
                   {P{{x}, 1}, Pause{}},
                   {"missing missing.mp3"}},
        PlayerCase{"pause_on_paused",
                   {},
                   {P{{a}, 1}, Pause{}, Pause{}, Pause{}},
                   {"open a.mp3", "pause a.mp3"}},
        PlayerCase{"pause_then_play_starts_afresh",
                   {},
                   {P{{a}, 1}, Pause{}, P{{a}, 1}},
                   {"open a.mp3", "pause a.mp3", "close a.mp3", "open a.mp3"}},
        PlayerCase{"pause_then_stop",
                   {},
                   {P{{a, b}, 3}, Pause{}, Stop{}},
                   {"open a.mp3", "pause a.mp3", "close a.mp3"}},
        // An end of file that comes after Pause does not start the next file.
        PlayerCase{"paused_stays_held_after_a_late_end",
                   {},
                   {P{{a, b}, 1}, Pause{}, EndStream{}},
                   {"open a.mp3", "pause a.mp3"}},
        PlayerCase{"play_cuts_the_previous_sound_off",
                   {},
                   {P{{a}, 1}, P{{b}, 1}, Stop{}},
                   {"open a.mp3", "close a.mp3", "open b.mp3", "close b.mp3"}},
        PlayerCase{"same_sound_twice_starts_again",
                   {},
                   {P{{a}, 1}, P{{a}, 1}},
                   {"open a.mp3", "close a.mp3", "open a.mp3"}},
        PlayerCase{"stop_twice_and_on_nothing",
                   {},
                   {Stop{}, P{{a}, 1}, Stop{}, Stop{}},
                   {"open a.mp3", "close a.mp3"}},
        PlayerCase{"play_after_finished",
                   {},
                   {P{{a}, 1}, EndStream{}, WaitForLog{2}, P{{b}, 1}},
                   {"open a.mp3", "close a.mp3", "open b.mp3"}},
        PlayerCase{"program_end_stops_the_sound",
                   {},
                   {P{{a, b}, -1}},
                   {"open a.mp3"}}),
    [](const auto& info) { return std::string(info.param.name); });

// Files that open but end at once (no sound in them) must not make an
// endless playback spin: each pass takes at least a few milliseconds, so a
// fraction of a second sees some dozens of attempts, not many thousands.
TEST(Player, EndlessSilentFilesDoNotSpin) {
  FakeAudioStreams streams({}, {a});
  Player player(streams);
  player.Play({a}, -1);
  ASSERT_TRUE(streams.WaitForLog(4));  // it does go round
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  player.Stop();
  EXPECT_LE(streams.Opened(), 100u);
  EXPECT_EQ(streams.OpenStreams(), 0u);
  EXPECT_EQ(streams.Faults(), Log{});
}

}  // namespace
}  // namespace soundboard
