#include <windows.h>

#include "musiclist/music_list_file.h"
#include "musiclist/music_list_text.h"
#include "textops/file_ops.h"

namespace soundboard {
namespace {

// True when the list file may be replaced now: it is missing (its folder
// exists), or it is neither read-only nor open elsewhere. Such a file is left
// as it is rather than replaced behind the back of whoever holds it.
bool CanBeReplaced(const Text& file) {
  DWORD attributes = GetFileAttributesA(file.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return GetLastError() == ERROR_FILE_NOT_FOUND;
  if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) return false;
  HANDLE probe = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (probe == INVALID_HANDLE_VALUE) return false;
  CloseHandle(probe);
  return true;
}

// A new, empty, uniquely named file in the folder of file, or "". The folder
// keeps its last "\" (C:\ stays the root, not the current folder of C:).
Text TemporaryFileBeside(const Text& file) {
  int32_t slash = FindLast(file, "\\");
  Text folder = slash == -1 ? Text(".") : TextLeft(file, slash);
  char temporary[MAX_PATH] = {};
  if (!GetTempFileNameA(folder.c_str(), "mus", 0, temporary)) return Text();
  return temporary;
}

// Replaces file with content: written wholly to a temporary file beside it
// first, which then takes its place. On any failure file is unchanged and the
// temporary file is gone.
bool ReplaceWholeFile(const Text& file, const ByteBlock& content, const MusicListIni::ContentWriter& writer) {
  if (!CanBeReplaced(file)) return false;
  Text temporary = TemporaryFileBeside(file);
  if (temporary.empty()) return false;
  bool replaced = writer(temporary, content) &&
                  MoveFileExA(temporary.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!replaced) DeleteFileA(temporary.c_str());
  return replaced;
}

}  // namespace

Text MusicListFile() { return JoinTexts({AppDataDirectory(), "\\music.ini"}); }

MusicListIni::MusicListIni() : MusicListIni(MusicListFile()) {}

MusicListIni::MusicListIni(Text file, ContentWriter writer) : file_(std::move(file)), writer_(std::move(writer)) {}

bool MusicListIni::WriteContent(const Text& path, const ByteBlock& content) { return WriteWholeFile(path, {content}); }

void MusicListIni::StoreMusicEntry(const Text& name, const Text& path) {
  WriteProfileValue(file_, Text(kMusicSection), name, path);
}

Text MusicListIni::LookUpMusicPath(const Text& name) { return ReadProfileValue(file_, Text(kMusicSection), name); }

void MusicListIni::RemoveMusicEntry(const Text& name, MusicListView& list) {
  Text entryLine = MusicEntryLine(name, LookUpMusicPath(name));
  ReplaceWholeFile(file_, ListFileWithoutEntry(ReadWholeFile(file_), entryLine), writer_);
  ReloadMusicList(list);
}

void MusicListIni::LoadMusicList(MusicListView& list) {
  for (const Text& name : MusicNamesAtStart(BytesToText(ReadWholeFile(file_)))) list.Append(name);
}

void MusicListIni::ReloadMusicList(MusicListView& list) {
  list.Clear();
  for (const Text& name : MusicNamesAfterDeletion(BytesToText(ReadWholeFile(file_)))) list.Append(name);
}

void LoadMusicList(MusicListView& list) { MusicListIni().LoadMusicList(list); }

}  // namespace soundboard
