// The Windows audio stream under Wine, heard through the sound server: each
// generated file sounds as the tone it holds, a released stream goes silent at
// once, a paused one too, and streams released at any moment leave the next
// one working.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "stream_test_support.h"

namespace soundboard {
namespace {

struct ToneFile {
  const char* name;
  double seconds;
  double leftHertz;
  double rightHertz;  // the same as left for a mono file
};

std::ostream& operator<<(std::ostream& out, const ToneFile& file) { return out << file.name; }

// Names, lengths and frequencies as make_fixtures.sh makes them.
const ToneFile kToneFiles[] = {
    {"mpeg1_44k_stereo_cbr.mp3", 0.8, 440, 660},
    {"mpeg1_48k_mono_vbr.mp3", 0.8, 523, 523},
    {"mpeg1_32k_stereo_vbr_bare.mp3", 0.8, 392, 784},
    {"mpeg2_22k_mono_cbr.mp3", 0.8, 440, 440},
    {"mpeg2_24k_stereo_vbr.mp3", 0.8, 330, 550},
    {"mpeg2_16k_mono_cbr_bare.mp3", 0.8, 600, 600},
    {"mpeg25_8k_mono_cbr.mp3", 0.8, 440, 440},
    {"mpeg25_11k_stereo_vbr.mp3", 0.8, 300, 500},
    {"mpeg25_12k_mono_cbr_bare.mp3", 0.8, 700, 700},
    {"id3v1.mp3", 0.8, 880, 880},
    {"id3v2.mp3", 0.8, 660, 660},
    {"id3v2_padded.mp3", 0.8, 550, 550},
    {"id3v24_footer_ape.mp3", 0.8, 480, 480},
    {"音乐.mp3", 0.8, 740, 740},
    {"pcm8_22k_mono.wav", 0.8, 440, 440},
    {"pcm16_44k_stereo.wav", 0.8, 440, 660},
    {"pcm24_48k_mono.wav", 0.8, 523, 523},
    {"pcm32_96k_stereo.wav", 0.8, 392, 784},
    {"float32_44k_mono.wav", 0.8, 330, 330},
    {"ima_adpcm_22k_stereo.wav", 0.8, 440, 660},
    {"ms_adpcm_44k_mono.wav", 0.8, 550, 550},
    {"alaw_8k_mono.wav", 0.8, 440, 440},
    {"mulaw_8k_stereo.wav", 0.8, 300, 500},
    {"mp3_in_riff.wav", 0.8, 440, 660},
};

// Length: the codec's delay and padding are silence, but lossy coding smears
// the edges of a tone a little. Frequency: the sound server resamples to its
// own rate.
constexpr double kSecondsTolerance = 0.06;
double HertzTolerance(double hertz) { return hertz * 0.01 + 2; }

class PlaysTheFile : public testing::TestWithParam<ToneFile> {};

TEST_P(PlaysTheFile, AsTheToneItHolds) {
  ASSERT_TRUE(SharedRecorder().Started()) << "the sound server's monitor cannot be recorded";
  const ToneFile& file = GetParam();
  const Played played = PlayToEnd(FixturePath(file.name), int(file.seconds * 1000) + 5000);
  ASSERT_TRUE(played.opened);
  EXPECT_TRUE(played.ended) << "the end of the file was not reported";
  EXPECT_EQ(played.endCalls, 1);

  const RecordedSound::Span loud = played.sound.Loud();
  ASSERT_FALSE(loud.Empty()) << "nothing was heard";
  EXPECT_NEAR(played.sound.LoudSeconds(), file.seconds, kSecondsTolerance);
  // The tone's frequency away from its edges, on each channel.
  const size_t from = loud.first + FramesIn(0.1), to = loud.end - FramesIn(0.1);
  EXPECT_NEAR(played.sound.DominantHertz(0, from, to), file.leftHertz, HertzTolerance(file.leftHertz));
  EXPECT_NEAR(played.sound.DominantHertz(1, from, to), file.rightHertz, HertzTolerance(file.rightHertz));
}

INSTANTIATE_TEST_SUITE_P(EveryFormat, PlaysTheFile, testing::ValuesIn(kToneFiles),
                         [](const testing::TestParamInfo<ToneFile>& info) {
                           return "File" + std::to_string(info.index);
                         });

// Where a tone of hertz is last heard after from, in 10 ms windows; from when
// it is not heard at all.
size_t LastHeard(const RecordedSound& sound, size_t from, double hertz) {
  const size_t window = FramesIn(0.01);
  size_t last = from;
  for (size_t at = from; at + window <= sound.Frames(); at += window) {
    if (sound.Amplitude(0, at, at + window, hertz) > kLoudThreshold) last = at + window;
  }
  return last;
}

// The device's period under Wine is 10 ms; the rest is the recorder's own
// latency and the scheduling of three processes on a busy machine.
constexpr double kSilencedWithinSeconds = 0.04;

TEST(SystemAudioStream, ReleasedStreamFallsSilentAndTheNextOnePlays) {
  MonitorRecorder& recorder = SharedRecorder();
  ASSERT_TRUE(recorder.Started());
  const size_t mark = recorder.FramesSoFar();
  EndWitness firstEnd, secondEnd;
  std::unique_ptr<AudioStream> first = SystemStreams().Open(FixturePath("long_440.mp3"), firstEnd.Callback());
  ASSERT_NE(first, nullptr);
  Sleep(700);
  const size_t cut = recorder.FramesSoFar() - mark;
  first.reset();
  std::unique_ptr<AudioStream> second = SystemStreams().Open(FixturePath("next_880.mp3"), secondEnd.Callback());
  ASSERT_NE(second, nullptr);
  EXPECT_TRUE(secondEnd.WaitFor(5000));
  Sleep(300);
  second.reset();
  const RecordedSound sound = recorder.Since(mark);

  EXPECT_EQ(firstEnd.Count(), 0) << "a released stream reported an end";
  EXPECT_GT(sound.Amplitude(0, cut - FramesIn(0.3), cut, 440), 4 * kLoudThreshold)
      << "the first file did not play before it was released";
  EXPECT_LE(SecondsOf(LastHeard(sound, cut, 440) - cut), kSilencedWithinSeconds)
      << "the first file sounded on after its release";
  const size_t afterCut = cut + FramesIn(kSilencedWithinSeconds);
  EXPECT_NEAR(sound.LoudSeconds(afterCut), 0.8, kSecondsTolerance);
  EXPECT_NEAR(sound.DominantHertz(0, afterCut, sound.Frames()), 880, HertzTolerance(880));
}

TEST(SystemAudioStream, PauseSilencesAtOnceForGood) {
  MonitorRecorder& recorder = SharedRecorder();
  ASSERT_TRUE(recorder.Started());
  const size_t mark = recorder.FramesSoFar();
  EndWitness end;
  std::unique_ptr<AudioStream> stream = SystemStreams().Open(FixturePath("long_440.mp3"), end.Callback());
  ASSERT_NE(stream, nullptr);
  Sleep(600);
  const size_t paused = recorder.FramesSoFar() - mark;
  stream->Pause();
  Sleep(600);
  stream->Pause();  // a second pause does not resume
  Sleep(600);
  const RecordedSound sound = recorder.Since(mark);
  stream.reset();

  EXPECT_GT(sound.Amplitude(0, paused - FramesIn(0.3), paused, 440), 4 * kLoudThreshold)
      << "the file did not play before the pause";
  const RecordedSound::Span loud = sound.Loud();
  EXPECT_LE(SecondsOf(std::max(loud.end, paused) - paused), kSilencedWithinSeconds) << "the sound went on after the pause";
  EXPECT_EQ(end.Count(), 0) << "a pause reported an end";
}

TEST(SystemAudioStream, StreamsReleasedAtAnyMomentLeaveTheNextOneWorking) {
  ASSERT_TRUE(SharedRecorder().Started());
  const char* files[] = {"mpeg1_44k_stereo_cbr.mp3", "pcm16_44k_stereo.wav", "ima_adpcm_22k_stereo.wav",
                         "random.mp3", "empty.mp3"};
  std::mt19937 random(7);
  constexpr int kRounds = 60;
  // Each witness outlives its stream, so that an end reported after the
  // release would be seen (and not land in freed memory).
  std::vector<std::unique_ptr<EndWitness>> ends;
  std::vector<int> endsAtRelease;
  for (int round = 0; round < kRounds; ++round) {
    ends.push_back(std::make_unique<EndWitness>());
    std::unique_ptr<AudioStream> stream =
        SystemStreams().Open(FixturePath(files[random() % std::size(files)]), ends.back()->Callback());
    ASSERT_NE(stream, nullptr);
    Sleep(random() % 40);
    if (random() % 3 == 0) stream->Pause();
    Sleep(random() % 5);
    stream.reset();
    endsAtRelease.push_back(ends.back()->Count());
  }
  Sleep(500);
  for (int round = 0; round < kRounds; ++round) {
    EXPECT_LE(endsAtRelease[round], 1) << "round " << round;
    EXPECT_EQ(ends[round]->Count(), endsAtRelease[round]) << "an end reported after the release, round " << round;
  }
  const Played played = PlayToEnd(FixturePath("good_1000.wav"), 5000);
  EXPECT_TRUE(played.ended);
  EXPECT_NEAR(played.sound.LoudSeconds(), 0.4, kSecondsTolerance);
}

// Without a sound server there is no output device: each file ends at once,
// silently, and the next one too. The case runs in a child process of this
// program whose environment names a sound server that is not there.
constexpr char kNoServerMark[] = "SOUNDBOARD_TEST_NO_SOUND_SERVER";

TEST(SystemAudioStream, WithoutAnOutputDeviceEachFileEndsAtOnce) {
  char mark[2];
  if (GetEnvironmentVariableA(kNoServerMark, mark, sizeof mark) > 0) {
    for (const char* name : {"good_1000.wav", "mpeg1_44k_stereo_cbr.mp3", "good_1000.wav"}) {
      EndWitness end;
      std::unique_ptr<AudioStream> stream = SystemStreams().Open(FixturePath(name), end.Callback());
      ASSERT_NE(stream, nullptr) << name;
      EXPECT_TRUE(end.WaitFor(5000)) << name << ": the end was not reported";
      stream.reset();
      EXPECT_EQ(end.Count(), 1) << name;
    }
    return;
  }
  std::string environment;
  char* inherited = GetEnvironmentStringsA();
  for (const char* entry = inherited; *entry; entry += std::strlen(entry) + 1) {
    if (std::strncmp(entry, "PULSE_SERVER=", 13) != 0) environment.append(entry).push_back('\0');
  }
  FreeEnvironmentStringsA(inherited);
  environment.append(kNoServerMark).append("=1").push_back('\0');
  environment.append("PULSE_SERVER=unix:/nonexistent/soundboard-no-server").push_back('\0');
  environment.push_back('\0');

  char program[MAX_PATH];
  GetModuleFileNameA(nullptr, program, MAX_PATH);
  std::string command = std::string("\"") + program + "\" --gtest_filter=" +
                        testing::UnitTest::GetInstance()->current_test_info()->test_suite_name() + "." +
                        testing::UnitTest::GetInstance()->current_test_info()->name();
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION child{};
  ASSERT_TRUE(CreateProcessA(program, command.data(), nullptr, nullptr, FALSE, 0, environment.data(), nullptr,
                             &startup, &child));
  ASSERT_EQ(WaitForSingleObject(child.hProcess, 60000), WAIT_OBJECT_0) << "the program without sound hangs";
  DWORD exitCode = 1;
  GetExitCodeProcess(child.hProcess, &exitCode);
  CloseHandle(child.hProcess);
  CloseHandle(child.hThread);
  EXPECT_EQ(exitCode, 0u) << "see the child's output above";
}

}  // namespace
}  // namespace soundboard
