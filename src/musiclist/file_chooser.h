#pragma once
// The open-file dialog 通用对话框1 as the music panel uses it
// (open_file_dialog_win.h is the real one).

#include <optional>

#include "textops/text_ops.h"

namespace soundboard {

class FileChooser {
 public:
  virtual ~FileChooser() = default;
  // Lets the user choose one file; its full path, or nullopt on a cancel.
  virtual std::optional<Text> ChooseFile() = 0;
};

}  // namespace soundboard
