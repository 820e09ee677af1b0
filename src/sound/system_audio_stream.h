#pragma once
// The audio stream of the Windows program: the file is opened on the caller's
// thread; finding the sound in it, decoding it through the system's codecs
// and playing it on the default output device run on a thread of the
// stream's own.

#include <memory>

#include "sound/audio_stream.h"

namespace soundboard {

std::unique_ptr<AudioStreamFactory> MakeSystemAudioStreamFactory();

}  // namespace soundboard
