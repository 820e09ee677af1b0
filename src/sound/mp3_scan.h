#pragma once
// Finding the MPEG audio Layer III stream in a file's bytes, and walking its
// frames, so that only frames the system codec can take safely ever reach it.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace soundboard {

enum class MpegVersion { Mpeg1, Mpeg2, Mpeg25 };

struct Mp3FrameHeader {
  MpegVersion version;
  int bitrateKbps;      // never 0: free-format streams are refused
  int sampleRate;       // Hz
  int channels;         // 1 or 2
  int frameBytes;       // the whole frame, header included
  int samplesPerFrame;  // 1152 for MPEG-1, 576 for MPEG-2 and 2.5
};

// The Layer III frame header at the start of bytes, or nullopt when there is
// none there (no sync, reserved or free-format values, another layer, fewer
// than four bytes).
std::optional<Mp3FrameHeader> ParseMp3FrameHeader(std::span<const uint8_t> bytes);

struct Mp3Stream {
  size_t firstFrame;     // offset of the first frame of sound (after a leading
                         // ID3v2 tag and a Xing/Info/LAME frame, if any)
  size_t audioEnd;       // offset just past the last byte that may hold frames
                         // (before a trailing ID3v1 and APEv2 tag, if any)
  Mp3FrameHeader format; // header of the first frame of sound: the stream's
                         // version, sample rate and channel count
};

// Finds the stream: skips leading ID3v2 tags (footer and extended header
// handled; a tag that claims more bytes than the file holds gives nullopt),
// searches 64 KiB past them for the first frame followed by two more of the
// same stream back to back (or by the end of the data), skips a Xing/Info/LAME
// or VBRI frame, and leaves a trailing ID3v1 and APEv2 tag out. nullopt when
// no stream is found.
std::optional<Mp3Stream> LocateMp3Stream(std::span<const uint8_t> file);

// Length in bytes of the frame at offset when it belongs to the stream (a
// valid header of the same version, sample rate and channel count, wholly
// before audioEnd); 0 otherwise, which ends the playable stream there.
size_t NextMp3Frame(std::span<const uint8_t> file, const Mp3Stream& stream, size_t offset);

}  // namespace soundboard
