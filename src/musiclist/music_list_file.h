#pragma once
// music.ini, the file that keeps the music list between runs
// (music_list_text.h gives its form).

#include <functional>

#include "musiclist/music_entries.h"
#include "musiclist/music_list_view.h"
#include "textops/text_ops.h"

namespace soundboard {

// AppDataDirectory() + "\music.ini". The folder already ends with "\", so the
// path holds "\\" before the file name, which the file services read as one
// separator (and which is "\music.ini" on the current drive when the folder
// lookup fails).
Text MusicListFile();

class MusicListIni final : public MusicEntries {
 public:
  // Writes content as the whole file at path, true on success. Deletions
  // write the new list file through it into a temporary file beside the list
  // file, which then takes the list file's place.
  using ContentWriter = std::function<bool(const Text& path, const ByteBlock& content)>;

  // The list file at MusicListFile().
  MusicListIni();
  // The list file at file; writer as above (tests inject failures with it).
  explicit MusicListIni(Text file, ContentWriter writer = WriteContent);

  const Text& File() const { return file_; }

  void StoreMusicEntry(const Text& name, const Text& path) override;
  Text LookUpMusicPath(const Text& name) override;
  // Removes every copy of the line name=path (path as LookUpMusicPath gives
  // it) from the file's text, writes the file back, then ReloadMusicList.
  // The new content is written wholly before it replaces the old file, so a
  // failed write leaves the old file as it was; so does a list file that is
  // read-only or in use. The file is created empty when it was missing.
  void RemoveMusicEntry(const Text& name, MusicListView& list) override;

  // Appends the names of the file's lines with two or more pieces to list.
  void LoadMusicList(MusicListView& list);
  // Empties list and appends the names of the lines with exactly two pieces.
  void ReloadMusicList(MusicListView& list);

  // The product's ContentWriter: WriteWholeFile with the one block.
  static bool WriteContent(const Text& path, const ByteBlock& content);

 private:
  Text file_;
  ContentWriter writer_;
};

// Fills list from music.ini at start (MusicListIni().LoadMusicList(list)).
void LoadMusicList(MusicListView& list);

}  // namespace soundboard
