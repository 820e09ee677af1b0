#pragma once
// The handlers of the music panel: "添加" adds a file through the open-file
// dialog, a double-click on 列表框1 plays the selected entry once, "删除"
// deletes the selected entry from music.ini without asking.

#include <functional>
#include <string>

#include "musiclist/file_chooser.h"
#include "musiclist/music_entries.h"
#include "musiclist/music_list_view.h"

namespace soundboard {

class MusicPanel {
 public:
  // Plays one file once, cutting off whatever sounds; "" plays nothing.
  using PlayOnce = std::function<void(const std::string& path)>;

  MusicPanel(MusicListView& list, FileChooser& chooser, MusicEntries& entries, PlayOnce play);

  // Click on 按钮14 "添加": the chosen file is stored under its name, which
  // is appended to the list (a name already listed is listed again).
  void OnAddClicked();
  // Double-click notification of 列表框1: plays the path stored under the
  // selected item's name (none selected: "", which stops the sound).
  void OnListDoubleClicked();
  // Click on 按钮16 "删除": removes the selected item's entry (none
  // selected: the name ""), after which the list is rebuilt from the file.
  void OnDeleteClicked();

 private:
  Text SelectedName() const;

  MusicListView& list_;
  FileChooser& chooser_;
  MusicEntries& entries_;
  PlayOnce play_;
};

}  // namespace soundboard
