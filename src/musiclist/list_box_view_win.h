#pragma once
// MusicListView over a real list box control (LB_* messages).

#include <windows.h>

#include "musiclist/music_list_view.h"

namespace soundboard {

class ListBoxView final : public MusicListView {
 public:
  explicit ListBoxView(HWND listBox) : listBox_(listBox) {}

  int Count() const override;
  void Insert(int index, const Text& name) override;
  Text ItemText(int index) const override;
  int Selection() const override;
  void Clear() override;

 private:
  HWND listBox_;
};

}  // namespace soundboard
