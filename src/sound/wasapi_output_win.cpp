#include "sound/wasapi_output_win.h"

#include <windows.h>
#include <mmsystem.h>  // left out by WIN32_LEAN_AND_MEAN
#include <audioclient.h>
#include <mmdeviceapi.h>
#include <mmreg.h>

#include <algorithm>
#include <cstring>

namespace soundboard {
namespace {

// The device's buffer: room for a few periods, so that a late wake-up of the
// feeding thread does not starve it. Its length adds nothing to the time
// until the first sample (the sound starts as soon as one write is in) nor to
// a pause (the device is stopped, not drained).
constexpr REFERENCE_TIME kBufferDuration = 100 * 10000;  // 100 ms in 100-ns units

struct ComRelease {
  void operator()(IUnknown* object) const { object->Release(); }
};
template <class Interface>
using ComPtr = std::unique_ptr<Interface, ComRelease>;

// KSDATAFORMAT_SUBTYPE_PCM and _IEEE_FLOAT: the format tag in the base GUID.
GUID Subformat(WORD formatTag) {
  return GUID{formatTag, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
}

DWORD ChannelMask(WORD channels) {
  switch (channels) {
    case 1: return SPEAKER_FRONT_CENTER;
    case 2: return SPEAKER_FRONT_LEFT | SPEAKER_FRONT_RIGHT;
    case 4: return SPEAKER_FRONT_LEFT | SPEAKER_FRONT_RIGHT | SPEAKER_BACK_LEFT | SPEAKER_BACK_RIGHT;
    case 6:
      return SPEAKER_FRONT_LEFT | SPEAKER_FRONT_RIGHT | SPEAKER_FRONT_CENTER |
             SPEAKER_LOW_FREQUENCY | SPEAKER_BACK_LEFT | SPEAKER_BACK_RIGHT;
    case 8:
      return SPEAKER_FRONT_LEFT | SPEAKER_FRONT_RIGHT | SPEAKER_FRONT_CENTER |
             SPEAKER_LOW_FREQUENCY | SPEAKER_BACK_LEFT | SPEAKER_BACK_RIGHT |
             SPEAKER_SIDE_LEFT | SPEAKER_SIDE_RIGHT;
    default: return 0;
  }
}

// A plain WAVEFORMATEX where one describes the format fully (up to two
// channels of 8- or 16-bit PCM), WAVEFORMATEXTENSIBLE otherwise.
WAVEFORMATEXTENSIBLE DeviceFormat(const PcmFormat& pcm) {
  WAVEFORMATEXTENSIBLE format{};
  const WORD tag = pcm.isFloat ? WAVE_FORMAT_IEEE_FLOAT : WAVE_FORMAT_PCM;
  format.Format.nChannels = pcm.channels;
  format.Format.nSamplesPerSec = pcm.sampleRate;
  format.Format.wBitsPerSample = pcm.bitsPerSample;
  format.Format.nBlockAlign = WORD(pcm.BytesPerFrame());
  format.Format.nAvgBytesPerSec = DWORD(pcm.BytesPerSecond());
  if (!pcm.isFloat && pcm.channels <= 2 && pcm.bitsPerSample <= 16) {
    format.Format.wFormatTag = tag;
    return format;
  }
  format.Format.wFormatTag = WAVE_FORMAT_EXTENSIBLE;
  format.Format.cbSize = sizeof(WAVEFORMATEXTENSIBLE) - sizeof(WAVEFORMATEX);
  format.Samples.wValidBitsPerSample = pcm.bitsPerSample;
  format.dwChannelMask = ChannelMask(pcm.channels);
  format.SubFormat = Subformat(tag);
  return format;
}

}  // namespace

struct WasapiOutput::Interfaces {
  // Released in the reverse order: the render client first.
  ComPtr<IMMDeviceEnumerator> enumerator;
  ComPtr<IMMDevice> device;
  ComPtr<IAudioClient> client;
  ComPtr<IAudioRenderClient> render;
};

WasapiOutput::WasapiOutput(std::unique_ptr<Interfaces> com, uint32_t bytesPerFrame,
                           uint32_t bufferFrames, uint32_t periodMs)
    : com_(std::move(com)), bytesPerFrame_(bytesPerFrame), bufferFrames_(bufferFrames),
      periodMs_(periodMs) {}

std::unique_ptr<WasapiOutput> WasapiOutput::Open(const PcmFormat& pcm, void* roomEvent) {
  auto com = std::make_unique<Interfaces>();
  IMMDeviceEnumerator* enumerator = nullptr;
  if (FAILED(CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_INPROC_SERVER,
                              __uuidof(IMMDeviceEnumerator), reinterpret_cast<void**>(&enumerator)))) {
    return nullptr;
  }
  com->enumerator.reset(enumerator);
  IMMDevice* device = nullptr;
  if (FAILED(enumerator->GetDefaultAudioEndpoint(eRender, eConsole, &device))) return nullptr;
  com->device.reset(device);
  IAudioClient* client = nullptr;
  if (FAILED(device->Activate(__uuidof(IAudioClient), CLSCTX_INPROC_SERVER, nullptr,
                              reinterpret_cast<void**>(&client)))) {
    return nullptr;
  }
  com->client.reset(client);

  const WAVEFORMATEXTENSIBLE format = DeviceFormat(pcm);
  DWORD flags = AUDCLNT_STREAMFLAGS_EVENTCALLBACK | AUDCLNT_STREAMFLAGS_NOPERSIST;
  // The shared-mode engine converts and resamples for us when the device
  // does not take the file's format as it is.
  WAVEFORMATEX* closest = nullptr;
  const HRESULT supported = client->IsFormatSupported(AUDCLNT_SHAREMODE_SHARED, &format.Format, &closest);
  CoTaskMemFree(closest);
  if (supported != S_OK) {
    flags |= AUDCLNT_STREAMFLAGS_AUTOCONVERTPCM | AUDCLNT_STREAMFLAGS_SRC_DEFAULT_QUALITY;
  }
  if (FAILED(client->Initialize(AUDCLNT_SHAREMODE_SHARED, flags, kBufferDuration, 0, &format.Format,
                                nullptr)) ||
      FAILED(client->SetEventHandle(static_cast<HANDLE>(roomEvent)))) {
    return nullptr;
  }
  UINT32 bufferFrames = 0;
  REFERENCE_TIME period = 0;
  IAudioRenderClient* render = nullptr;
  if (FAILED(client->GetBufferSize(&bufferFrames)) || bufferFrames == 0 ||
      FAILED(client->GetDevicePeriod(&period, nullptr)) ||
      FAILED(client->GetService(__uuidof(IAudioRenderClient), reinterpret_cast<void**>(&render)))) {
    return nullptr;
  }
  com->render.reset(render);
  const uint32_t periodMs = std::max<uint32_t>(1, uint32_t((period + 9999) / 10000));
  return std::unique_ptr<WasapiOutput>(
      new WasapiOutput(std::move(com), pcm.BytesPerFrame(), bufferFrames, periodMs));
}

WasapiOutput::~WasapiOutput() {
  com_->client->Stop();
  com_->client->Reset();
}

int64_t WasapiOutput::QueuedFrames() {
  UINT32 padding = 0;
  if (FAILED(com_->client->GetCurrentPadding(&padding))) return -1;
  return padding;
}

int64_t WasapiOutput::Write(const uint8_t* pcm, size_t frames) {
  const int64_t queued = QueuedFrames();
  if (queued < 0) return -1;
  const size_t room = queued < bufferFrames_ ? bufferFrames_ - size_t(queued) : 0;
  const UINT32 count = UINT32(std::min(room, frames));
  if (count == 0) return 0;
  BYTE* buffer = nullptr;
  if (FAILED(com_->render->GetBuffer(count, &buffer))) return -1;
  std::memcpy(buffer, pcm, size_t(count) * bytesPerFrame_);
  if (FAILED(com_->render->ReleaseBuffer(count, 0))) return -1;
  return count;
}

bool WasapiOutput::Start() { return SUCCEEDED(com_->client->Start()); }

void WasapiOutput::Stop() { com_->client->Stop(); }

void WasapiOutput::Reset() { com_->client->Reset(); }

}  // namespace soundboard
