#include <algorithm>

#include "sound/acm_converter_win.h"
#include "sound/riff_wave.h"
#include "sound/sound_decoder_win.h"

// RIFF/WAVE: PCM and IEEE float go to the device as they are; ADPCM, A-law
// and mu-law go through the system's codecs, but only in formats whose fields
// agree with each other, since the codecs trust them to size their work.

namespace soundboard {
namespace {

constexpr uint16_t kFormatPcm = 0x0001;
constexpr uint16_t kFormatMsAdpcm = 0x0002;
constexpr uint16_t kFormatIeeeFloat = 0x0003;
constexpr uint16_t kFormatALaw = 0x0006;
constexpr uint16_t kFormatMuLaw = 0x0007;
constexpr uint16_t kFormatImaAdpcm = 0x0011;

constexpr uint16_t kMaxDeviceChannels = 8;
// Far above any real file's rate; also keeps the sizes derived from it small.
constexpr uint32_t kMaxSampleRate = 384000;
constexpr size_t kWaveFormatExBytes = 18;
// Blocks handed to a codec in one call, at most.
constexpr size_t kMaxBlocksPerCall = 16;

uint16_t Le16(const std::vector<uint8_t>& bytes, size_t at) {
  return uint16_t(bytes[at] | bytes[at + 1] << 8);
}

bool PlaysAsItIs(const WaveFile& wave) {
  const bool pcm = wave.formatTag == kFormatPcm &&
                   (wave.bitsPerSample == 8 || wave.bitsPerSample == 16 ||
                    wave.bitsPerSample == 24 || wave.bitsPerSample == 32);
  const bool ieeeFloat = wave.formatTag == kFormatIeeeFloat && wave.bitsPerSample == 32;
  return (pcm || ieeeFloat) && wave.channels <= kMaxDeviceChannels &&
         wave.sampleRate <= kMaxSampleRate &&
         wave.blockAlign == wave.channels * wave.bitsPerSample / 8;
}

// The samples per block that an ADPCM format declares after its cbSize.
uint16_t DeclaredSamplesPerBlock(const WaveFile& wave) {
  return wave.formatChunk.size() >= kWaveFormatExBytes + 2 ? Le16(wave.formatChunk, 18) : 0;
}

bool SafeForCodec(const WaveFile& wave) {
  const unsigned channels = wave.channels, block = wave.blockAlign;
  if (channels < 1 || channels > 2 || wave.sampleRate > kMaxSampleRate) return false;
  switch (wave.formatTag) {
    case kFormatALaw:
    case kFormatMuLaw:
      return wave.bitsPerSample == 8 && block == channels;
    case kFormatImaAdpcm:
      // A 4-byte header per channel, then 4-bit samples in 4-byte words.
      return wave.bitsPerSample == 4 && block > 4 * channels && block % (4 * channels) == 0 &&
             DeclaredSamplesPerBlock(wave) == (block - 4 * channels) * 2 / channels + 1;
    case kFormatMsAdpcm: {
      // A 7-byte header per channel, then 4-bit samples; at least the seven
      // standard coefficient pairs follow the samples per block.
      if (wave.bitsPerSample != 4 || block <= 7 * channels ||
          wave.formatChunk.size() < kWaveFormatExBytes + 4) {
        return false;
      }
      const unsigned coefficients = Le16(wave.formatChunk, 20);
      return coefficients >= 7 && wave.formatChunk.size() >= kWaveFormatExBytes + 4 + 4 * coefficients &&
             DeclaredSamplesPerBlock(wave) == (block - 7 * channels) * 2 / channels + 2;
    }
    default:
      return false;
  }
}

class WavePcmDecoder final : public SoundDecoder {
 public:
  WavePcmDecoder(std::span<const uint8_t> data, const WaveFile& wave) : data_(data) {
    format_.sampleRate = wave.sampleRate;
    format_.channels = wave.channels;
    format_.bitsPerSample = wave.bitsPerSample;
    format_.isFloat = wave.formatTag == kFormatIeeeFloat;
  }

  const PcmFormat& Format() const override { return format_; }

  bool Decode(size_t wantBytes, std::vector<uint8_t>& out) override {
    const size_t frame = format_.BytesPerFrame();
    const size_t bytes = std::min((wantBytes + frame - 1) / frame * frame, data_.size() - next_);
    out.insert(out.end(), data_.begin() + next_, data_.begin() + next_ + bytes);
    next_ += bytes;
    return next_ < data_.size();
  }

 private:
  std::span<const uint8_t> data_;  // whole frames: the parser clips the data to blocks
  PcmFormat format_;
  size_t next_ = 0;
};

class WaveCodecDecoder final : public SoundDecoder {
 public:
  WaveCodecDecoder(std::span<const uint8_t> data, const WaveFile& wave,
                   std::unique_ptr<AcmConverter> codec, size_t pcmBytesPerBlock)
      : data_(data), block_(wave.blockAlign), codec_(std::move(codec)),
        pcmBytesPerBlock_(pcmBytesPerBlock) {
    format_.sampleRate = wave.sampleRate;
    format_.channels = wave.channels;
    format_.bitsPerSample = 16;
  }

  const PcmFormat& Format() const override { return format_; }

  bool Decode(size_t wantBytes, std::vector<uint8_t>& out) override {
    const size_t start = out.size();
    while (!ended_ && out.size() - start < wantBytes) {
      const size_t wanted = wantBytes - (out.size() - start);
      const size_t blocks =
          std::clamp<size_t>((wanted + pcmBytesPerBlock_ - 1) / pcmBytesPerBlock_, 1, kMaxBlocksPerCall);
      const size_t bytes = std::min(blocks * block_, data_.size() - next_);
      const bool last = next_ + bytes == data_.size();
      const size_t room = codec_->OutputBound(bytes);
      if (bytes == 0 || room == 0 || !codec_->Convert(data_.subspan(next_, bytes), room, last, out)) {
        ended_ = true;
        break;
      }
      next_ += bytes;
      ended_ = last;
    }
    out.resize(out.size() - (out.size() - start) % format_.BytesPerFrame());
    return !ended_;
  }

 private:
  std::span<const uint8_t> data_;  // whole blocks
  size_t block_;
  std::unique_ptr<AcmConverter> codec_;
  size_t pcmBytesPerBlock_;
  PcmFormat format_;
  size_t next_ = 0;
  bool ended_ = false;
};

}  // namespace

std::unique_ptr<SoundDecoder> MakeWaveDecoder(std::span<const uint8_t> file, const WaveFile& wave) {
  if (wave.dataOffset > file.size() || wave.dataBytes > file.size() - wave.dataOffset) return nullptr;
  const std::span<const uint8_t> data = file.subspan(wave.dataOffset, wave.dataBytes);
  if (PlaysAsItIs(wave)) return std::make_unique<WavePcmDecoder>(data, wave);
  if (!SafeForCodec(wave)) return nullptr;
  std::unique_ptr<AcmConverter> codec = AcmConverter::Open(wave.formatChunk, /*blockAligned=*/true);
  if (!codec) return nullptr;
  const size_t pcmBytesPerBlock = codec->OutputBound(wave.blockAlign);
  if (pcmBytesPerBlock == 0) return nullptr;
  return std::make_unique<WaveCodecDecoder>(data, wave, std::move(codec), pcmBytesPerBlock);
}

}  // namespace soundboard
