#include "sound/acm_converter_win.h"

#include <windows.h>
#include <mmsystem.h>  // left out by WIN32_LEAN_AND_MEAN
#include <mmreg.h>
#include <msacm.h>

#include <climits>
#include <cstring>

namespace soundboard {
namespace {

HACMSTREAM AsStream(void* stream) { return static_cast<HACMSTREAM>(stream); }

}  // namespace

std::unique_ptr<AcmConverter> AcmConverter::Open(std::span<const uint8_t> sourceFormat,
                                                 bool blockAligned) {
  WAVEFORMATEX from{};
  if (sourceFormat.size() < sizeof from) return nullptr;
  std::memcpy(&from, sourceFormat.data(), sizeof from);
  if (sizeof from + from.cbSize > sourceFormat.size()) return nullptr;
  // The codec reads the format and the cbSize bytes after it from this copy.
  std::vector<uint8_t> source(sourceFormat.begin(), sourceFormat.end());

  WAVEFORMATEX pcm{};
  pcm.wFormatTag = WAVE_FORMAT_PCM;
  pcm.nChannels = from.nChannels;
  pcm.nSamplesPerSec = from.nSamplesPerSec;
  pcm.wBitsPerSample = 16;
  pcm.nBlockAlign = pcm.nChannels * 2;
  pcm.nAvgBytesPerSec = pcm.nSamplesPerSec * pcm.nBlockAlign;

  HACMSTREAM stream = nullptr;
  if (acmStreamOpen(&stream, nullptr, reinterpret_cast<WAVEFORMATEX*>(source.data()), &pcm, nullptr, 0, 0,
                    ACM_STREAMOPENF_NONREALTIME) != MMSYSERR_NOERROR) {
    return nullptr;
  }
  return std::unique_ptr<AcmConverter>(new AcmConverter(stream, blockAligned));
}

AcmConverter::~AcmConverter() { acmStreamClose(AsStream(stream_), 0); }

size_t AcmConverter::OutputBound(size_t inputBytes) const {
  DWORD bound = 0;
  if (inputBytes == 0 || inputBytes > UINT_MAX ||
      acmStreamSize(AsStream(stream_), DWORD(inputBytes), &bound, ACM_STREAMSIZEF_SOURCE) !=
          MMSYSERR_NOERROR) {
    return 0;
  }
  return bound;
}

bool AcmConverter::Convert(std::span<const uint8_t> input, size_t outputBytes, bool last,
                           std::vector<uint8_t>& out) {
  if (input.empty()) return true;
  if (input.size() > UINT_MAX || outputBytes == 0 || outputBytes > UINT_MAX) return false;
  input_.assign(input.begin(), input.end());
  output_.resize(outputBytes);

  // A codec that stops taking input is not asked again and again: what it
  // leaves is dropped as undecodable.
  constexpr int kMaxCalls = 64;
  size_t used = 0;
  for (int call = 0; call < kMaxCalls && used < input_.size(); ++call) {
    ACMSTREAMHEADER header{};
    header.cbStruct = sizeof header;
    header.pbSrc = input_.data() + used;
    header.cbSrcLength = DWORD(input_.size() - used);
    header.pbDst = output_.data();
    header.cbDstLength = DWORD(output_.size());
    if (acmStreamPrepareHeader(AsStream(stream_), &header, 0) != MMSYSERR_NOERROR) return false;
    DWORD flags = (started_ ? 0 : ACM_STREAMCONVERTF_START) |
                  (blockAligned_ ? ACM_STREAMCONVERTF_BLOCKALIGN : 0) |
                  (last ? ACM_STREAMCONVERTF_END : 0);
    const MMRESULT converted = acmStreamConvert(AsStream(stream_), &header, flags);
    started_ = true;
    // Unpreparing needs the lengths the header was prepared with.
    const DWORD sourceUsed = header.cbSrcLengthUsed, outputUsed = header.cbDstLengthUsed;
    header.cbSrcLength = DWORD(input_.size() - used);
    header.cbDstLength = DWORD(output_.size());
    acmStreamUnprepareHeader(AsStream(stream_), &header, 0);
    if (converted != MMSYSERR_NOERROR || sourceUsed > input_.size() - used ||
        outputUsed > output_.size()) {
      return false;
    }
    out.insert(out.end(), output_.begin(), output_.begin() + outputUsed);
    used += sourceUsed;
    if (sourceUsed == 0 && outputUsed == 0) break;
  }
  return used > 0;
}

}  // namespace soundboard
