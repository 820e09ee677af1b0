#include "musiclist/list_box_view_win.h"

namespace soundboard {

int ListBoxView::Count() const {
  LRESULT count = SendMessageA(listBox_, LB_GETCOUNT, 0, 0);
  return count == LB_ERR ? 0 : static_cast<int>(count);
}

void ListBoxView::Insert(int index, const Text& name) {
  SendMessageA(listBox_, LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(name.c_str()));
}

Text ListBoxView::ItemText(int index) const {
  if (index < 0 || index >= Count()) return Text();
  LRESULT length = SendMessageA(listBox_, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == LB_ERR) return Text();
  Text text(static_cast<size_t>(length) + 1, '\0');
  LRESULT copied = SendMessageA(listBox_, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied == LB_ERR ? 0 : static_cast<size_t>(copied));
  return text;
}

int ListBoxView::Selection() const {
  LRESULT selection = SendMessageA(listBox_, LB_GETCURSEL, 0, 0);
  return selection == LB_ERR ? -1 : static_cast<int>(selection);
}

void ListBoxView::Clear() { SendMessageA(listBox_, LB_RESETCONTENT, 0, 0); }

}  // namespace soundboard
