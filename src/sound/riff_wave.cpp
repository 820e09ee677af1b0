#include "sound/riff_wave.h"

#include <algorithm>
#include <cstring>

// Every chunk size comes from the file: offsets are compared with the bytes
// left before they are added, so a size near 2^32 can neither overflow nor
// lead a read past the end.

namespace soundboard {
namespace {

constexpr size_t kRiffHeaderBytes = 12;   // "RIFF", size, "WAVE"
constexpr size_t kChunkHeaderBytes = 8;   // id, size
constexpr size_t kPcmFormatBytes = 16;    // WAVEFORMAT + wBitsPerSample
constexpr size_t kFormatExBytes = 18;     // WAVEFORMATEX, up to cbSize
constexpr size_t kExtensibleExtra = 22;   // Samples, dwChannelMask, SubFormat
constexpr uint16_t kFormatExtensible = 0xFFFE;

// The GUID of a subformat KSDATAFORMAT_SUBTYPE_xxx is the base GUID
// {0000xxxx-0000-0010-8000-00AA00389B71} with the format tag in its first two
// bytes; here are bytes 2..15 as they lie in the file.
constexpr uint8_t kSubformatBaseTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                            0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

uint16_t Le16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t Le32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
void PutLe16(uint8_t* p, uint16_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
}

bool IsId(const uint8_t* p, const char* id) { return std::memcmp(p, id, 4) == 0; }

// Reads the 'fmt ' chunk body into wave; false when it is not a usable format.
bool ReadFormat(std::span<const uint8_t> body, WaveFile& wave) {
  if (body.size() < kPcmFormatBytes) return false;
  const uint8_t* p = body.data();
  wave.formatTag = Le16(p);
  wave.channels = Le16(p + 2);
  wave.sampleRate = Le32(p + 4);
  wave.avgBytesPerSec = Le32(p + 8);
  wave.blockAlign = Le16(p + 12);
  wave.bitsPerSample = Le16(p + 14);
  if (wave.channels == 0 || wave.sampleRate == 0 || wave.blockAlign == 0) return false;

  // Always a whole WAVEFORMATEX whose cbSize counts exactly the bytes that
  // follow it: a 16-byte PCM chunk gets cbSize 0, and a cbSize that claims
  // more than the chunk holds is cut to what it holds.
  size_t extra = 0;
  if (body.size() >= kFormatExBytes) {
    extra = std::min<size_t>(Le16(p + 16), body.size() - kFormatExBytes);
  }
  wave.formatChunk.assign(p, p + std::min(body.size(), kFormatExBytes + extra));
  wave.formatChunk.resize(kFormatExBytes + extra, 0);
  PutLe16(wave.formatChunk.data() + 16, uint16_t(extra));

  if (wave.formatTag == kFormatExtensible) {
    if (extra < kExtensibleExtra) return false;
    const uint8_t* guid = wave.formatChunk.data() + kFormatExBytes + 6;
    // A subformat outside the base GUID family keeps the tag 0xFFFE: only the
    // system can tell whether it takes the format as it is.
    if (std::memcmp(guid + 2, kSubformatBaseTail, sizeof kSubformatBaseTail) == 0) {
      wave.formatTag = Le16(guid);
    }
  }
  return true;
}

}  // namespace

std::optional<WaveFile> ParseRiffWave(std::span<const uint8_t> bytes) {
  if (bytes.size() < kRiffHeaderBytes || !IsId(bytes.data(), "RIFF") ||
      !IsId(bytes.data() + 8, "WAVE")) {
    return std::nullopt;
  }
  // The RIFF size is often wrong (0 or 0xFFFFFFFF from streaming writers), so
  // the chunks are walked to the end of the file instead.

  WaveFile wave{};
  bool haveFormat = false, haveData = false;
  size_t dataBytes = 0;
  size_t at = kRiffHeaderBytes;
  while (!(haveFormat && haveData) && bytes.size() - at >= kChunkHeaderBytes) {
    const uint8_t* header = bytes.data() + at;
    const size_t size = Le32(header + 4);
    const size_t body = at + kChunkHeaderBytes;
    const size_t left = bytes.size() - body;
    if (IsId(header, "fmt ") && !haveFormat) {
      // A format cut by the end of the file is not trusted.
      if (size > left || !ReadFormat(bytes.subspan(body, size), wave)) return std::nullopt;
      haveFormat = true;
    } else if (IsId(header, "data") && !haveData) {
      // Sound cut by the end of the file plays as far as it goes.
      wave.dataOffset = body;
      dataBytes = std::min(size, left);
      haveData = true;
    }
    // Chunks are padded to an even length; a chunk that runs past the end
    // ends the walk.
    if (size > left || size + (size & 1) > left) break;
    at = body + size + (size & 1);
  }
  if (!haveFormat || !haveData) return std::nullopt;
  wave.dataBytes = dataBytes - dataBytes % wave.blockAlign;
  return wave;
}

}  // namespace soundboard
