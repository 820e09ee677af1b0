#pragma once
// Reading the format and the sound data of a RIFF/WAVE file.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace soundboard {

struct WaveFile {
  // The 'fmt ' chunk as stored, ready to be handed to the system as a
  // WAVEFORMATEX: always at least its 18 bytes, and its cbSize (bytes 16-17)
  // always equals size() - 18. A 16-byte PCM chunk gets cbSize 0 appended; a
  // cbSize that claims more than the chunk holds is cut to what it holds, and
  // bytes past cbSize are dropped. WAVEFORMATEXTENSIBLE keeps its 40 bytes.
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
// (channels, rate and block size not zero, wholly inside the file; for
// WAVE_FORMAT_EXTENSIBLE all 22 extra bytes) and a 'data' chunk. Chunks are
// walked to the end of the file (the RIFF size is not trusted); a 'data' chunk
// that runs past the end is cut to it. formatTag of an extensible format whose
// subformat GUID is not of the KSDATAFORMAT base family stays 0xFFFE.
std::optional<WaveFile> ParseRiffWave(std::span<const uint8_t> bytes);

}  // namespace soundboard
