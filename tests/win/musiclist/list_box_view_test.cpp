#include "musiclist/list_box_view_win.h"

#include <gtest/gtest.h>

#include "list_box_window_win.h"

namespace soundboard {
namespace {

TEST(ListBoxView, KeepsItemsInInsertionOrderWithOneSelection) {
  ListBoxWindow window;
  ASSERT_NE(window.listBox(), nullptr);
  ListBoxView list(window.listBox());

  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Selection(), -1);
  EXPECT_EQ(list.ItemText(0), "");

  list.Append("song");
  list.Append("運");
  list.Insert(list.Count(), "a");  // the count appends
  list.Insert(0, "z");
  EXPECT_EQ(list.Count(), 4);
  EXPECT_EQ(list.ItemText(0), "z");
  EXPECT_EQ(list.ItemText(1), "song");
  EXPECT_EQ(list.ItemText(2), "運");
  EXPECT_EQ(list.ItemText(3), "a");
  EXPECT_EQ(list.ItemText(4), "");
  EXPECT_EQ(list.ItemText(-1), "");

  window.Select(2);
  EXPECT_EQ(list.Selection(), 2);
  list.Append("");
  EXPECT_EQ(list.Selection(), 2);
  EXPECT_EQ(list.ItemText(4), "");
  EXPECT_EQ(list.Count(), 5);

  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Selection(), -1);
}

}  // namespace
}  // namespace soundboard
