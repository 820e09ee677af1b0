#pragma once
// Records what the default audio device plays: the monitor of the PulseAudio
// sink under Wine, through parec running as a Linux process beside the test,
// as 16-bit stereo at 48 kHz into a file that the test reads as it grows.

#include <cstddef>
#include <string>

#include "recorded_sound.h"

namespace soundboard {

class MonitorRecorder {
 public:
  // Starts recording and waits until the recorder delivers data, so that a
  // sound asked for afterwards is recorded from its first sample.
  MonitorRecorder();
  // Stops the recorder and deletes the recording.
  ~MonitorRecorder();
  MonitorRecorder(const MonitorRecorder&) = delete;
  MonitorRecorder& operator=(const MonitorRecorder&) = delete;

  bool Started() const { return started_; }

  // Frames recorded so far: a mark for "now" in the recording.
  size_t FramesSoFar() const;

  // Everything recorded from mark on.
  RecordedSound Since(size_t mark) const;

 private:
  std::string windowsPath_;  // the recording, as this process names it
  void* recording_ = nullptr;
  void* guard_ = nullptr;  // the recorder runs while this file exists
  bool started_ = false;
};

// One recorder for the whole test program, started on first use.
MonitorRecorder& SharedRecorder();

}  // namespace soundboard
