#pragma once
// The program as a whole: the one window, the one Player, the music panel,
// and the handlers that join them.

#include <windows.h>

#include <memory>
#include <optional>

#include "app/main_window_win.h"
#include "musiclist/list_box_view_win.h"
#include "musiclist/music_list_file.h"
#include "musiclist/music_panel.h"
#include "musiclist/open_file_dialog_win.h"
#include "sound/player.h"

namespace soundboard {

class Application {
 public:
  explicit Application(HINSTANCE instance);
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // Start-up, the message loop, and the end of the program. Returns the exit
  // code; a window that cannot be created ends the process with -1 instead.
  int Run();

 private:
  void BindHandlers();
  void OnMainWindowCreated();

  HINSTANCE instance_;
  std::unique_ptr<AudioStreamFactory> streams_;
  Player player_;
  MainWindow window_;
  MusicListIni musicFile_;
  std::optional<ListBoxView> musicList_;
  std::optional<OpenFileDialog> openFileDialog_;  // 通用对话框1: keeps the last path for the run
  std::optional<MusicPanel> musicPanel_;
};

}  // namespace soundboard
