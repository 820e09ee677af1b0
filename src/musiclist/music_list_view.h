#pragma once
// The list box 列表框1 as the music list uses it: entry names in the order in
// which they were inserted (it never sorts), and at most one selected item.
// list_box_view_win.h puts it over a real list box; tests use their own.

#include "textops/text_ops.h"

namespace soundboard {

class MusicListView {
 public:
  virtual ~MusicListView() = default;

  virtual int Count() const = 0;
  // Inserts name before the item at index; index == Count() appends it.
  virtual void Insert(int index, const Text& name) = 0;
  // The text of the item at index, or "" when index is outside 0..Count()-1.
  virtual Text ItemText(int index) const = 0;
  // The index of the selected item, or -1 when none is selected.
  virtual int Selection() const = 0;
  virtual void Clear() = 0;

  void Append(const Text& name) { Insert(Count(), name); }
};

}  // namespace soundboard
