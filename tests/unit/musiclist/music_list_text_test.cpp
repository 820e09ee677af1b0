// The list file taken apart as text: what each loader lists, and what a
// removal leaves, over the file contents that matter.
#include "musiclist/music_list_text.h"

#include <gtest/gtest.h>

namespace soundboard {
namespace {

using Names = std::vector<Text>;

ByteBlock Bytes(std::string_view text) { return ByteBlock(text.begin(), text.end()); }

TEST(MusicListText, LoadersListTheFirstPieceOfEachLine) {
  struct Case {
    std::string_view file;
    Names atStart;
    Names afterDeletion;
  };
  const Case cases[] = {
      {"", {}, {}},
      {"[音乐]\r\n", {}, {}},
      {"[音乐]\r\nsong=C:\\Music\\song.mp3\r\nintro=D:\\Show\\intro.wav\r\n", {"song", "intro"}, {"song", "intro"}},
      // Nothing before "=": an entry with the empty name.
      {"[音乐]\r\n=C:\\x.mp3\r\n", {""}, {""}},
      // Nothing after "=": one piece, no entry.
      {"[音乐]\r\na=\r\n", {}, {}},
      // Three pieces: an entry at start only.
      {"[音乐]\r\na=b=c\r\n", {"a"}, {}},
      // Sections are not recognised: every line with "=" counts.
      {"[其他]\r\nx=1\r\n[音乐]\r\nsong=C:\\s.mp3\r\n", {"x", "song"}, {"x", "song"}},
      {"x=1\r\n[音乐]\r\n", {"x"}, {"x"}},
      // An empty line between entries gives nothing.
      {"[音乐]\r\na=1\r\n\r\nb=2\r\n", {"a", "b"}, {"a", "b"}},
      // Spaces around "=" stay in the name.
      {"[音乐]\r\na = C:\\x.mp3\r\n", {"a "}, {"a "}},
      // No final CR LF.
      {"[音乐]\r\na=1\r\nb=2", {"a", "b"}, {"a", "b"}},
      // Duplicates stay, in file order.
      {"[音乐]\r\nb=1\r\na=2\r\nb=1\r\n", {"b", "a", "b"}, {"b", "a", "b"}},
      // LF alone is no line end; the 5C of 運 is no "\" and "=" no part of it.
      {"a=1\nb=2\r\n運=D:\\運.mp3\r\n", {"a", "運"}, {"運"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MusicNamesAtStart(c.file), c.atStart) << testing::PrintToString(std::string(c.file));
    EXPECT_EQ(MusicNamesAfterDeletion(c.file), c.afterDeletion) << testing::PrintToString(std::string(c.file));
  }
}

TEST(MusicListText, ZeroByteEndsTheListedText) {
  const ByteBlock file = Bytes(std::string_view("[音乐]\r\na=1\r\nb=2\0c=3\r\n", 22));
  EXPECT_EQ(MusicNamesAtStart(BytesToText(file)), (Names{"a", "b"}));
  EXPECT_EQ(MusicNamesAfterDeletion(BytesToText(file)), (Names{"a", "b"}));
}

TEST(MusicListText, EntryLineIsNameEqualsPathCrLf) {
  EXPECT_EQ(MusicEntryLine("song", "C:\\Music\\song.mp3"), "song=C:\\Music\\song.mp3\r\n");
  EXPECT_EQ(MusicEntryLine("", ""), "=\r\n");
}

TEST(MusicListText, RemovalTakesOutExactlyTheEntryLines) {
  struct Case {
    const char* what;
    std::string_view file;
    std::string_view entryLine;
    std::string_view after;
  };
  const Case cases[] = {
      {"one entry", "[音乐]\r\nsong=C:\\s.mp3\r\nintro=D:\\i.wav\r\n", "song=C:\\s.mp3\r\n",
       "[音乐]\r\nintro=D:\\i.wav\r\n"},
      {"every copy, anywhere", "x=1\r\n[音乐]\r\nx=1\r\ny=2\r\nx=1\r\n", "x=1\r\n", "[音乐]\r\ny=2\r\n"},
      {"letter case counts", "[音乐]\r\nA=1\r\n", "a=1\r\n", "[音乐]\r\nA=1\r\n"},
      {"spaces around =", "[音乐]\r\na = C:\\x.mp3\r\n", "a=C:\\x.mp3\r\n", "[音乐]\r\na = C:\\x.mp3\r\n"},
      {"no final CR LF", "[音乐]\r\na=C:\\x.mp3", "a=C:\\x.mp3\r\n", "[音乐]\r\na=C:\\x.mp3"},
      {"empty name: nothing", "[音乐]\r\nsong=C:\\s.mp3\r\n", "=\r\n", "[音乐]\r\nsong=C:\\s.mp3\r\n"},
      {"=C:\\x.mp3", "[音乐]\r\n=C:\\x.mp3\r\n", "=C:\\x.mp3\r\n", "[音乐]\r\n"},
      {"the tail of another line", "[音乐]\r\nbsong=C:\\s.mp3\r\n", "song=C:\\s.mp3\r\n", "[音乐]\r\nb"},
      {"missing file", "", "song=C:\\s.mp3\r\n", ""},
      {"GBK name", "[音乐]\r\n運=D:\\a\\運.mp3\r\n", "運=D:\\a\\運.mp3\r\n", "[音乐]\r\n"},
      // The text ends at the first zero byte; the bytes from it on are kept.
      {"zero byte", std::string_view("[音乐]\r\na=1\r\nb=2\r\n\0a=1\r\n\xFF", 25), "a=1\r\n",
       std::string_view("[音乐]\r\nb=2\r\n\0a=1\r\n\xFF", 20)},
      {"zero byte first", std::string_view("\0a=1\r\n", 6), "a=1\r\n", std::string_view("\0a=1\r\n", 6)},
  };
  for (const Case& c : cases) {
    ByteBlock after = ListFileWithoutEntry(Bytes(c.file), c.entryLine);
    EXPECT_EQ(std::string(after.begin(), after.end()), c.after) << c.what;
  }
}

}  // namespace
}  // namespace soundboard
