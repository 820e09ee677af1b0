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
// Every Layer III decoder puts this many samples before the first one coded.
constexpr size_t kDecoderDelaySamples = 529;
// The longest Layer III frame: 320 kbps at 32 kHz, or 160 kbps at 8 kHz.
constexpr size_t kMaxFrameBytes = 1441;

uint32_t Be32(const uint8_t* p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}

// Samples at the start of the decoded sound that are no part of it: the
// encoder's delay, which a LAME tag in the Xing/Info frame just before the
// first frame records, plus the decoder's own delay. 0 without such a tag.
// Dropping them starts the sound at once, as players that read the tag do.
size_t LeadingPaddingSamples(std::span<const uint8_t> bytes, const Mp3Stream& stream) {
  const size_t first = stream.firstFrame;
  for (size_t length = 4; length <= kMaxFrameBytes && length <= first; ++length) {
    const std::span<const uint8_t> frame = bytes.subspan(first - length, length);
    const std::optional<Mp3FrameHeader> header = ParseMp3FrameHeader(frame);
    if (!header || size_t(header->frameBytes) != length) continue;
    const bool crc = (frame[1] & 0x01) == 0;
    const size_t sideInfo = header->version == MpegVersion::Mpeg1 ? (header->channels == 1 ? 17 : 32)
                                                                   : (header->channels == 1 ? 9 : 17);
    const size_t tag = 4 + (crc ? 2 : 0) + sideInfo;
    if (tag + 8 > length ||
        (std::memcmp(&frame[tag], "Xing", 4) != 0 && std::memcmp(&frame[tag], "Info", 4) != 0)) {
      continue;
    }
    // Frame count, byte count, table of contents and quality, each when its
    // flag is set; then the LAME extension, whose bytes 21 to 23 hold the
    // encoder's delay (12 bits) and padding (12 bits).
    const uint32_t flags = Be32(&frame[tag + 4]);
    const size_t lame = tag + 8 + (flags & 1 ? 4 : 0) + (flags & 2 ? 4 : 0) + (flags & 4 ? 100 : 0) +
                        (flags & 8 ? 4 : 0);
    if (lame + 24 > length) return 0;
    const bool lameWrote = std::memcmp(&frame[lame], "LAME", 4) == 0 ||
                           std::memcmp(&frame[lame], "Lavc", 4) == 0 ||
                           std::memcmp(&frame[lame], "Lavf", 4) == 0;
    if (!lameWrote) return 0;
    const size_t encoderDelay = size_t(frame[lame + 21]) << 4 | frame[lame + 22] >> 4;
    return encoderDelay + kDecoderDelaySamples;
  }
  return 0;
}

class Mp3Decoder final : public SoundDecoder {
 public:
  Mp3Decoder(std::span<const uint8_t> bytes, const Mp3Stream& stream,
             std::unique_ptr<AcmConverter> codec)
      : bytes_(bytes), stream_(stream), codec_(std::move(codec)), next_(stream.firstFrame) {
    format_.sampleRate = uint32_t(stream.format.sampleRate);
    format_.channels = uint16_t(stream.format.channels);
    format_.bitsPerSample = 16;
    pcmBytesPerFrame_ = size_t(stream.format.samplesPerFrame) * format_.BytesPerFrame();
    paddingBytes_ = LeadingPaddingSamples(bytes, stream) * format_.BytesPerFrame();
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
        DropLeadingPadding(out, before);
        if (!converted) ended_ = true;
      }
      if (last) ended_ = true;
    }
    // Whole frames only, even from a codec that gave a part of one.
    out.resize(out.size() - (out.size() - start) % format_.BytesPerFrame());
    return !ended_;
  }

 private:
  void DropLeadingPadding(std::vector<uint8_t>& out, size_t from) {
    const size_t drop = std::min(paddingBytes_, out.size() - from);
    out.erase(out.begin() + from, out.begin() + from + drop);
    paddingBytes_ -= drop;
  }

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
  size_t paddingBytes_ = 0;  // decoded bytes still to drop at the start
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
