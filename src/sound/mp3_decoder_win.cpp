#include <windows.h>
#include <mmsystem.h>  // left out by WIN32_LEAN_AND_MEAN
#include <mmreg.h>

#include <algorithm>
#include <cstring>

#include "sound/acm_converter_win.h"
#include "sound/mp3_scan.h"
#include "sound/sound_decoder_win.h"

// MP3 through the system's ACM MPEG Layer-3 codec. Only frames that
// NextMp3Frame accepts ever reach the codec: a free-format frame (Wine's codec
// divides by zero on it), a Xing/Info frame (it would play as silence), a
// change of sample rate or channel count, a frame cut by the end of the file
// and the tags around the stream all end or bound the stream before it.

namespace soundboard {
namespace {

// Frames handed to the codec in one call: about a fifth of a second of sound,
// never more than the output needs at the start.
constexpr size_t kMaxFramesPerCall = 8;
// Frames whose sound a codec may still hold back beyond those it was given.
constexpr size_t kCodecLagFrames = 2;

class Mp3Decoder final : public SoundDecoder {
 public:
  Mp3Decoder(std::span<const uint8_t> bytes, const Mp3Stream& stream,
             std::unique_ptr<AcmConverter> codec)
      : bytes_(bytes), stream_(stream), codec_(std::move(codec)), next_(stream.firstFrame) {
    format_.sampleRate = uint32_t(stream.format.sampleRate);
    format_.channels = uint16_t(stream.format.channels);
    format_.bitsPerSample = 16;
    pcmBytesPerFrame_ = size_t(stream.format.samplesPerFrame) * format_.BytesPerFrame();
  }

  const PcmFormat& Format() const override { return format_; }

  bool Decode(size_t wantBytes, std::vector<uint8_t>& out) override {
    const size_t start = out.size();
    while (!ended_ && out.size() - start < wantBytes) {
      const size_t wanted = wantBytes - (out.size() - start);
      const size_t from = next_;
      size_t frames = 0;
      while (frames < kMaxFramesPerCall && (frames == 0 || frames * pcmBytesPerFrame_ < wanted)) {
        const size_t length = NextMp3Frame(bytes_, stream_, next_);
        if (length == 0) break;
        next_ += length;
        ++frames;
      }
      const bool last = NextMp3Frame(bytes_, stream_, next_) == 0;
      if (frames > 0) {
        const size_t before = out.size();
        const bool converted =
            codec_->Convert(bytes_.subspan(from, next_ - from), OutputRoom(frames), last, out);
        fedFrames_ += frames;
        decodedBytes_ += out.size() - before;
        if (!converted) ended_ = true;
      }
      if (last) ended_ = true;
    }
    // Whole frames only, even from a codec that gave a part of one.
    out.resize(out.size() - (out.size() - start) % format_.BytesPerFrame());
    return !ended_;
  }

 private:
  // Room for the sound of every frame given so far that has not come out yet,
  // and of the frames given now: the codec never finds its output full.
  size_t OutputRoom(size_t frames) const {
    const size_t given = fedFrames_ * pcmBytesPerFrame_;
    const size_t held = given > decodedBytes_ ? given - decodedBytes_ : 0;
    return held + (frames + kCodecLagFrames) * pcmBytesPerFrame_;
  }

  std::span<const uint8_t> bytes_;
  Mp3Stream stream_;
  std::unique_ptr<AcmConverter> codec_;
  PcmFormat format_;
  size_t pcmBytesPerFrame_ = 0;
  size_t next_;
  size_t fedFrames_ = 0;
  size_t decodedBytes_ = 0;
  bool ended_ = false;
};

// The codec's source format, described by the stream's first frame.
MPEGLAYER3WAVEFORMAT CodecFormat(const Mp3FrameHeader& header) {
  MPEGLAYER3WAVEFORMAT format{};
  format.wfx.wFormatTag = WAVE_FORMAT_MPEGLAYER3;
  format.wfx.nChannels = WORD(header.channels);
  format.wfx.nSamplesPerSec = DWORD(header.sampleRate);
  // Never 0: Wine's codec divides by it when asked for a buffer size.
  format.wfx.nAvgBytesPerSec = DWORD(header.bitrateKbps) * 1000 / 8;
  format.wfx.nBlockAlign = 1;
  format.wfx.wBitsPerSample = 0;
  format.wfx.cbSize = MPEGLAYER3_WFX_EXTRA_BYTES;
  format.wID = MPEGLAYER3_ID_MPEG;
  format.fdwFlags = MPEGLAYER3_FLAG_PADDING_ISO;
  format.nBlockSize = WORD(header.frameBytes);
  format.nFramesPerBlock = 1;
  format.nCodecDelay = 0;
  return format;
}

}  // namespace

std::unique_ptr<SoundDecoder> MakeMp3Decoder(std::span<const uint8_t> bytes) {
  const std::optional<Mp3Stream> stream = LocateMp3Stream(bytes);
  if (!stream || stream->format.bitrateKbps <= 0 || stream->format.frameBytes <= 0 ||
      stream->format.samplesPerFrame <= 0 || stream->format.channels < 1 ||
      stream->format.channels > 2) {
    return nullptr;
  }
  const MPEGLAYER3WAVEFORMAT format = CodecFormat(stream->format);
  uint8_t formatBytes[sizeof format];
  std::memcpy(formatBytes, &format, sizeof format);
  std::unique_ptr<AcmConverter> codec = AcmConverter::Open(formatBytes, /*blockAligned=*/false);
  if (!codec) return nullptr;
  return std::make_unique<Mp3Decoder>(bytes, *stream, std::move(codec));
}

}  // namespace soundboard
