// Files that cannot play, or play only in part: each is refused at once or
// plays only its good part, its end is reported, nothing crashes or hangs,
// and a good file plays right after.

#include <windows.h>

#include <gtest/gtest.h>

#include "stream_test_support.h"

namespace soundboard {
namespace {

enum class Outcome {
  Refused,   // Open gives no stream
  Silent,    // a stream that reports its end without a sound
  GoodPart,  // the sound before the bad part, then the end
};

struct BadFile {
  const char* name;
  Outcome outcome;
  double seconds = 0;  // GoodPart: the length of the good part
  double hertz = 0;    // GoodPart: its tone
};

std::ostream& operator<<(std::ostream& out, const BadFile& file) { return out << file.name; }

// As make_fixtures.sh makes them.
const BadFile kBadFiles[] = {
    {"missing.mp3", Outcome::Refused},
    {"folder.mp3", Outcome::Refused},
    {"empty.mp3", Outcome::Silent},
    {"random.mp3", Outcome::Silent},
    {"id3v2_past_end.mp3", Outcome::Silent},
    {"free_format.mp3", Outcome::Silent},
    {"ima_adpcm_bad_block.wav", Outcome::Silent},
    {"wav_no_data.wav", Outcome::Silent},
    {"cut_mid_frame.mp3", Outcome::GoodPart, 0.5, 440},
    {"rate_change.mp3", Outcome::GoodPart, 0.5, 440},
    {"huge.mp3", Outcome::GoodPart, 0.5, 440},
};

constexpr double kSecondsTolerance = 0.06;
constexpr int kEndTimeoutMs = 5000;

void ExpectGoodFilePlays() {
  const Played played = PlayToEnd(FixturePath("good_1000.wav"), kEndTimeoutMs);
  ASSERT_TRUE(played.opened);
  EXPECT_TRUE(played.ended);
  EXPECT_NEAR(played.sound.LoudSeconds(), 0.4, kSecondsTolerance) << "the good file after it did not play whole";
  EXPECT_NEAR(played.sound.DominantHertz(0, 0, played.sound.Frames()), 1000, 25);
}

class BadFileTest : public testing::TestWithParam<BadFile> {};

TEST_P(BadFileTest, EndsQuietlyAndTheNextFilePlays) {
  ASSERT_TRUE(SharedRecorder().Started()) << "the sound server's monitor cannot be recorded";
  const BadFile& file = GetParam();
  const Played played = PlayToEnd(FixturePath(file.name), kEndTimeoutMs + int(file.seconds * 1000));
  const RecordedSound::Span loud = played.sound.Loud();
  switch (file.outcome) {
    case Outcome::Refused:
      EXPECT_FALSE(played.opened);
      EXPECT_TRUE(loud.Empty());
      break;
    case Outcome::Silent:
      ASSERT_TRUE(played.opened);
      EXPECT_TRUE(played.ended) << "the end was not reported";
      EXPECT_EQ(played.endCalls, 1);
      EXPECT_TRUE(loud.Empty()) << played.sound.LoudSeconds() << " s of sound";
      break;
    case Outcome::GoodPart:
      ASSERT_TRUE(played.opened);
      EXPECT_TRUE(played.ended) << "the end was not reported";
      EXPECT_EQ(played.endCalls, 1);
      EXPECT_NEAR(played.sound.LoudSeconds(), file.seconds, kSecondsTolerance);
      EXPECT_NEAR(played.sound.DominantHertz(0, 0, played.sound.Frames()), file.hertz, 10);
      break;
  }
  ExpectGoodFilePlays();
}

INSTANTIATE_TEST_SUITE_P(Table, BadFileTest, testing::ValuesIn(kBadFiles),
                         [](const testing::TestParamInfo<BadFile>& info) {
                           std::string name = info.param.name;
                           for (char& c : name) {
                             if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return name;
                         });

TEST(BadFile, RateChangePlaysNothingOfTheSecondRate) {
  ASSERT_TRUE(SharedRecorder().Started());
  const Played played = PlayToEnd(FixturePath("rate_change.mp3"), kEndTimeoutMs);
  const RecordedSound::Span loud = played.sound.Loud();
  ASSERT_FALSE(loud.Empty());
  EXPECT_LT(played.sound.Amplitude(0, loud.first, played.sound.Frames(), 880), kLoudThreshold / 4);
}

TEST(BadFile, FileHeldOpenForWritingIsRefusedUntilClosed) {
  ASSERT_TRUE(SharedRecorder().Started());
  const std::string path = FixturePath("good_1000.wav");
  HANDLE writer = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  const Played whileHeld = PlayToEnd(path, kEndTimeoutMs);
  CloseHandle(writer);
  EXPECT_FALSE(whileHeld.opened);
  EXPECT_TRUE(whileHeld.sound.Loud().Empty());
  ExpectGoodFilePlays();
}

}  // namespace
}  // namespace soundboard
