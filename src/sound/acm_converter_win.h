#pragma once
// One conversion stream of the system's Audio Compression Manager, from a
// compressed format to 16-bit PCM of the same sample rate and channel count.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace soundboard {

class AcmConverter {
 public:
  // sourceFormat: a whole WAVEFORMATEX, cbSize and the bytes it counts.
  // blockAligned: input always comes in whole blocks of the format's
  // nBlockAlign. nullptr when no installed codec makes this conversion.
  static std::unique_ptr<AcmConverter> Open(std::span<const uint8_t> sourceFormat,
                                            bool blockAligned);
  ~AcmConverter();
  AcmConverter(const AcmConverter&) = delete;
  AcmConverter& operator=(const AcmConverter&) = delete;

  // The codec's bound on the PCM bytes that inputBytes of input give; 0 when
  // it gives none.
  size_t OutputBound(size_t inputBytes) const;

  // Converts all of input and appends the PCM to out, into an output buffer of
  // outputBytes, which must hold all that the codec can give for input (the
  // system's MPEG Layer-3 codec under Wine loops for ever on a full buffer).
  // last: no input follows. False when the codec fails.
  bool Convert(std::span<const uint8_t> input, size_t outputBytes, bool last,
               std::vector<uint8_t>& out);

 private:
  AcmConverter(void* stream, bool blockAligned) : stream_(stream), blockAligned_(blockAligned) {}
  void* stream_;  // HACMSTREAM
  bool blockAligned_;
  bool started_ = false;
  std::vector<uint8_t> input_;   // the codec gets a writable copy of its input
  std::vector<uint8_t> output_;
};

}  // namespace soundboard
