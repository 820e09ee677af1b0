// music.ini through the real file and profile services: storing, looking up,
// loading, and removing entries, also when the rewrite cannot be done.
#include "musiclist/music_list_file.h"

#include <gtest/gtest.h>

#include "../textops/temp_folder_win.h"
#include "list_box_window_win.h"
#include "musiclist/list_box_view_win.h"
#include "textops/file_ops.h"

namespace soundboard {
namespace {

using Names = std::vector<Text>;

Names Items(const MusicListView& list) {
  Names items;
  for (int i = 0; i < list.Count(); ++i) items.push_back(list.ItemText(i));
  return items;
}

// The names of the files in folder.
Names FilesIn(const std::string& folder) {
  Names names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

class MusicListFileTest : public testing::Test {
 protected:
  TempFolder folder_;
  // Formed like the real one: a folder with its trailing "\" + "\music.ini".
  const std::string file_ = folder_.path() + "\\\\music.ini";
  const std::string plainFile_ = folder_ / "music.ini";
  ListBoxWindow window_;
  ListBoxView list_{window_.listBox()};
  MusicListIni ini_{file_};
};

TEST(MusicListFilePath, IsInTheApplicationDataFolder) {
  Text file = MusicListFile();
  EXPECT_EQ(file, AppDataDirectory() + "\\music.ini");
  EXPECT_EQ(file.substr(file.size() - 11), "\\\\music.ini");
  EXPECT_EQ(MusicListIni().File(), file);
}

TEST_F(MusicListFileTest, StoreWritesOneLinePerNameAndLookUpReadsIt) {
  EXPECT_EQ(ini_.LookUpMusicPath("song"), "");
  ini_.StoreMusicEntry("song", "C:\\Music\\song.mp3");
  EXPECT_EQ(FileBytes(plainFile_), "[音乐]\r\nsong=C:\\Music\\song.mp3\r\n");
  ini_.StoreMusicEntry("運", "D:\\a\\運.mp3");
  ini_.StoreMusicEntry("song", "E:\\song.wav");
  EXPECT_EQ(FileBytes(plainFile_), "[音乐]\r\nsong=E:\\song.wav\r\n運=D:\\a\\運.mp3\r\n");
  EXPECT_EQ(ini_.LookUpMusicPath("song"), "E:\\song.wav");
  EXPECT_EQ(ini_.LookUpMusicPath("運"), "D:\\a\\運.mp3");
  EXPECT_EQ(ini_.LookUpMusicPath(""), "");
  EXPECT_EQ(ini_.LookUpMusicPath("none"), "");
}

TEST_F(MusicListFileTest, LookUpSeesOnlyTheMusicSection) {
  ASSERT_TRUE(PutFileBytes(plainFile_, "[其他]\r\nx=C:\\x.mp3\r\n[音乐]\r\nsong=C:\\s.mp3\r\n"));
  ini_.LoadMusicList(list_);
  EXPECT_EQ(Items(list_), (Names{"x", "song"}));
  EXPECT_EQ(ini_.LookUpMusicPath("x"), "");
  EXPECT_EQ(ini_.LookUpMusicPath("song"), "C:\\s.mp3");
}

TEST_F(MusicListFileTest, LoadAppendsAndReloadRebuilds) {
  ASSERT_TRUE(PutFileBytes(plainFile_, "[音乐]\r\nb=1\r\n=C:\\x.mp3\r\na=\r\na=b=c\r\n\r\nb=1"));
  list_.Append("already");
  ini_.LoadMusicList(list_);
  EXPECT_EQ(Items(list_), (Names{"already", "b", "", "a", "b"}));
  window_.Select(1);
  ini_.ReloadMusicList(list_);
  EXPECT_EQ(Items(list_), (Names{"b", "", "b"}));
  EXPECT_EQ(list_.Selection(), -1);
}

TEST_F(MusicListFileTest, MissingFileGivesAnEmptyList) {
  ini_.LoadMusicList(list_);
  EXPECT_EQ(list_.Count(), 0);
}

TEST_F(MusicListFileTest, RemoveTakesOutTheEntryAndRebuildsTheList) {
  ini_.StoreMusicEntry("song", "C:\\Music\\song.mp3");
  ini_.StoreMusicEntry("intro", "D:\\Show\\intro.wav");
  ini_.StoreMusicEntry("a", "b=c");
  ini_.LoadMusicList(list_);
  list_.Append("song");
  ASSERT_EQ(Items(list_), (Names{"song", "intro", "a", "song"}));

  ini_.RemoveMusicEntry("song", list_);
  EXPECT_EQ(FileBytes(plainFile_), "[音乐]\r\nintro=D:\\Show\\intro.wav\r\na=b=c\r\n");
  EXPECT_EQ(Items(list_), (Names{"intro"}));
  EXPECT_EQ(FilesIn(folder_.path()), (Names{"music.ini"}));
}

TEST_F(MusicListFileTest, RemoveOfAnUnknownOrEmptyNameWritesTheFileBackUnchanged) {
  const std::string content = "[音乐]\r\nsong=C:\\Music\\song.mp3\r\na = C:\\x.mp3\r\nlast=C:\\l.mp3";
  for (const char* name : {"", "none", "a", "last"}) {
    ASSERT_TRUE(PutFileBytes(plainFile_, content));
    list_.Clear();
    list_.Append("stale");
    ini_.RemoveMusicEntry(name, list_);
    EXPECT_EQ(FileBytes(plainFile_), content) << name;
    EXPECT_EQ(Items(list_), (Names{"song", "a ", "last"})) << name;
  }
}

TEST_F(MusicListFileTest, RemoveCreatesAMissingFileEmpty) {
  list_.Append("stale");
  ini_.RemoveMusicEntry("song", list_);
  EXPECT_TRUE(FileExists(plainFile_));
  EXPECT_EQ(FileBytes(plainFile_), "");
  EXPECT_EQ(list_.Count(), 0);
}

TEST_F(MusicListFileTest, RemoveKeepsEverythingFromAZeroByteOn) {
  const std::string content("[音乐]\r\na=C:\\a.mp3\r\nb=C:\\b.mp3\r\n\0a=C:\\a.mp3\r\ntail", 49);
  ASSERT_TRUE(PutFileBytes(plainFile_, content));
  ini_.RemoveMusicEntry("a", list_);
  EXPECT_EQ(FileBytes(plainFile_), std::string("[音乐]\r\nb=C:\\b.mp3\r\n\0a=C:\\a.mp3\r\ntail", 37));
  EXPECT_EQ(Items(list_), (Names{"b"}));
}

TEST_F(MusicListFileTest, ReadOnlyOrBusyFileStaysAsItWasAndTheListComesFromIt) {
  const std::string content = "[音乐]\r\nsong=C:\\Music\\song.mp3\r\nintro=D:\\i.wav\r\n";
  ASSERT_TRUE(PutFileBytes(plainFile_, content));

  ASSERT_TRUE(SetFileAttributesA(plainFile_.c_str(), FILE_ATTRIBUTE_READONLY));
  ini_.RemoveMusicEntry("song", list_);
  EXPECT_EQ(FileBytes(plainFile_), content);
  EXPECT_EQ(Items(list_), (Names{"song", "intro"}));
  ASSERT_TRUE(SetFileAttributesA(plainFile_.c_str(), FILE_ATTRIBUTE_NORMAL));

  // Another program reads it and lets others read, not write.
  HANDLE reader = CreateFileA(plainFile_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  list_.Clear();
  ini_.RemoveMusicEntry("song", list_);
  CloseHandle(reader);
  EXPECT_EQ(FileBytes(plainFile_), content);
  EXPECT_EQ(Items(list_), (Names{"song", "intro"}));
  EXPECT_EQ(FilesIn(folder_.path()), (Names{"music.ini"}));
}

TEST_F(MusicListFileTest, WriteThatFailsPartWayLeavesTheOldFileWhole) {
  const std::string content = "[音乐]\r\nsong=C:\\Music\\song.mp3\r\nintro=D:\\Show\\intro.wav\r\n";
  ASSERT_TRUE(PutFileBytes(plainFile_, content));
  std::string written;
  // Writes the first half of the new content, then fails, as a full disk would.
  MusicListIni failing(file_, [&](const Text& path, const ByteBlock& block) {
    ByteBlock half(block.begin(), block.begin() + block.size() / 2);
    EXPECT_TRUE(WriteWholeFile(path, {half}));
    written = FileBytes(path);
    return false;
  });
  failing.RemoveMusicEntry("song", list_);
  EXPECT_EQ(written, std::string("[音乐]\r\nintro=D:\\Show\\intro.wav\r\n").substr(0, 16));
  EXPECT_EQ(FileBytes(plainFile_), content);
  EXPECT_EQ(Items(list_), (Names{"song", "intro"}));
  EXPECT_EQ(FilesIn(folder_.path()), (Names{"music.ini"}));
}

}  // namespace
}  // namespace soundboard
