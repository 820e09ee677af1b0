// How long the caller is blocked in Play while another sound plays: Play of a
// long file, again and again, each call cutting the sound of the one before;
// beside the system's PlaySoundA (asynchronous, which also cuts the sound
// before) of the same sound decoded to WAV. Prints one line per figure:
//   bench play-block-p99 ours=<p99> playsound=<p99> ours-median=<median> playsound-median=<median> unit=ms
// Usage: bench_play_block MP3_FILE WAV_FILE CALLS INTERVAL_MS

#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

#include "bench_clock.h"
#include "sound/player.h"
#include "sound/system_audio_stream.h"

namespace soundboard {
namespace {

// Milliseconds that each call after the first took; the first finds nothing
// playing.
std::vector<double> TimeCalls(int calls, DWORD intervalMs, const std::function<void()>& call) {
  std::vector<double> times;
  for (int i = 0; i <= calls; ++i) {
    const double before = SecondsNow();
    call();
    const double after = SecondsNow();
    if (i > 0) times.push_back((after - before) * 1000);
    Sleep(intervalMs);  // the sound is playing when the next call comes
  }
  return times;
}

double Percentile(std::vector<double> values, double fraction) {
  std::sort(values.begin(), values.end());
  return values[std::min(values.size() - 1, size_t(fraction * double(values.size())))];
}

}  // namespace
}  // namespace soundboard

int main(int argc, char** argv) {
  using namespace soundboard;
  if (argc != 5) {
    std::fprintf(stderr, "usage: bench_play_block MP3_FILE WAV_FILE CALLS INTERVAL_MS\n");
    return 2;
  }
  const std::string mp3 = argv[1], wav = argv[2];
  const int calls = std::atoi(argv[3]);
  const DWORD interval = DWORD(std::atoi(argv[4]));

  std::vector<double> ours, playSound;
  {
    std::unique_ptr<AudioStreamFactory> streams = MakeSystemAudioStreamFactory();
    Player player(*streams);
    ours = TimeCalls(calls, interval, [&] { player.Play({mp3}, 1); });
  }
  playSound = TimeCalls(calls, interval, [&] {
    PlaySoundA(wav.c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT);
  });
  PlaySoundA(nullptr, nullptr, 0);

  Report("bench play-block-p99 ours=%.3f playsound=%.3f ours-median=%.3f playsound-median=%.3f unit=ms\n",
         Percentile(ours, 0.99), Percentile(playSound, 0.99), Percentile(ours, 0.5),
         Percentile(playSound, 0.5));
  return 0;
}
