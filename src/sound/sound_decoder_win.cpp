#include "sound/sound_decoder_win.h"

#include <algorithm>

#include "sound/riff_wave.h"

namespace soundboard {
namespace {

constexpr uint16_t kFormatMpegLayer3 = 0x0055;

// The 'data' chunk as stored, up to the end of the file. The parser cuts it to
// whole blocks of the format, which for MP3 are no unit of the stream (its
// writers put 1 or 1152 there) and would cut off its last frames.
std::span<const uint8_t> StoredData(std::span<const uint8_t> file, const WaveFile& wave) {
  if (wave.dataOffset < 4 || wave.dataOffset > file.size()) return {};
  const uint8_t* size = file.data() + wave.dataOffset - 4;
  const size_t stored = uint32_t(size[0]) | uint32_t(size[1]) << 8 | uint32_t(size[2]) << 16 |
                        uint32_t(size[3]) << 24;
  return file.subspan(wave.dataOffset, std::min(stored, file.size() - wave.dataOffset));
}

}  // namespace

std::unique_ptr<SoundDecoder> MakeSoundDecoder(std::span<const uint8_t> file) {
  const std::optional<WaveFile> wave = ParseRiffWave(file);
  if (!wave) return MakeMp3Decoder(file);
  // MP3 inside RIFF/WAVE is read frame by frame like any MP3 stream rather
  // than handed to the codec on the strength of the file's 'fmt ' chunk.
  if (wave->formatTag == kFormatMpegLayer3) return MakeMp3Decoder(StoredData(file, *wave));
  return MakeWaveDecoder(file, *wave);
}

}  // namespace soundboard
