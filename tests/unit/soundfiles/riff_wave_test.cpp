#include "sound/riff_wave.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace soundboard {
namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& b, uint32_t v) {
  b.push_back(uint8_t(v));
  b.push_back(uint8_t(v >> 8));
}
void Put32(Bytes& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}
Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

// A chunk with a stated size (the body's by default) and an even pad byte
// after an odd body.
Bytes Chunk(const std::string& id, const Bytes& body, int64_t statedSize = -1) {
  Bytes c = Text(id);
  Put32(c, statedSize < 0 ? uint32_t(body.size()) : uint32_t(statedSize));
  c.insert(c.end(), body.begin(), body.end());
  if (body.size() % 2) c.push_back(0);
  return c;
}

struct Fmt {
  uint16_t tag = 1;
  uint16_t channels = 2;
  uint32_t rate = 8000;
  uint16_t blockAlign = 4;
  uint16_t bits = 16;
};

// The 16 bytes of a PCM format, then whatever extra follows.
Bytes FmtBody(const Fmt& f, const Bytes& extra = {}) {
  Bytes b;
  Put16(b, f.tag);
  Put16(b, f.channels);
  Put32(b, f.rate);
  Put32(b, f.rate * f.blockAlign);
  Put16(b, f.blockAlign);
  Put16(b, f.bits);
  b.insert(b.end(), extra.begin(), extra.end());
  return b;
}

// cbSize then the WAVE_FORMAT_EXTENSIBLE fields with the subformat given by
// its first two bytes; base false gives a GUID outside the base family.
Bytes ExtensibleExtra(uint16_t subformat, bool base = true, uint16_t cbSize = 22) {
  Bytes b;
  Put16(b, cbSize);
  Put16(b, 16);  // valid bits
  Put32(b, 3);   // channel mask
  Put16(b, subformat);
  Bytes tail = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
  if (!base) tail[13] = 0x72;
  b.insert(b.end(), tail.begin(), tail.end());
  return b;
}

Bytes Riff(const Bytes& chunks, int64_t statedSize = -1, const std::string& form = "WAVE") {
  Bytes r = Text("RIFF");
  Put32(r, statedSize < 0 ? uint32_t(chunks.size() + 4) : uint32_t(statedSize));
  return Cat({r, Text(form), chunks});
}

Bytes Samples(size_t n) {
  Bytes b(n);
  for (size_t i = 0; i < n; ++i) b[i] = uint8_t(i * 7);
  return b;
}

struct WaveCase {
  const char* name;
  Bytes file;
  uint16_t formatTag;
  uint16_t channels;
  uint16_t blockAlign;
  size_t dataOffset;
  size_t dataBytes;
  size_t formatChunkBytes;
};

class RiffWaveTable : public testing::TestWithParam<WaveCase> {};

TEST_P(RiffWaveTable, ReadsFormatAndData) {
  const WaveCase& c = GetParam();
  auto wave = ParseRiffWave(c.file);
  ASSERT_TRUE(wave.has_value());
  EXPECT_EQ(wave->formatTag, c.formatTag);
  EXPECT_EQ(wave->channels, c.channels);
  EXPECT_EQ(wave->sampleRate, 8000u);
  EXPECT_EQ(wave->blockAlign, c.blockAlign);
  EXPECT_EQ(wave->dataOffset, c.dataOffset);
  EXPECT_EQ(wave->dataBytes, c.dataBytes);
  ASSERT_EQ(wave->formatChunk.size(), c.formatChunkBytes);
  // A whole WAVEFORMATEX whose cbSize counts the bytes after it.
  const auto& fmt = wave->formatChunk;
  EXPECT_EQ(size_t(fmt[16] | fmt[17] << 8), fmt.size() - 18);
  EXPECT_EQ(fmt[2] | fmt[3] << 8, c.channels);
}

const Bytes kPcm = Chunk("fmt ", FmtBody({}));

INSTANTIATE_TEST_SUITE_P(
    RiffWave, RiffWaveTable,
    testing::Values(
        WaveCase{"pcm16_stereo", Riff(Cat({kPcm, Chunk("data", Samples(40))})), 1, 2, 4, 44, 40, 18},
        WaveCase{"pcm8_mono", Riff(Cat({Chunk("fmt ", FmtBody({1, 1, 8000, 1, 8})),
                                        Chunk("data", Samples(11))})),
                 1, 1, 1, 44, 11, 18},
        WaveCase{"float_with_cbsize", Riff(Cat({Chunk("fmt ", FmtBody({3, 1, 8000, 4, 32}, {0, 0})),
                                                Chunk("fact", {1, 0, 0, 0}),
                                                Chunk("data", Samples(16))})),
                 3, 1, 4, 58, 16, 18},
        WaveCase{"adpcm_extra", Riff(Cat({Chunk("fmt ", FmtBody({0x11, 1, 8000, 256, 4}, {2, 0, 0xF9, 1})),
                                          Chunk("data", Samples(512))})),
                 0x11, 1, 256, 48, 512, 20},
        WaveCase{"odd_chunk_padded", Riff(Cat({Chunk("LIST", Text("INFOx")), kPcm,
                                               Chunk("data", Samples(8))})),
                 1, 2, 4, 58, 8, 18},
        WaveCase{"data_before_fmt", Riff(Cat({Chunk("data", Samples(8)), kPcm})), 1, 2, 4, 20, 8, 18},
        WaveCase{"data_cut_by_end", Riff(Cat({kPcm, Chunk("data", Samples(42), 1000)})), 1, 2, 4, 44,
                 40, 18},
        WaveCase{"streaming_sizes", Riff(Cat({kPcm, Chunk("data", Samples(20), 0xFFFFFFFF)}), 0xFFFFFFFF),
                 1, 2, 4, 44, 20, 18},
        WaveCase{"riff_size_zero", Riff(Cat({kPcm, Chunk("data", Samples(20))}), 0), 1, 2, 4, 44, 20, 18},
        WaveCase{"partial_block_dropped", Riff(Cat({kPcm, Chunk("data", Samples(43))})), 1, 2, 4, 44,
                 40, 18},
        WaveCase{"empty_data", Riff(Cat({kPcm, Chunk("data", {})})), 1, 2, 4, 44, 0, 18},
        WaveCase{"first_data_chunk_wins", Riff(Cat({kPcm, Chunk("data", Samples(8)),
                                                    Chunk("data", Samples(16))})),
                 1, 2, 4, 44, 8, 18},
        WaveCase{"cbsize_past_chunk_cut", Riff(Cat({Chunk("fmt ", FmtBody({0x11, 1, 8000, 256, 4}, {9, 0, 1, 2})),
                                                    Chunk("data", Samples(256))})),
                 0x11, 1, 256, 48, 256, 20},
        WaveCase{"bytes_after_cbsize_dropped",
                 Riff(Cat({Chunk("fmt ", FmtBody({}, {0, 0, 7, 7})), Chunk("data", Samples(4))})), 1, 2,
                 4, 48, 4, 18},
        WaveCase{"extensible_pcm", Riff(Cat({Chunk("fmt ", FmtBody({0xFFFE, 2, 8000, 4, 16}, ExtensibleExtra(1))),
                                             Chunk("data", Samples(8))})),
                 1, 2, 4, 68, 8, 40},
        WaveCase{"extensible_float", Riff(Cat({Chunk("fmt ", FmtBody({0xFFFE, 2, 8000, 8, 32}, ExtensibleExtra(3))),
                                               Chunk("data", Samples(16))})),
                 3, 2, 8, 68, 16, 40},
        WaveCase{"extensible_unknown_guid",
                 Riff(Cat({Chunk("fmt ", FmtBody({0xFFFE, 2, 8000, 4, 16}, ExtensibleExtra(1, false))),
                           Chunk("data", Samples(8))})),
                 0xFFFE, 2, 4, 68, 8, 40},
        WaveCase{"chunk_after_data_ignored", Riff(Cat({kPcm, Chunk("data", Samples(8)),
                                                       Chunk("junk", {}, 0x7FFFFFFF)})),
                 1, 2, 4, 44, 8, 18}),
    [](const auto& info) { return std::string(info.param.name); });

struct BadCase {
  const char* name;
  Bytes file;
};

class RiffWaveRefusedTable : public testing::TestWithParam<BadCase> {};

TEST_P(RiffWaveRefusedTable, IsRefused) { EXPECT_FALSE(ParseRiffWave(GetParam().file).has_value()); }

INSTANTIATE_TEST_SUITE_P(
    RiffWave, RiffWaveRefusedTable,
    testing::Values(
        BadCase{"empty", {}},
        BadCase{"header_only", Riff({})},
        BadCase{"eleven_bytes", Cat({Text("RIFF"), {4, 0, 0, 0}, Text("WAV")})},
        BadCase{"not_riff", Cat({Text("RIFX"), Bytes(4, 0), Text("WAVE"), kPcm, Chunk("data", Samples(8))})},
        BadCase{"not_wave", Riff(Cat({kPcm, Chunk("data", Samples(8))}), -1, "AVI ")},
        BadCase{"no_fmt", Riff(Chunk("data", Samples(8)))},
        BadCase{"no_data", Riff(kPcm)},
        BadCase{"fmt_too_short", Riff(Cat({Chunk("fmt ", Bytes(14, 1)), Chunk("data", Samples(8))}))},
        BadCase{"fmt_past_end", Riff(Chunk("fmt ", FmtBody({}), 40))},
        BadCase{"fmt_size_huge", Riff(Cat({Chunk("fmt ", FmtBody({}), 0xFFFFFFFF), Chunk("data", Samples(8))}))},
        BadCase{"zero_channels", Riff(Cat({Chunk("fmt ", FmtBody({1, 0, 8000, 4, 16})), Chunk("data", Samples(8))}))},
        BadCase{"zero_rate", Riff(Cat({Chunk("fmt ", FmtBody({1, 2, 0, 4, 16})), Chunk("data", Samples(8))}))},
        BadCase{"zero_block_align", Riff(Cat({Chunk("fmt ", FmtBody({1, 2, 8000, 0, 16})), Chunk("data", Samples(8))}))},
        BadCase{"extensible_too_short",
                Riff(Cat({Chunk("fmt ", FmtBody({0xFFFE, 2, 8000, 4, 16}, {0, 0})), Chunk("data", Samples(8))}))},
        BadCase{"extensible_cbsize_short",
                Riff(Cat({Chunk("fmt ", FmtBody({0xFFFE, 2, 8000, 4, 16}, ExtensibleExtra(1, true, 10))),
                          Chunk("data", Samples(8))}))},
        BadCase{"huge_chunk_hides_data", Riff(Cat({kPcm, Chunk("LIST", {}, 0xFFFFFFF0), Chunk("data", Samples(8))}))},
        BadCase{"data_header_cut", Cat({Riff(kPcm), Text("data"), {8, 0}})}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace soundboard
