#pragma once
// What the music panel asks of the list file: store, look up and remove one
// entry. MusicListIni (music_list_file.h) is the one over music.ini.

#include "musiclist/music_list_view.h"
#include "textops/text_ops.h"

namespace soundboard {

class MusicEntries {
 public:
  virtual ~MusicEntries() = default;

  // Writes name=path into the list file (a name already there gets the new
  // path). The outcome is not reported.
  virtual void StoreMusicEntry(const Text& name, const Text& path) = 0;
  // The path stored under name, or "" (empty name, name not found, no file).
  virtual Text LookUpMusicPath(const Text& name) = 0;
  // Removes every line name=path from the list file and rebuilds list from it.
  virtual void RemoveMusicEntry(const Text& name, MusicListView& list) = 0;
};

}  // namespace soundboard
