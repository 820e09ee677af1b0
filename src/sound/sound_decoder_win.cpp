#include "sound/sound_decoder_win.h"

#include "sound/riff_wave.h"

namespace soundboard {
namespace {

constexpr uint16_t kFormatMpegLayer3 = 0x0055;

}  // namespace

std::unique_ptr<SoundDecoder> MakeSoundDecoder(std::span<const uint8_t> file) {
  const std::optional<WaveFile> wave = ParseRiffWave(file);
  if (!wave) return MakeMp3Decoder(file);
  // MP3 inside RIFF/WAVE is read frame by frame like any MP3 stream rather
  // than handed to the codec on the strength of the file's 'fmt ' chunk.
  if (wave->formatTag == kFormatMpegLayer3) {
    if (wave->dataOffset > file.size() || wave->dataBytes > file.size() - wave->dataOffset) {
      return nullptr;
    }
    return MakeMp3Decoder(file.subspan(wave->dataOffset, wave->dataBytes));
  }
  return MakeWaveDecoder(file, *wave);
}

}  // namespace soundboard
