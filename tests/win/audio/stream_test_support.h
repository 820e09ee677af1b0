#pragma once
// What the audio stream tests share: where the generated sound files are, a
// witness of a stream's end-of-file callback, and playing a file to its end
// while recording.

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>

#include "monitor_recorder.h"
#include "sound/audio_stream.h"

namespace soundboard {

// The generated file name in the folder "fixtures" beside the test program.
std::string FixturePath(const std::string& name);

// Counts a stream's end-of-file callbacks; lets the test wait for the first.
class EndWitness {
 public:
  EndOfFileCallback Callback();
  bool WaitFor(int milliseconds);
  int Count() const;

 private:
  mutable std::mutex mutex_;
  std::condition_variable ended_;
  int count_ = 0;
};

// The factory under test: the Windows system stream.
AudioStreamFactory& SystemStreams();

// Plays path to its end (or until timeoutMs), keeps recording a little
// longer, and releases the stream.
struct Played {
  bool opened = false;
  bool ended = false;     // the end was reported within the timeout
  int endCalls = 0;       // end-of-file callbacks, counted after the release
  RecordedSound sound{{}};
};
Played PlayToEnd(const std::string& path, int timeoutMs);

}  // namespace soundboard
