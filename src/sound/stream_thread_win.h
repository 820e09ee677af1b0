#pragma once
// The life of one stream's thread: it maps the file, finds its sound, opens
// the codec and the default output device, decodes the first frames, writes
// them before the device starts, then feeds the device whenever it signals
// room. It makes and releases every COM object and codec stream it uses; the
// device's callbacks only set an event.

#include <memory>

#include "sound/audio_stream.h"
#include "sound/sound_file_win.h"
#include "sound/stream_control_win.h"

namespace soundboard {

// Runs on the stream's thread until the sound has ended, failed, been paused
// or been released, and everything the thread made is released. Reports the
// end (onEnd) when the sound ended or failed and the owner has neither
// released nor paused the stream.
void RunStream(std::shared_ptr<SoundFile> file, EndOfFileCallback onEnd, StreamControl& control);

}  // namespace soundboard
