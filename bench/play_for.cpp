// Plays a file through the program's Player for a given time, then stops: the
// process whose CPU time the driver reads while the sound plays.
// Usage: bench_play_for FILE SECONDS

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "sound/player.h"
#include "sound/system_audio_stream.h"

int main(int argc, char** argv) {
  using namespace soundboard;
  if (argc != 3) {
    std::fprintf(stderr, "usage: bench_play_for FILE SECONDS\n");
    return 2;
  }
  std::unique_ptr<AudioStreamFactory> streams = MakeSystemAudioStreamFactory();
  Player player(*streams);
  player.Play({argv[1]}, 1);
  Sleep(DWORD(std::atof(argv[2]) * 1000));
  player.Stop();
  return 0;
}
