// libFuzzer target: find the MP3 stream in arbitrary bytes and walk every
// frame that NextMp3Frame admits, as the Windows stream does.
#include "sound/mp3_scan.h"

#include <cstdlib>

using namespace soundboard;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::span<const uint8_t> file(data, size);
  (void)ParseMp3FrameHeader(file);

  auto stream = LocateMp3Stream(file);
  if (!stream) return 0;
  if (stream->firstFrame > stream->audioEnd || stream->audioEnd > size) std::abort();
  if (stream->format.bitrateKbps <= 0 || stream->format.frameBytes <= 0) std::abort();

  size_t offset = stream->firstFrame;
  while (size_t length = NextMp3Frame(file, *stream, offset)) {
    auto header = ParseMp3FrameHeader(file.subspan(offset));
    if (!header || size_t(header->frameBytes) != length) std::abort();
    if (header->sampleRate != stream->format.sampleRate ||
        header->channels != stream->format.channels ||
        header->version != stream->format.version) {
      std::abort();
    }
    offset += length;
    if (offset > stream->audioEnd) std::abort();
  }
  return 0;
}
