#pragma once
// Sound recorded from the output device, and what the tests measure in it:
// where it is loud, the frequency of a tone, the strength of a frequency.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace soundboard {

constexpr int kRecordRate = 48000;
constexpr size_t kRecordBytesPerFrame = 4;  // 16-bit stereo

// A sample above this is sound; the test tones peak at half of full scale.
constexpr int kLoudThreshold = 2000;

inline size_t FramesIn(double seconds) { return size_t(seconds * kRecordRate); }
inline double SecondsOf(size_t frames) { return double(frames) / kRecordRate; }

class RecordedSound {
 public:
  explicit RecordedSound(std::vector<int16_t> interleaved) : samples_(std::move(interleaved)) {}

  size_t Frames() const { return samples_.size() / 2; }
  int Sample(size_t frame, int channel) const { return samples_[frame * 2 + channel]; }

  struct Span {
    size_t first = 0;  // first loud frame
    size_t end = 0;    // one past the last loud frame
    bool Empty() const { return end <= first; }
  };

  // From the first to the last loud frame of either channel, within [from, to).
  Span Loud(size_t from = 0, size_t to = SIZE_MAX) const;

  // How long it is loud within [from, to), counted in 10 ms windows. A gap
  // (the sound server starved of data for a moment on a busy machine) delays
  // sound without losing it, so this is the length of what was played.
  double LoudSeconds(size_t from = 0, size_t to = SIZE_MAX) const;

  // The strongest frequency between 40 Hz and 4 kHz on channel (0 left,
  // 1 right) within [from, to), to half a hertz.
  double DominantHertz(int channel, size_t from, size_t to) const;

  // The amplitude of the component at hertz on channel within [from, to), in
  // sample units (a full-scale sine at that frequency gives about 32767).
  double Amplitude(int channel, size_t from, size_t to, double hertz) const;

 private:
  int Peak(int channel, size_t from, size_t to) const;

  std::vector<int16_t> samples_;
};

}  // namespace soundboard
