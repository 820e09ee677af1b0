#include "musiclist/music_panel.h"

#include <utility>

#include "musiclist/music_name.h"

namespace soundboard {

MusicPanel::MusicPanel(MusicListView& list, FileChooser& chooser, MusicEntries& entries, PlayOnce play)
    : list_(list), chooser_(chooser), entries_(entries), play_(std::move(play)) {}

void MusicPanel::OnAddClicked() {
  std::optional<Text> path = chooser_.ChooseFile();
  if (!path || path->empty()) return;
  Text name = MusicNameFromPath(*path);
  entries_.StoreMusicEntry(name, *path);
  list_.Append(name);
}

void MusicPanel::OnListDoubleClicked() { play_(entries_.LookUpMusicPath(SelectedName())); }

void MusicPanel::OnDeleteClicked() { entries_.RemoveMusicEntry(SelectedName(), list_); }

Text MusicPanel::SelectedName() const { return list_.ItemText(list_.Selection()); }

}  // namespace soundboard
