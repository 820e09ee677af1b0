#include "musiclist/music_name.h"

#include <gtest/gtest.h>

namespace soundboard {
namespace {

TEST(MusicName, IsTheFileNameWithoutFolderAndLastExtension) {
  struct Case {
    const char* path;
    const char* name;
  };
  const Case cases[] = {
      {"C:\\Music\\song.mp3", "song"},
      {"C:\\dir\\song.mp3", "song"},
      {"D:\\Show\\live.set.wav", "live.set"},
      // 運 is DF 5C: its second byte is not a "\".
      {"D:\\a\\運.mp3", "運"},
      {"D:\\運\\運運.wav", "運運"},
      // The last "." of the whole path counts, even in a folder name.
      {"C:\\my.music\\song", "my"},
      // Only an extension, or no "." at all: the empty name.
      {"D:\\x\\.mp3", ""},
      {"C:\\Music\\song", ""},
      {"", ""},
      // No folder.
      {"song.mp3", "song"},
      {"\\song.mp3", "song"},
      {"C:song.mp3", "C:song"},
      // Upper-case extensions and Chinese names.
      {"E:\\音乐\\掌声.MP3", "掌声"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MusicNameFromPath(c.path), c.name) << c.path;
  }
}

}  // namespace
}  // namespace soundboard
