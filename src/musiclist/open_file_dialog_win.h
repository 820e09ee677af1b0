#pragma once
// 通用对话框1: the system's open-file dialog, modal over its owner, for one
// existing MP3 or WAV file. It keeps the last chosen path for as long as it
// lives (the main window keeps it for the life of the process) and opens with
// it as the initial file name; a cancel leaves it as it was.

#include <windows.h>

#include "musiclist/file_chooser.h"

namespace soundboard {

class OpenFileDialog final : public FileChooser {
 public:
  explicit OpenFileDialog(HWND owner) : owner_(owner) {}

  std::optional<Text> ChooseFile() override;

  // The path chosen last, "" before the first choice.
  const Text& LastPath() const { return lastPath_; }

 private:
  HWND owner_;
  Text lastPath_;
};

}  // namespace soundboard
