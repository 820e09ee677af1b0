// libFuzzer target: parse arbitrary bytes as RIFF/WAVE and touch every byte
// the result points at, so that an offset past the input shows up at once.
#include "sound/riff_wave.h"

#include <cstdlib>

using namespace soundboard;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto wave = ParseRiffWave(std::span<const uint8_t>(data, size));
  if (!wave) return 0;
  if (wave->channels == 0 || wave->sampleRate == 0 || wave->blockAlign == 0) std::abort();
  if (wave->dataOffset > size || wave->dataBytes > size - wave->dataOffset) std::abort();
  if (wave->dataBytes % wave->blockAlign != 0) std::abort();
  const auto& fmt = wave->formatChunk;
  if (fmt.size() < 18 || fmt.size() != 18u + (fmt[16] | fmt[17] << 8)) std::abort();

  volatile uint8_t sink = 0;
  for (size_t i = 0; i < wave->dataBytes; ++i) sink = sink ^ data[wave->dataOffset + i];
  for (uint8_t b : fmt) sink = sink ^ b;
  return 0;
}
