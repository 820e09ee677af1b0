// The decoders alone, without a device: the format and length of what each
// file decodes to, and MP3 sound that starts at once when a LAME tag records
// the encoder's delay.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "sound/sound_decoder_win.h"
#include "stream_test_support.h"

namespace soundboard {
namespace {

std::vector<uint8_t> ReadFixture(const std::string& name) {
  std::ifstream file(FixturePath(name), std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Decodes the whole file in the pieces the stream asks for.
std::vector<uint8_t> DecodeAll(SoundDecoder& decoder) {
  std::vector<uint8_t> pcm;
  const size_t piece = decoder.Format().BytesPerSecond() / 20;
  while (decoder.Decode(piece, pcm)) {
  }
  return pcm;
}

struct DecodedFile {
  const char* name;
  uint32_t sampleRate;
  uint16_t channels;
  uint16_t bitsPerSample;
  bool isFloat;
  double seconds;  // the tone; an MP3 adds up to a frame and a half of padding
};

std::ostream& operator<<(std::ostream& out, const DecodedFile& file) { return out << file.name; }

const DecodedFile kDecodedFiles[] = {
    {"mpeg1_44k_stereo_cbr.mp3", 44100, 2, 16, false, 0.8},
    {"mpeg2_24k_stereo_vbr.mp3", 24000, 2, 16, false, 0.8},
    {"mpeg25_8k_mono_cbr.mp3", 8000, 1, 16, false, 0.8},
    {"mp3_in_riff.wav", 44100, 2, 16, false, 0.8},
    {"pcm8_22k_mono.wav", 22050, 1, 8, false, 0.8},
    {"pcm24_48k_mono.wav", 48000, 1, 24, false, 0.8},
    {"float32_44k_mono.wav", 44100, 1, 32, true, 0.8},
    {"ima_adpcm_22k_stereo.wav", 22050, 2, 16, false, 0.8},
    {"ms_adpcm_44k_mono.wav", 44100, 1, 16, false, 0.8},
    {"alaw_8k_mono.wav", 8000, 1, 16, false, 0.8},
    {"mulaw_8k_stereo.wav", 8000, 2, 16, false, 0.8},
};

class DecodesTo : public testing::TestWithParam<DecodedFile> {};

TEST_P(DecodesTo, ItsFormatAndLength) {
  const DecodedFile& expected = GetParam();
  const std::vector<uint8_t> bytes = ReadFixture(expected.name);
  std::unique_ptr<SoundDecoder> decoder = MakeSoundDecoder(bytes);
  ASSERT_NE(decoder, nullptr);
  const PcmFormat& format = decoder->Format();
  EXPECT_EQ(format.sampleRate, expected.sampleRate);
  EXPECT_EQ(format.channels, expected.channels);
  EXPECT_EQ(format.bitsPerSample, expected.bitsPerSample);
  EXPECT_EQ(format.isFloat, expected.isFloat);
  const std::vector<uint8_t> pcm = DecodeAll(*decoder);
  EXPECT_EQ(pcm.size() % format.BytesPerFrame(), 0u);
  const double seconds = double(pcm.size() / format.BytesPerFrame()) / format.sampleRate;
  EXPECT_GE(seconds, expected.seconds - 0.01);
  EXPECT_LE(seconds, expected.seconds + 1.5 * 1152.0 / format.sampleRate + 0.01);
}

INSTANTIATE_TEST_SUITE_P(Files, DecodesTo, testing::ValuesIn(kDecodedFiles),
                         [](const testing::TestParamInfo<DecodedFile>& info) {
                           return "File" + std::to_string(info.index);
                         });

// Seconds before the first sample above a tenth of the tone's amplitude.
double LeadingQuiet(const char* name) {
  const std::vector<uint8_t> bytes = ReadFixture(name);
  std::unique_ptr<SoundDecoder> decoder = MakeSoundDecoder(bytes);
  if (!decoder) return -1;
  const std::vector<uint8_t> pcm = DecodeAll(*decoder);
  const size_t samples = pcm.size() / 2;
  for (size_t i = 0; i < samples; ++i) {
    const int16_t sample = int16_t(pcm[2 * i] | pcm[2 * i + 1] << 8);
    if (std::abs(sample) > 1600) return double(i / decoder->Format().channels) / decoder->Format().sampleRate;
  }
  return -1;
}

TEST(Mp3Decoder, DropsTheEncoderDelayThatALameTagRecords) {
  // Tagged: the tone from its first samples. Untagged: the delay of 1105
  // samples (25 ms at 44.1 kHz) that every decoder puts in front, as it is.
  const double tagged = LeadingQuiet("long_440.mp3");
  const double untagged = LeadingQuiet("cut_mid_frame.mp3");
  EXPECT_GE(tagged, 0.0);
  EXPECT_LT(tagged, 0.003);
  EXPECT_GT(untagged, 0.02);
}

TEST(SoundDecoder, RefusesWhatCannotBePlayedSafely) {
  for (const char* name : {"empty.mp3", "random.mp3", "id3v2_past_end.mp3", "free_format.mp3",
                           "ima_adpcm_bad_block.wav"}) {
    const std::vector<uint8_t> bytes = ReadFixture(name);
    EXPECT_EQ(MakeSoundDecoder(bytes), nullptr) << name;
  }
}

}  // namespace
}  // namespace soundboard
