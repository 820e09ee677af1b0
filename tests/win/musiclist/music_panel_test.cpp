// The panel's handlers over a real list box and music.ini, with a scripted
// file chooser and a play function that records what it is asked to play.
#include "musiclist/music_panel.h"

#include <gtest/gtest.h>

#include <deque>

#include "../textops/temp_folder_win.h"
#include "list_box_window_win.h"
#include "musiclist/list_box_view_win.h"
#include "musiclist/music_list_file.h"

namespace soundboard {
namespace {

using Names = std::vector<Text>;

class ScriptedChooser : public FileChooser {
 public:
  std::optional<Text> ChooseFile() override {
    std::optional<Text> answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::deque<std::optional<Text>> answers;
};

class MusicPanelWinTest : public testing::Test {
 protected:
  Names Items() const {
    Names items;
    for (int i = 0; i < list_.Count(); ++i) items.push_back(list_.ItemText(i));
    return items;
  }
  // Adds each path in turn through the panel.
  void Add(std::initializer_list<const char*> paths) {
    for (const char* path : paths) chooser_.answers.push_back(Text(path));
    for (size_t i = 0; i < paths.size(); ++i) panel_.OnAddClicked();
  }
  std::string DoubleClick(int index) {
    window_.Select(index);
    played_.clear();
    panel_.OnListDoubleClicked();
    EXPECT_EQ(played_.size(), 1u);
    return played_.empty() ? "(nothing)" : played_.front();
  }

  TempFolder folder_;
  const std::string file_ = folder_ / "music.ini";
  ListBoxWindow window_;
  ListBoxView list_{window_.listBox()};
  ScriptedChooser chooser_;
  MusicListIni ini_{file_};
  std::vector<std::string> played_;
  MusicPanel panel_{list_, chooser_, ini_, [this](const std::string& path) { played_.push_back(path); }};
};

TEST_F(MusicPanelWinTest, FirstAddListsTheNameAndStoresTheLine) {
  Add({"C:\\Music\\song.mp3"});
  EXPECT_EQ(Items(), (Names{"song"}));
  EXPECT_EQ(FileBytes(file_), "[音乐]\r\nsong=C:\\Music\\song.mp3\r\n");
  EXPECT_EQ(DoubleClick(0), "C:\\Music\\song.mp3");
}

TEST_F(MusicPanelWinTest, CancelledAddChangesNothing) {
  Add({"C:\\Music\\song.mp3"});
  window_.Select(0);
  chooser_.answers.push_back(std::nullopt);
  panel_.OnAddClicked();
  EXPECT_EQ(Items(), (Names{"song"}));
  EXPECT_EQ(list_.Selection(), 0);
  EXPECT_EQ(FileBytes(file_), "[音乐]\r\nsong=C:\\Music\\song.mp3\r\n");
}

TEST_F(MusicPanelWinTest, AddKeepsTheSelection) {
  Add({"C:\\Music\\song.mp3"});
  window_.Select(0);
  Add({"D:\\Show\\intro.wav"});
  EXPECT_EQ(Items(), (Names{"song", "intro"}));
  EXPECT_EQ(list_.Selection(), 0);
}

TEST_F(MusicPanelWinTest, SameFileTwiceIsListedTwiceAndDeletedTogether) {
  Add({"C:\\Music\\song.mp3", "D:\\Show\\intro.wav", "C:\\Music\\song.mp3"});
  EXPECT_EQ(Items(), (Names{"song", "intro", "song"}));
  EXPECT_EQ(DoubleClick(0), "C:\\Music\\song.mp3");
  EXPECT_EQ(DoubleClick(2), "C:\\Music\\song.mp3");
  window_.Select(2);
  panel_.OnDeleteClicked();
  EXPECT_EQ(Items(), (Names{"intro"}));
  EXPECT_EQ(list_.Selection(), -1);
  EXPECT_EQ(FileBytes(file_), "[音乐]\r\nintro=D:\\Show\\intro.wav\r\n");
}

TEST_F(MusicPanelWinTest, SameNameFromTwoFoldersPlaysTheLastPath) {
  Add({"C:\\a\\x.mp3", "D:\\b\\x.wav"});
  EXPECT_EQ(Items(), (Names{"x", "x"}));
  EXPECT_EQ(DoubleClick(0), "D:\\b\\x.wav");
  EXPECT_EQ(DoubleClick(1), "D:\\b\\x.wav");
  window_.Select(0);
  panel_.OnDeleteClicked();
  EXPECT_EQ(Items(), Names{});
}

TEST_F(MusicPanelWinTest, GbkNameIsListed) {
  Add({"D:\\a\\運.mp3"});
  EXPECT_EQ(Items(), (Names{"運"}));
  EXPECT_EQ(DoubleClick(0), "D:\\a\\運.mp3");
}

TEST_F(MusicPanelWinTest, EmptyNamePlaysNothing) {
  Add({"D:\\x\\.mp3", "C:\\Music\\song"});
  EXPECT_EQ(Items(), (Names{"", ""}));
  EXPECT_EQ(DoubleClick(0), "");
  EXPECT_EQ(DoubleClick(1), "");
}

TEST_F(MusicPanelWinTest, DoubleClickWithNothingSelectedStopsTheSound) {
  Add({"C:\\Music\\song.mp3"});
  EXPECT_EQ(DoubleClick(-1), "");
}

TEST_F(MusicPanelWinTest, DeleteWithNothingSelectedWritesTheFileBackAndRebuilds) {
  Add({"C:\\Music\\song.mp3", "D:\\Show\\intro.wav", "C:\\Music\\song.mp3"});
  const std::string before = FileBytes(file_);
  window_.Select(-1);
  panel_.OnDeleteClicked();
  EXPECT_EQ(FileBytes(file_), before);
  EXPECT_EQ(Items(), (Names{"song", "intro"}));
  EXPECT_EQ(list_.Selection(), -1);
}

}  // namespace
}  // namespace soundboard
