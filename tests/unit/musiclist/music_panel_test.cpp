// The panel's handlers over an in-memory list, dialog and list file.
#include "musiclist/music_panel.h"

#include <gtest/gtest.h>

#include <deque>
#include <map>

namespace soundboard {
namespace {

class FakeList : public MusicListView {
 public:
  int Count() const override { return static_cast<int>(items.size()); }
  void Insert(int index, const Text& name) override {
    items.insert(items.begin() + index, name);
    if (selection >= index) ++selection;
  }
  Text ItemText(int index) const override { return index >= 0 && index < Count() ? items[index] : Text(); }
  int Selection() const override { return selection; }
  void Clear() override {
    items.clear();
    selection = -1;
  }

  std::vector<Text> items;
  int selection = -1;
};

// Answers each opening with the next of its answers (nullopt: cancel).
class FakeChooser : public FileChooser {
 public:
  std::optional<Text> ChooseFile() override {
    ++openings;
    std::optional<Text> answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::deque<std::optional<Text>> answers;
  int openings = 0;
};

// A list file of one section: a name has one path; a removal drops the name
// when the path matches and rebuilds the list from what is left.
class FakeEntries : public MusicEntries {
 public:
  void StoreMusicEntry(const Text& name, const Text& path) override {
    if (!paths.count(name)) order.push_back(name);
    paths[name] = path;
  }
  Text LookUpMusicPath(const Text& name) override {
    auto it = paths.find(name);
    return name.empty() || it == paths.end() ? Text() : it->second;
  }
  void RemoveMusicEntry(const Text& name, MusicListView& list) override {
    removed.push_back(name);
    if (!LookUpMusicPath(name).empty()) {
      paths.erase(name);
      std::erase(order, name);
    }
    list.Clear();
    for (const Text& n : order) list.Append(n);
  }
  std::map<Text, Text> paths;
  std::vector<Text> order;
  std::vector<Text> removed;
};

class MusicPanelTest : public testing::Test {
 protected:
  FakeList list_;
  FakeChooser chooser_;
  FakeEntries entries_;
  std::vector<std::string> played_;
  MusicPanel panel_{list_, chooser_, entries_, [this](const std::string& path) { played_.push_back(path); }};
};

TEST_F(MusicPanelTest, AddStoresTheFileAndAppendsItsName) {
  list_.items = {"intro"};
  list_.selection = 0;
  chooser_.answers = {Text("C:\\Music\\song.mp3"), Text("D:\\a\\運.mp3")};
  panel_.OnAddClicked();
  panel_.OnAddClicked();
  EXPECT_EQ(list_.items, (std::vector<Text>{"intro", "song", "運"}));
  EXPECT_EQ(list_.selection, 0);
  EXPECT_EQ(entries_.paths, (std::map<Text, Text>{{"song", "C:\\Music\\song.mp3"}, {"運", "D:\\a\\運.mp3"}}));
}

TEST_F(MusicPanelTest, AddOfTheSameNameListsItAgainAndTheLastPathCounts) {
  chooser_.answers = {Text("C:\\a\\x.mp3"), Text("D:\\b\\x.wav"), Text("D:\\x\\.mp3")};
  panel_.OnAddClicked();
  panel_.OnAddClicked();
  panel_.OnAddClicked();
  EXPECT_EQ(list_.items, (std::vector<Text>{"x", "x", ""}));
  EXPECT_EQ(entries_.paths["x"], "D:\\b\\x.wav");
  EXPECT_EQ(entries_.paths[""], "D:\\x\\.mp3");
}

TEST_F(MusicPanelTest, AddThatIsCancelledOrEmptyChangesNothing) {
  chooser_.answers = {std::nullopt, Text("")};
  panel_.OnAddClicked();
  panel_.OnAddClicked();
  EXPECT_EQ(chooser_.openings, 2);
  EXPECT_TRUE(list_.items.empty());
  EXPECT_TRUE(entries_.paths.empty());
}

TEST_F(MusicPanelTest, DoubleClickPlaysThePathOfTheSelectedName) {
  entries_.StoreMusicEntry("song", "C:\\Music\\song.mp3");
  entries_.StoreMusicEntry("intro", "D:\\Show\\intro.wav");
  list_.items = {"song", "intro", "song", "gone", ""};
  struct Case {
    int selection;
    const char* played;
  };
  const Case cases[] = {
      {1, "D:\\Show\\intro.wav"},
      {0, "C:\\Music\\song.mp3"},
      {2, "C:\\Music\\song.mp3"},
      {3, ""},  // not in the file: the sound stops, nothing plays
      {4, ""},  // the empty name
      {-1, ""},  // nothing selected
  };
  for (const Case& c : cases) {
    list_.selection = c.selection;
    played_.clear();
    panel_.OnListDoubleClicked();
    EXPECT_EQ(played_, (std::vector<std::string>{c.played})) << c.selection;
  }
}

TEST_F(MusicPanelTest, DeleteRemovesTheSelectedNameAndTheListIsRebuilt) {
  chooser_.answers = {Text("C:\\Music\\song.mp3"), Text("D:\\Show\\intro.wav"), Text("C:\\Music\\song.mp3")};
  for (int i = 0; i < 3; ++i) panel_.OnAddClicked();
  ASSERT_EQ(list_.items, (std::vector<Text>{"song", "intro", "song"}));
  list_.selection = 2;
  panel_.OnDeleteClicked();
  EXPECT_EQ(entries_.removed, (std::vector<Text>{"song"}));
  EXPECT_EQ(list_.items, (std::vector<Text>{"intro"}));
  EXPECT_EQ(list_.selection, -1);
}

TEST_F(MusicPanelTest, DeleteWithNothingSelectedRemovesTheEmptyName) {
  entries_.StoreMusicEntry("song", "C:\\Music\\song.mp3");
  list_.items = {"song", "stale"};
  panel_.OnDeleteClicked();
  EXPECT_EQ(entries_.removed, (std::vector<Text>{""}));
  EXPECT_EQ(list_.items, (std::vector<Text>{"song"}));
  EXPECT_TRUE(played_.empty());
}

}  // namespace
}  // namespace soundboard
