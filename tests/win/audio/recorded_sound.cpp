#include "recorded_sound.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace soundboard {

RecordedSound::Span RecordedSound::Loud(size_t from, size_t to) const {
  to = std::min(to, Frames());
  Span span;
  bool found = false;
  for (size_t frame = from; frame < to; ++frame) {
    if (std::abs(Sample(frame, 0)) > kLoudThreshold || std::abs(Sample(frame, 1)) > kLoudThreshold) {
      if (!found) span.first = frame;
      found = true;
      span.end = frame + 1;
    }
  }
  return span;
}

double RecordedSound::LoudSeconds(size_t from, size_t to) const {
  to = std::min(to, Frames());
  const size_t window = FramesIn(0.01);
  size_t loud = 0;
  for (size_t at = from; at + window <= to; at += window) {
    if (std::max(Peak(0, at, at + window), Peak(1, at, at + window)) > kLoudThreshold) ++loud;
  }
  return SecondsOf(loud * window);
}

double RecordedSound::DominantHertz(int channel, size_t from, size_t to) const {
  to = std::min(to, Frames());
  auto strongest = [&](size_t begin, size_t end, double low, double high, double step) {
    double best = low, bestAmplitude = -1;
    for (double hertz = low; hertz <= high; hertz += step) {
      const double amplitude = Amplitude(channel, begin, end, hertz);
      if (amplitude > bestAmplitude) {
        best = hertz;
        bestAmplitude = amplitude;
      }
    }
    return best;
  };
  // A coarse sweep over a tenth of a second in the middle, whose filters are
  // wide enough that the 5 Hz steps miss no tone; then a fine sweep over the
  // whole span around what it found.
  const size_t middle = from + (to - from) / 2, half = std::min(FramesIn(0.05), (to - from) / 2);
  const double coarse = strongest(middle - half, middle + half, 40, 4000, 5);
  return strongest(from, to, coarse - 6, coarse + 6, 0.25);
}

int RecordedSound::Peak(int channel, size_t from, size_t to) const {
  int peak = 0;
  for (size_t frame = from; frame < to; ++frame) peak = std::max(peak, std::abs(Sample(frame, channel)));
  return peak;
}

double RecordedSound::Amplitude(int channel, size_t from, size_t to, double hertz) const {
  to = std::min(to, Frames());
  if (to <= from) return 0.0;
  // Goertzel's filter for one frequency.
  const double coefficient = 2.0 * std::cos(2.0 * std::numbers::pi * hertz / kRecordRate);
  double previous = 0.0, beforePrevious = 0.0;
  for (size_t frame = from; frame < to; ++frame) {
    const double current = Sample(frame, channel) + coefficient * previous - beforePrevious;
    beforePrevious = previous;
    previous = current;
  }
  const double power =
      previous * previous + beforePrevious * beforePrevious - coefficient * previous * beforePrevious;
  return 2.0 * std::sqrt(std::max(power, 0.0)) / double(to - from);
}

}  // namespace soundboard
