#include "sound/mp3_scan.h"

#include <algorithm>
#include <array>
#include <cstring>

// Every offset here is checked against the span's size before a byte is read:
// the input is a whole file of unknown content. Arithmetic on offsets is done
// in size_t after a comparison that rules out overflow (a header value is at
// most 2^28 for ID3v2 and 2^32 for APE, far below size_t's range).

namespace soundboard {
namespace {

// Layer III bit rates in kbps by bitrate index; index 0 is free format and 15
// is not allowed, both refused (0 here marks them).
constexpr std::array<int, 16> kBitratesV1 = {0,   32,  40,  48,  56,  64,  80,  96,
                                             112, 128, 160, 192, 224, 256, 320, 0};
constexpr std::array<int, 16> kBitratesV2 = {0,  8,  16, 24,  32,  40,  48,  56,
                                             64, 80, 96, 112, 128, 144, 160, 0};

// Sample rates in Hz by sample-rate index; index 3 is reserved.
constexpr std::array<int, 3> kRatesV1 = {44100, 48000, 32000};
constexpr std::array<int, 3> kRatesV2 = {22050, 24000, 16000};
constexpr std::array<int, 3> kRatesV25 = {11025, 12000, 8000};

constexpr size_t kHeaderBytes = 4;
constexpr size_t kId3v2HeaderBytes = 10;
constexpr size_t kId3v1Bytes = 128;
constexpr size_t kApeFooterBytes = 32;

// How far past the leading tags the first frame is searched for.
constexpr size_t kSearchLimit = 64 * 1024;
// Frames after the first that must follow it, back to back, before a sync
// word is believed (or the data ends sooner).
constexpr int kConfirmingFrames = 2;

bool SameStream(const Mp3FrameHeader& a, const Mp3FrameHeader& b) {
  return a.version == b.version && a.sampleRate == b.sampleRate && a.channels == b.channels;
}

bool HasTag(std::span<const uint8_t> bytes, size_t offset, const char* tag) {
  const size_t n = std::strlen(tag);
  return offset <= bytes.size() && bytes.size() - offset >= n &&
         std::memcmp(bytes.data() + offset, tag, n) == 0;
}

uint32_t ReadLe32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// Length of the ID3v2 tag at offset (header, body and footer), 0 when there is
// none. The length may run past the end of bytes; the caller checks.
size_t Id3v2TagBytes(std::span<const uint8_t> bytes, size_t offset) {
  if (offset > bytes.size() || bytes.size() - offset < kId3v2HeaderBytes) return 0;
  const uint8_t* p = bytes.data() + offset;
  if (p[0] != 'I' || p[1] != 'D' || p[2] != '3') return 0;
  if (p[3] == 0xFF || p[4] == 0xFF) return 0;  // version bytes are never 0xFF
  if ((p[6] | p[7] | p[8] | p[9]) & 0x80) return 0;  // size is syncsafe
  const size_t body = size_t(p[6]) << 21 | size_t(p[7]) << 14 | size_t(p[8]) << 7 | size_t(p[9]);
  const bool footer = p[3] >= 4 && (p[5] & 0x10) != 0;
  // The extended header, when flagged, lies inside the body: skipping the
  // body skips it.
  return kId3v2HeaderBytes + body + (footer ? kId3v2HeaderBytes : 0);
}

// Length of the APEv2 tag ending at end (footer, items and the header when
// flagged), 0 when there is none or it does not fit before end.
size_t ApeTagBytes(std::span<const uint8_t> bytes, size_t end) {
  if (end < kApeFooterBytes || !HasTag(bytes, end - kApeFooterBytes, "APETAGEX")) return 0;
  const uint8_t* footer = bytes.data() + end - kApeFooterBytes;
  const uint64_t size = ReadLe32(footer + 12);  // items + footer
  const uint32_t flags = ReadLe32(footer + 20);
  const uint64_t total = size + ((flags & 0x80000000u) ? kApeFooterBytes : 0);
  if (size < kApeFooterBytes || total > end) return 0;
  return size_t(total);
}

// Offset of the Xing/Info tag in a Layer III frame: after the header, the
// optional CRC and the side information, whose size depends on version and
// channels.
size_t SideInfoBytes(const Mp3FrameHeader& h) {
  if (h.version == MpegVersion::Mpeg1) return h.channels == 1 ? 17 : 32;
  return h.channels == 1 ? 9 : 17;
}

// True when the frame at offset (whole, header h) is a Xing, Info (LAME) or
// VBRI information frame: it holds no sound and is never played.
bool IsInfoFrame(std::span<const uint8_t> frame, const Mp3FrameHeader& h) {
  const size_t side = kHeaderBytes + SideInfoBytes(h);
  const bool crc = (frame[1] & 0x01) == 0;
  for (size_t at : {side, side + (crc ? 2 : 0)}) {
    if (HasTag(frame, at, "Xing") || HasTag(frame, at, "Info")) return true;
  }
  // VBRI (Fraunhofer) sits 32 bytes after the header, whatever the version.
  return HasTag(frame, kHeaderBytes + 32, "VBRI");
}

// The header at offset when it belongs to a stream like format and its frame
// ends at or before end.
std::optional<Mp3FrameHeader> MatchingFrame(std::span<const uint8_t> file, size_t offset,
                                            size_t end, const Mp3FrameHeader& format) {
  if (offset >= end) return std::nullopt;
  auto h = ParseMp3FrameHeader(file.subspan(offset, end - offset));
  if (!h || !SameStream(*h, format) || size_t(h->frameBytes) > end - offset) return std::nullopt;
  return h;
}

// Whether the frame at offset (header h, whole before end) is followed by
// kConfirmingFrames more frames of the same stream, or by the end of the data
// sooner: a matching header whose frame is cut by the end also counts, as does
// a remainder too short to hold a header.
bool Confirmed(std::span<const uint8_t> file, size_t offset, size_t end,
               const Mp3FrameHeader& h) {
  size_t at = offset + size_t(h.frameBytes);
  for (int i = 0; i < kConfirmingFrames; ++i) {
    if (end - at < kHeaderBytes) return true;
    auto next = ParseMp3FrameHeader(file.subspan(at, end - at));
    if (!next || !SameStream(*next, h)) return false;
    if (size_t(next->frameBytes) > end - at) return true;
    at += size_t(next->frameBytes);
  }
  return true;
}

}  // namespace

std::optional<Mp3FrameHeader> ParseMp3FrameHeader(std::span<const uint8_t> bytes) {
  if (bytes.size() < kHeaderBytes) return std::nullopt;
  const uint8_t b1 = bytes[1], b2 = bytes[2], b3 = bytes[3];
  if (bytes[0] != 0xFF || (b1 & 0xE0) != 0xE0) return std::nullopt;

  Mp3FrameHeader h{};
  switch ((b1 >> 3) & 0x03) {
    case 0: h.version = MpegVersion::Mpeg25; break;
    case 2: h.version = MpegVersion::Mpeg2; break;
    case 3: h.version = MpegVersion::Mpeg1; break;
    default: return std::nullopt;  // reserved
  }
  if (((b1 >> 1) & 0x03) != 0x01) return std::nullopt;  // not Layer III

  const int bitrateIndex = b2 >> 4;
  const int rateIndex = (b2 >> 2) & 0x03;
  if (rateIndex == 3) return std::nullopt;  // reserved
  const bool mpeg1 = h.version == MpegVersion::Mpeg1;
  h.bitrateKbps = (mpeg1 ? kBitratesV1 : kBitratesV2)[bitrateIndex];
  if (h.bitrateKbps == 0) return std::nullopt;  // free format (0) or bad (15)
  switch (h.version) {
    case MpegVersion::Mpeg1: h.sampleRate = kRatesV1[rateIndex]; break;
    case MpegVersion::Mpeg2: h.sampleRate = kRatesV2[rateIndex]; break;
    case MpegVersion::Mpeg25: h.sampleRate = kRatesV25[rateIndex]; break;
  }
  const int padding = (b2 >> 1) & 0x01;
  h.channels = (b3 >> 6) == 0x03 ? 1 : 2;
  h.samplesPerFrame = mpeg1 ? 1152 : 576;
  // samplesPerFrame / 8 bits per byte = 144 (MPEG-1) or 72 (MPEG-2, 2.5).
  h.frameBytes = (mpeg1 ? 144000 : 72000) * h.bitrateKbps / h.sampleRate + padding;
  return h;
}

std::optional<Mp3Stream> LocateMp3Stream(std::span<const uint8_t> file) {
  // Leading ID3v2 tags, one after another. A tag that claims more bytes than
  // the file holds leaves no room for a stream.
  size_t start = 0;
  while (size_t tag = Id3v2TagBytes(file, start)) {
    if (tag > file.size() - start) return std::nullopt;
    start += tag;
  }

  // Trailing tags: APEv2 usually sits before ID3v1, but either may be alone.
  size_t end = file.size();
  if (end - start >= kId3v1Bytes && HasTag(file, end - kId3v1Bytes, "TAG")) end -= kId3v1Bytes;
  if (size_t ape = ApeTagBytes(file, end); ape != 0 && ape <= end - start) end -= ape;

  const size_t searchEnd = start + std::min(end - start, kSearchLimit);
  for (size_t at = start; at < searchEnd; ++at) {
    if (file[at] != 0xFF) continue;
    auto h = ParseMp3FrameHeader(file.subspan(at, end - at));
    if (!h || size_t(h->frameBytes) > end - at || !Confirmed(file, at, end, *h)) continue;

    Mp3Stream stream{at, end, *h};
    if (IsInfoFrame(file.subspan(at, size_t(h->frameBytes)), *h)) {
      const size_t next = at + size_t(h->frameBytes);
      auto sound = MatchingFrame(file, next, end, *h);
      if (!sound) return std::nullopt;  // an information frame and no sound
      stream.firstFrame = next;
      stream.format = *sound;
    }
    return stream;
  }
  return std::nullopt;
}

size_t NextMp3Frame(std::span<const uint8_t> file, const Mp3Stream& stream, size_t offset) {
  const size_t end = std::min(stream.audioEnd, file.size());
  auto h = MatchingFrame(file, offset, end, stream.format);
  return h ? size_t(h->frameBytes) : 0;
}

}  // namespace soundboard
