#include "sound/mp3_scan.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace soundboard {
namespace {

using Bytes = std::vector<uint8_t>;

// Header fields as they lie in the bits.
enum VersionBits : uint8_t { kV25 = 0, kVReserved = 1, kV2 = 2, kV1 = 3 };
enum LayerBits : uint8_t { kLayerReserved = 0, kLayer3 = 1, kLayer2 = 2, kLayer1 = 3 };
enum ModeBits : uint8_t { kStereo = 0, kJoint = 1, kDual = 2, kMono = 3 };

struct HeaderBits {
  uint8_t version = kV1;
  uint8_t layer = kLayer3;
  uint8_t bitrateIndex = 9;  // 128 kbps in MPEG-1, 64 kbps in MPEG-2 and 2.5
  uint8_t rateIndex = 0;
  uint8_t padding = 0;
  uint8_t mode = kJoint;
  bool crc = false;
};

Bytes Header(const HeaderBits& h) {
  return {0xFF, uint8_t(0xE0 | h.version << 3 | h.layer << 1 | (h.crc ? 0 : 1)),
          uint8_t(h.bitrateIndex << 4 | h.rateIndex << 2 | h.padding << 1),
          uint8_t(h.mode << 6)};
}

// A whole frame: the header, then filler up to the length the header gives.
Bytes Frame(const HeaderBits& h, uint8_t fill = 0x55) {
  Bytes frame = Header(h);
  auto parsed = ParseMp3FrameHeader(frame);
  EXPECT_TRUE(parsed.has_value());
  frame.resize(parsed ? size_t(parsed->frameBytes) : 4, fill);
  return frame;
}

// A frame whose side information is followed by tag, as LAME and Fraunhofer
// write their information frames.
Bytes InfoFrame(const HeaderBits& h, const char* tag, size_t at) {
  Bytes frame = Frame(h, 0);
  std::memcpy(frame.data() + at, tag, 4);
  return frame;
}

Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

Bytes Repeat(const Bytes& part, int times) {
  Bytes all;
  for (int i = 0; i < times; ++i) all.insert(all.end(), part.begin(), part.end());
  return all;
}

Bytes Prefix(const Bytes& b, size_t n) { return Bytes(b.begin(), b.begin() + n); }

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

// An ID3v2 tag of version major with bodyBytes of body; the footer flag adds
// a 10-byte footer, the extended-header flag a 6-byte extended header inside
// the body.
Bytes Id3v2(uint8_t major, size_t bodyBytes, bool footer = false, bool extended = false) {
  const uint8_t flags = uint8_t((footer ? 0x10 : 0) | (extended ? 0x40 : 0));
  auto syncsafe = [](size_t n) {
    return Bytes{uint8_t(n >> 21 & 0x7F), uint8_t(n >> 14 & 0x7F), uint8_t(n >> 7 & 0x7F),
                 uint8_t(n & 0x7F)};
  };
  Bytes body(bodyBytes, 0);
  if (extended) {
    // An extended header that itself looks like a frame sync must not matter.
    const Bytes ext = {0, 0, 0, 6, 0xFF, 0xFB};
    std::copy(ext.begin(), ext.end(), body.begin());
  }
  Bytes tag = Cat({Text("ID3"), {major, 0, flags}, syncsafe(bodyBytes), body});
  if (footer) tag = Cat({tag, Text("3DI"), {major, 0, flags}, syncsafe(bodyBytes)});
  return tag;
}

// Only the 10-byte header of such a tag: what follows is not its body.
Bytes Id3v2Header(uint8_t major, size_t bodyBytes, bool footer = false) {
  Bytes tag = Id3v2(major, 0, footer);
  tag.resize(10);
  tag[6] = uint8_t(bodyBytes >> 21 & 0x7F);
  tag[7] = uint8_t(bodyBytes >> 14 & 0x7F);
  tag[8] = uint8_t(bodyBytes >> 7 & 0x7F);
  tag[9] = uint8_t(bodyBytes & 0x7F);
  return tag;
}

Bytes Id3v1() {
  Bytes tag = Text("TAG");
  tag.resize(128, 0xFF);  // 0xFF bytes: a tag that could pass for a sync
  return tag;
}

Bytes Ape(bool withHeader) {
  const Bytes items = Cat({{5, 0, 0, 0, 0, 0, 0, 0}, Text("Title"), {0}, Text("hello")});
  const uint32_t size = uint32_t(items.size() + 32);
  auto block = [&](uint32_t flags) {
    Bytes b = Text("APETAGEX");
    for (uint32_t v : {2000u, size, 1u, flags}) {
      for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i)));
    }
    b.resize(32, 0);
    return b;
  };
  const uint32_t hasHeader = withHeader ? 0x80000000u : 0;
  return Cat({withHeader ? block(hasHeader | 0x20000000u) : Bytes{}, items, block(hasHeader)});
}

// Offsets of the frames that a player walks, from firstFrame on.
std::vector<size_t> Walk(const Bytes& file, const Mp3Stream& stream) {
  std::vector<size_t> offsets;
  size_t at = stream.firstFrame;
  while (size_t n = NextMp3Frame(file, stream, at)) {
    offsets.push_back(at);
    at += n;
  }
  return offsets;
}

// --- Frame headers ---------------------------------------------------------

struct HeaderCase {
  const char* name;
  HeaderBits bits;
  MpegVersion version;
  int bitrateKbps;
  int sampleRate;
  int channels;
  int frameBytes;
  int samplesPerFrame;
};

class Mp3HeaderTable : public testing::TestWithParam<HeaderCase> {};

TEST_P(Mp3HeaderTable, ReadsEveryField) {
  const HeaderCase& c = GetParam();
  auto h = ParseMp3FrameHeader(Header(c.bits));
  ASSERT_TRUE(h.has_value());
  EXPECT_EQ(h->version, c.version);
  EXPECT_EQ(h->bitrateKbps, c.bitrateKbps);
  EXPECT_EQ(h->sampleRate, c.sampleRate);
  EXPECT_EQ(h->channels, c.channels);
  EXPECT_EQ(h->frameBytes, c.frameBytes);
  EXPECT_EQ(h->samplesPerFrame, c.samplesPerFrame);
}

constexpr MpegVersion V1 = MpegVersion::Mpeg1, V2 = MpegVersion::Mpeg2, V25 = MpegVersion::Mpeg25;

INSTANTIATE_TEST_SUITE_P(
    Mp3Scan, Mp3HeaderTable,
    testing::Values(
        // MPEG-1: 144 * bitrate / rate (+ padding), 1152 samples.
        HeaderCase{"v1_128_44k", {kV1, kLayer3, 9, 0, 0, kJoint}, V1, 128, 44100, 2, 417, 1152},
        HeaderCase{"v1_128_44k_pad", {kV1, kLayer3, 9, 0, 1, kStereo}, V1, 128, 44100, 2, 418, 1152},
        HeaderCase{"v1_32_32k_mono", {kV1, kLayer3, 1, 2, 0, kMono}, V1, 32, 32000, 1, 144, 1152},
        HeaderCase{"v1_320_48k_dual", {kV1, kLayer3, 14, 1, 0, kDual}, V1, 320, 48000, 2, 960, 1152},
        HeaderCase{"v1_40_44k", {kV1, kLayer3, 2, 0, 0, kStereo}, V1, 40, 44100, 2, 130, 1152},
        HeaderCase{"v1_256_32k_crc", {kV1, kLayer3, 13, 2, 0, kJoint, true}, V1, 256, 32000, 2, 1152, 1152},
        // MPEG-2: 72 * bitrate / rate (+ padding), 576 samples.
        HeaderCase{"v2_64_22k", {kV2, kLayer3, 8, 0, 0, kMono}, V2, 64, 22050, 1, 208, 576},
        HeaderCase{"v2_8_24k", {kV2, kLayer3, 1, 1, 0, kStereo}, V2, 8, 24000, 2, 24, 576},
        HeaderCase{"v2_160_16k_pad", {kV2, kLayer3, 14, 2, 1, kJoint}, V2, 160, 16000, 2, 721, 576},
        HeaderCase{"v2_144_22k", {kV2, kLayer3, 13, 0, 0, kJoint}, V2, 144, 22050, 2, 470, 576},
        // MPEG-2.5: the same formula at 11025, 12000 and 8000 Hz.
        HeaderCase{"v25_8_8k", {kV25, kLayer3, 1, 2, 0, kMono}, V25, 8, 8000, 1, 72, 576},
        HeaderCase{"v25_40_11k", {kV25, kLayer3, 5, 0, 0, kStereo}, V25, 40, 11025, 2, 261, 576},
        HeaderCase{"v25_160_12k_pad", {kV25, kLayer3, 14, 1, 1, kMono}, V25, 160, 12000, 1, 961, 576}),
    [](const auto& info) { return std::string(info.param.name); });

struct RefusedCase {
  const char* name;
  Bytes bytes;
};

class Mp3RefusedHeaderTable : public testing::TestWithParam<RefusedCase> {};

TEST_P(Mp3RefusedHeaderTable, IsNoFrame) {
  EXPECT_FALSE(ParseMp3FrameHeader(GetParam().bytes).has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Mp3Scan, Mp3RefusedHeaderTable,
    testing::Values(RefusedCase{"free_format_v1", Header({kV1, kLayer3, 0})},
                    RefusedCase{"free_format_v2", Header({kV2, kLayer3, 0})},
                    RefusedCase{"free_format_v25", Header({kV25, kLayer3, 0})},
                    RefusedCase{"bad_bitrate_v1", Header({kV1, kLayer3, 15})},
                    RefusedCase{"bad_bitrate_v2", Header({kV2, kLayer3, 15})},
                    RefusedCase{"reserved_version", Header({kVReserved, kLayer3})},
                    RefusedCase{"reserved_rate_v1", Header({kV1, kLayer3, 9, 3})},
                    RefusedCase{"reserved_rate_v25", Header({kV25, kLayer3, 9, 3})},
                    RefusedCase{"layer_1", Header({kV1, kLayer1})},
                    RefusedCase{"layer_2", Header({kV1, kLayer2})},
                    RefusedCase{"reserved_layer", Header({kV1, kLayerReserved})},
                    RefusedCase{"no_sync", Bytes{0xFF, 0x1B, 0x90, 0x40}},
                    RefusedCase{"three_bytes", Bytes{0xFF, 0xFB, 0x90}},
                    RefusedCase{"empty", Bytes{}}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Finding the stream ----------------------------------------------------

const HeaderBits kV1Stereo{kV1, kLayer3, 9, 0, 0, kJoint};   // 417 bytes
const HeaderBits kV1Mono{kV1, kLayer3, 5, 1, 0, kMono};      // 64 kbps 48 kHz: 192 bytes
const HeaderBits kV2Stereo{kV2, kLayer3, 8, 1, 0, kStereo};  // 64 kbps 24 kHz: 192 bytes
const HeaderBits kV2Mono{kV2, kLayer3, 8, 0, 0, kMono};      // 208 bytes
const HeaderBits kV25Mono{kV25, kLayer3, 1, 2, 0, kMono};    // 72 bytes

struct LocateCase {
  const char* name;
  Bytes file;
  size_t firstFrame;
  size_t audioEndFromEnd;  // bytes after audioEnd
  size_t frames;           // frames walked from firstFrame
};

class Mp3LocateTable : public testing::TestWithParam<LocateCase> {};

TEST_P(Mp3LocateTable, FindsTheSoundAndWalksIt) {
  const LocateCase& c = GetParam();
  auto stream = LocateMp3Stream(c.file);
  ASSERT_TRUE(stream.has_value());
  EXPECT_EQ(stream->firstFrame, c.firstFrame);
  EXPECT_EQ(stream->audioEnd, c.file.size() - c.audioEndFromEnd);
  auto first = ParseMp3FrameHeader(std::span(c.file).subspan(c.firstFrame));
  ASSERT_TRUE(first.has_value());
  EXPECT_EQ(stream->format.frameBytes, first->frameBytes);
  EXPECT_EQ(Walk(c.file, *stream).size(), c.frames);
}

Bytes Stream(const HeaderBits& h, int frames) { return Repeat(Frame(h), frames); }

INSTANTIATE_TEST_SUITE_P(
    Mp3Scan, Mp3LocateTable,
    testing::Values(
        LocateCase{"bare_v1", Stream(kV1Stereo, 5), 0, 0, 5},
        LocateCase{"bare_v2", Stream(kV2Mono, 4), 0, 0, 4},
        LocateCase{"bare_v25", Stream(kV25Mono, 6), 0, 0, 6},
        LocateCase{"one_frame_then_end", Stream(kV2Stereo, 1), 0, 0, 1},
        LocateCase{"padded_and_unpadded",
                   Cat({Frame(kV1Stereo), Frame({kV1, kLayer3, 9, 0, 1, kStereo}),
                        Frame({kV1, kLayer3, 11, 0, 0, kJoint}), Frame(kV1Stereo)}),
                   0, 0, 4},
        LocateCase{"id3v23", Cat({Id3v2(3, 100), Stream(kV1Stereo, 3)}), 110, 0, 3},
        LocateCase{"id3v24_footer", Cat({Id3v2(4, 100, true), Stream(kV1Stereo, 3)}), 120, 0, 3},
        LocateCase{"id3v23_extended_header", Cat({Id3v2(3, 64, false, true), Stream(kV2Mono, 3)}),
                   74, 0, 3},
        LocateCase{"id3v24_footer_and_extended",
                   Cat({Id3v2(4, 64, true, true), Stream(kV25Mono, 3)}), 84, 0, 3},
        LocateCase{"two_id3v2_tags", Cat({Id3v2(3, 20), Id3v2(4, 30, true), Stream(kV1Mono, 3)}),
                   80, 0, 3},
        LocateCase{"id3v2_then_padding", Cat({Id3v2(3, 20), Bytes(500, 0), Stream(kV2Stereo, 3)}),
                   530, 0, 3},
        LocateCase{"not_syncsafe_id3_is_no_tag",
                   Cat({Text("ID3"), {3, 0, 0, 0, 0, 0x80, 0}, Stream(kV1Stereo, 3)}), 10, 0, 3},
        LocateCase{"xing_v1_stereo", Cat({InfoFrame(kV1Stereo, "Xing", 36), Stream(kV1Stereo, 3)}),
                   417, 0, 3},
        LocateCase{"info_v1_mono", Cat({InfoFrame(kV1Mono, "Info", 21), Stream(kV1Mono, 3)}), 192,
                   0, 3},
        LocateCase{"xing_v2_stereo", Cat({InfoFrame(kV2Stereo, "Xing", 21), Stream(kV2Stereo, 3)}),
                   192, 0, 3},
        LocateCase{"info_v2_mono", Cat({InfoFrame(kV2Mono, "Info", 13), Stream(kV2Mono, 3)}), 208,
                   0, 3},
        LocateCase{"xing_v25_mono", Cat({InfoFrame(kV25Mono, "Xing", 13), Stream(kV25Mono, 3)}),
                   72, 0, 3},
        LocateCase{"xing_after_crc",
                   Cat({InfoFrame({kV1, kLayer3, 9, 0, 0, kJoint, true}, "Xing", 38),
                        Stream(kV1Stereo, 3)}),
                   417, 0, 3},
        LocateCase{"vbri", Cat({InfoFrame(kV1Stereo, "VBRI", 36), Stream(kV1Stereo, 3)}), 417, 0, 3},
        LocateCase{"xing_with_id3v2",
                   Cat({Id3v2(3, 40), InfoFrame(kV2Mono, "Info", 13), Stream(kV2Mono, 3)}), 258,
                   0, 3},
        LocateCase{"tag_not_at_side_info_offset_is_sound",
                   Cat({InfoFrame(kV1Stereo, "Xing", 21), Stream(kV1Stereo, 3)}), 0, 0, 4},
        LocateCase{"id3v1_left_out", Cat({Stream(kV1Stereo, 3), Id3v1()}), 0, 128, 3},
        LocateCase{"ape_with_header_left_out", Cat({Stream(kV2Stereo, 3), Ape(true)}), 0,
                   Ape(true).size(), 3},
        LocateCase{"ape_without_header_left_out", Cat({Stream(kV2Stereo, 3), Ape(false)}), 0,
                   Ape(false).size(), 3},
        LocateCase{"ape_and_id3v1_left_out", Cat({Stream(kV25Mono, 3), Ape(true), Id3v1()}), 0,
                   Ape(true).size() + 128, 3},
        LocateCase{"all_tags", Cat({Id3v2(4, 50, true), InfoFrame(kV1Stereo, "Info", 36),
                                    Stream(kV1Stereo, 4), Ape(true), Id3v1()}),
                   70 + 417, Ape(true).size() + 128, 4},
        LocateCase{"cut_mid_frame", Cat({Stream(kV1Stereo, 3), Prefix(Frame(kV1Stereo), 200)}),
                   0, 0, 3},
        LocateCase{"cut_mid_header", Cat({Stream(kV2Mono, 3), {0xFF, 0xF3}}), 0, 0, 3},
        LocateCase{"rate_change_ends_stream",
                   Cat({Stream(kV1Stereo, 3), Stream({kV1, kLayer3, 9, 1, 0, kJoint}, 3)}), 0, 0, 3},
        LocateCase{"version_change_ends_stream", Cat({Stream(kV2Mono, 3), Stream(kV25Mono, 3)}), 0,
                   0, 3},
        LocateCase{"channel_change_ends_stream",
                   Cat({Stream(kV1Stereo, 3), Stream({kV1, kLayer3, 9, 0, 0, kMono}, 3)}), 0, 0, 3},
        LocateCase{"free_format_ends_stream",
                   Cat({Stream(kV2Mono, 3), Header({kV2, kLayer3, 0, 0, 0, kMono}), Bytes(300, 0)}),
                   0, 0, 3},
        LocateCase{"junk_ends_stream", Cat({Stream(kV2Mono, 3), Bytes(300, 0), Stream(kV2Mono, 3)}),
                   0, 0, 3},
        LocateCase{"false_sync_before_stream",
                   Cat({Bytes(7, 0), Header(kV1Stereo), Bytes(100, 0xAA), Stream(kV2Stereo, 3)}),
                   111, 0, 3},
        LocateCase{"sync_followed_by_one_frame_only",
                   Cat({Frame(kV1Stereo), Frame(kV1Stereo), Bytes(50, 0), Stream(kV2Mono, 3)}),
                   834 + 50, 0, 3},
        LocateCase{"stream_near_search_limit", Cat({Bytes(60000, 0), Stream(kV2Mono, 3)}), 60000, 0,
                   3}),
    [](const auto& info) { return std::string(info.param.name); });

struct NoStreamCase {
  const char* name;
  Bytes file;
};

class Mp3NoStreamTable : public testing::TestWithParam<NoStreamCase> {};

TEST_P(Mp3NoStreamTable, FindsNothing) { EXPECT_FALSE(LocateMp3Stream(GetParam().file).has_value()); }

INSTANTIATE_TEST_SUITE_P(
    Mp3Scan, Mp3NoStreamTable,
    testing::Values(
        NoStreamCase{"empty", {}},
        NoStreamCase{"zeros", Bytes(5000, 0)},
        NoStreamCase{"all_ff", Bytes(5000, 0xFF)},
        NoStreamCase{"id3v2_only", Id3v2(3, 100)},
        NoStreamCase{"id3v2_runs_past_end", Id3v2Header(3, 5000)},
        NoStreamCase{"oversized_id3v2_over_frames",
                     Cat({Id3v2Header(3, 100000), Stream(kV1Stereo, 5)})},
        NoStreamCase{"oversized_id3v2_by_its_footer",
                     Cat({Id3v2Header(4, Stream(kV1Stereo, 1).size() - 5, true),
                          Stream(kV1Stereo, 1)})},
        NoStreamCase{"second_id3v2_runs_past_end",
                     Cat({Id3v2(3, 10), Id3v2Header(4, 100000, true), Stream(kV1Stereo, 5)})},
        NoStreamCase{"largest_id3v2_size", Cat({Text("ID3"), {4, 0, 0x10, 0x7F, 0x7F, 0x7F, 0x7F},
                                                Stream(kV1Stereo, 5)})},
        NoStreamCase{"free_format", Repeat(Cat({Header({kV1, kLayer3, 0}), Bytes(400, 0)}), 5)},
        NoStreamCase{"layer2", Repeat(Cat({Header({kV1, kLayer2, 9}), Bytes(413, 0)}), 5)},
        NoStreamCase{"lone_header", Cat({Header(kV1Stereo), Bytes(2000, 0)})},
        NoStreamCase{"xing_only", InfoFrame(kV1Stereo, "Xing", 36)},
        NoStreamCase{"xing_then_junk", Cat({InfoFrame(kV1Stereo, "Xing", 36), Bytes(1000, 0)})},
        NoStreamCase{"stream_past_search_limit", Cat({Bytes(70000, 0), Stream(kV2Mono, 3)})},
        NoStreamCase{"id3v1_only", Id3v1()},
        NoStreamCase{"first_frame_cut", Prefix(Frame(kV1Stereo), 300)}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Walking frames --------------------------------------------------------

TEST(Mp3Scan, NextFrameRefusesOffsetsAtOrPastTheEnd) {
  const Bytes file = Stream(kV2Mono, 3);
  auto stream = LocateMp3Stream(file);
  ASSERT_TRUE(stream.has_value());
  EXPECT_EQ(NextMp3Frame(file, *stream, file.size()), 0u);
  EXPECT_EQ(NextMp3Frame(file, *stream, file.size() + 1000), 0u);
  EXPECT_EQ(NextMp3Frame(file, *stream, 1), 0u);
}

TEST(Mp3Scan, NextFrameStopsAtAudioEndEvenWhenTheFileGoesOn) {
  const Bytes file = Stream(kV2Mono, 4);
  Mp3Stream stream = *LocateMp3Stream(file);
  stream.audioEnd = 208 * 2 + 100;  // the third frame would pass it
  EXPECT_EQ(Walk(file, stream).size(), 2u);
  stream.audioEnd = file.size() + 5000;  // never read past the file
  EXPECT_EQ(Walk(file, stream).size(), 4u);
}

TEST(Mp3Scan, FormatIsThatOfTheFirstFrameOfSound) {
  const Bytes file = Cat({InfoFrame({kV1, kLayer3, 1, 0, 0, kStereo}, "Info", 36),
                          Frame({kV1, kLayer3, 14, 0, 1, kStereo}), Stream(kV1Stereo, 2)});
  auto stream = LocateMp3Stream(file);
  ASSERT_TRUE(stream.has_value());
  EXPECT_EQ(stream->format.version, MpegVersion::Mpeg1);
  EXPECT_EQ(stream->format.bitrateKbps, 320);
  EXPECT_EQ(stream->format.sampleRate, 44100);
  EXPECT_EQ(stream->format.channels, 2);
  EXPECT_EQ(stream->format.frameBytes, 1045);
}

}  // namespace
}  // namespace soundboard
