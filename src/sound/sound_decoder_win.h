#pragma once
// Turning the bytes of a sound file into PCM for the output device.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace soundboard {

// PCM as the output device takes it: interleaved little-endian samples, 8-bit
// unsigned, 16-, 24- or 32-bit signed, or 32-bit IEEE float.
struct PcmFormat {
  uint32_t sampleRate = 0;
  uint16_t channels = 0;
  uint16_t bitsPerSample = 0;
  bool isFloat = false;

  uint32_t BytesPerFrame() const { return uint32_t(channels) * bitsPerSample / 8; }
  uint64_t BytesPerSecond() const { return uint64_t(sampleRate) * BytesPerFrame(); }
};

class SoundDecoder {
 public:
  virtual ~SoundDecoder() = default;

  virtual const PcmFormat& Format() const = 0;

  // Appends whole frames of PCM to out: at least wantBytes unless the sound
  // ends first. Returns false once the sound has ended, at its last sample or
  // at data that cannot be decoded; what was appended before is still sound.
  virtual bool Decode(size_t wantBytes, std::vector<uint8_t>& out) = 0;
};

struct WaveFile;

// A decoder for an MP3 stream found in bytes; nullptr when there is none or
// the codec refuses it.
std::unique_ptr<SoundDecoder> MakeMp3Decoder(std::span<const uint8_t> bytes);

// A decoder for the sound of a parsed RIFF/WAVE file; nullptr when its format
// is not one that plays.
std::unique_ptr<SoundDecoder> MakeWaveDecoder(std::span<const uint8_t> file, const WaveFile& wave);

// A decoder for the sound in file: RIFF/WAVE (PCM and IEEE float as they are,
// ADPCM, A-law and mu-law through the system's codecs) or an MP3 stream
// (through the system's MPEG Layer-3 codec). nullptr when the file holds no
// sound that can be decoded safely. The decoder reads file while it lives.
std::unique_ptr<SoundDecoder> MakeSoundDecoder(std::span<const uint8_t> file);

}  // namespace soundboard
