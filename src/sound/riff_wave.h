#pragma once
// Reading the format and the sound data of a RIFF/WAVE file.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace soundboard {

struct WaveFile {
  // The 'fmt ' chunk as stored (at least the 16 bytes of a PCM format; more
  // for WAVEFORMATEX with cbSize and WAVEFORMATEXTENSIBLE), ready to be handed
  // to the system as a WAVEFORMATEX.
  std::vector<uint8_t> formatChunk;
  uint16_t formatTag;      // for WAVE_FORMAT_EXTENSIBLE: the tag of the subformat
  uint16_t channels;
  uint32_t sampleRate;
  uint32_t avgBytesPerSec;
  uint16_t blockAlign;
  uint16_t bitsPerSample;
  size_t dataOffset;       // first byte of the 'data' chunk's content
  size_t dataBytes;        // clipped to the file and to whole blocks
};

// nullopt unless bytes hold a RIFF/WAVE file with a sound 'fmt ' chunk
// (channels, rate and block size not zero) and a 'data' chunk.
std::optional<WaveFile> ParseRiffWave(std::span<const uint8_t> bytes);

}  // namespace soundboard
