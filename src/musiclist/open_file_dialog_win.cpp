#include "musiclist/open_file_dialog_win.h"

#include <commdlg.h>

#include <algorithm>
#include <cstring>

namespace soundboard {

std::optional<Text> OpenFileDialog::ChooseFile() {
  // The initial file name; paths are at most MAX_PATH - 1 (259) bytes.
  char path[MAX_PATH] = {};
  std::memcpy(path, lastPath_.data(), std::min(lastPath_.size(), sizeof path - 1));

  OPENFILENAMEA dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner_;
  // One file type, selected: its description, its patterns, and the end.
  static const char kFilter[] = "MP3/WAV\0*.mp3;*.wav\0";
  dialog.lpstrFilter = kFilter;
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = path;
  dialog.nMaxFile = sizeof path;
  // No title and no initial folder: the system's own. No OFN_NOCHANGEDIR: the
  // dialog may change the current directory. No OFN_ALLOWMULTISELECT.
  dialog.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;

  if (!GetOpenFileNameA(&dialog)) return std::nullopt;
  lastPath_ = path;
  return lastPath_;
}

}  // namespace soundboard
