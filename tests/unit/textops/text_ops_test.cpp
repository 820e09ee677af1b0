// The text operations over the edge cases that matter, as tables: byte
// positions, the character walk, the empty-target and empty-text rules.
#include "textops/text_ops.h"

#include <gtest/gtest.h>

namespace soundboard {
namespace {

using List = std::vector<Text>;

TEST(TextOps, SourceTextsAreGbk) {
  // 運 is DF 5C: its second byte is the byte of "\".
  EXPECT_EQ(Text("運"), "\xDF\x5C");
}

TEST(TextOps, TextLength) {
  EXPECT_EQ(TextLength(""), 0);
  EXPECT_EQ(TextLength("C:\\dir\\song.mp3"), 15);
  EXPECT_EQ(TextLength("D:\\a\\運.mp3"), 11);
}

TEST(TextOps, JoinTexts) {
  EXPECT_EQ(JoinTexts({}), "");
  EXPECT_EQ(JoinTexts({"a"}), "a");
  EXPECT_EQ(JoinTexts({"song", "=", "C:\\Music\\song.mp3", "\r\n"}), "song=C:\\Music\\song.mp3\r\n");
  EXPECT_EQ(JoinTexts({"", "a", "", "b", ""}), "ab");
  EXPECT_EQ(JoinTexts({"C:\\x\\", "\\music.ini"}), "C:\\x\\\\music.ini");
}

TEST(TextOps, TextLeftAndRight) {
  struct Case {
    const char* text;
    int32_t n;
    const char* left;
    const char* right;
  };
  const Case cases[] = {
      {"C:\\dir\\song.mp3", 11, "C:\\dir\\song", "ir\\song.mp3"},
      {"C:\\dir\\song", 4, "C:\\d", "song"},
      {"abc", 0, "", ""},
      {"abc", -2, "", ""},
      {"abc", INT32_MIN, "", ""},
      {"abc", 3, "abc", "abc"},
      {"abc", 4, "abc", "abc"},
      {"abc", INT32_MAX, "abc", "abc"},
      {"", 1, "", ""},
      {"", 0, "", ""},
      // Byte cuts, not character cuts: the callers pass boundaries.
      {"\xDF\x5C", 1, "\xDF", "\x5C"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TextLeft(c.text, c.n), c.left) << c.text << " " << c.n;
    EXPECT_EQ(TextRight(c.text, c.n), c.right) << c.text << " " << c.n;
  }
}

TEST(TextOps, FindLast) {
  struct Case {
    std::string_view text;
    std::string_view target;
    int32_t position;
  };
  const Case cases[] = {
      // Paths, as the music list takes names from them.
      {"C:\\dir\\song.mp3", ".", 12},
      {"C:\\dir\\song", "\\", 7},
      {"D:\\a\\運.mp3", ".", 8},
      {"D:\\a\\運", "\\", 5},  // not 7: that 5C is the second byte of 運
      {"song", ".", -1},
      {"", ".", -1},
      // Empty target.
      {"abc", "", 1},
      {"", "", -1},
      // Overlapping occurrences are all seen.
      {"aaa", "aa", 2},
      {"abab", "ab", 3},
      // Letter case counts.
      {"ABC", "b", -1},
      {"ABC", "B", 2},
      // Target longer than the text, equal to it.
      {"ab", "abc", -1},
      {"abc", "abc", 1},
      // A match is never tried at a second byte.
      {"\xDF\x5C", "\x5C", -1},
      {"\xDF\x5C\x5C", "\x5C", 3},
      {"\x81\x81\x81", "\x81", 3},  // characters 81 81 and lone 81
      {"\x81\x81\x81\x81", "\x81", 3},
      {"\x81\x81\x81\x81", "\x81\x81", 3},
      // A lead byte as the very last byte is one character.
      {std::string_view("a\xDF", 2), "\xDF", 2},
      {std::string_view("\xDF", 1), "\xDF", 1},
      // Two-byte targets at character starts only.
      {"x\xB0\xA1\xB0\xA1", "\xA1\xB0", -1},
      {"x\xB0\xA1\xB0\xA1", "\xB0\xA1", 4},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FindLast(c.text, c.target), c.position)
        << testing::PrintToString(std::string(c.text)) << " / " << testing::PrintToString(std::string(c.target));
  }
}

TEST(TextOps, ReplaceText) {
  struct Case {
    std::string_view text;
    std::string_view find;
    std::string_view replacement;
    std::string_view result;
  };
  const Case cases[] = {
      // Every occurrence goes.
      {"x=1\r\ny=2\r\nx=1\r\n", "x=1\r\n", "", "y=2\r\n"},
      // Letter case counts.
      {"A=1\r\n", "a=1\r\n", "", "A=1\r\n"},
      // Empty text or find: unchanged.
      {"", "a", "b", ""},
      {"abc", "", "x", "abc"},
      // Left to right, no overlap, replacement not searched again.
      {"aaa", "aa", "b", "ba"},
      {"aaaa", "aa", "b", "bb"},
      {"ab", "a", "aa", "aab"},
      {"abc", "abc", "", ""},
      {"abc", "abcd", "", "abc"},
      // Character walk: no match at a second byte.
      {"\xDF\x5C\\", "\\", "/", "\xDF\x5C/"},
      {"D:\\a\\運.mp3", "\\", "/", "D:/a/運.mp3"},
      {"\x81\x41\x41", "\x41", "-", "\x81\x41-"},
      // After a match the walk goes on right behind it.
      {"\x81\x81\x81", "\x81", "-", "---"},
      // Lead byte as the last byte.
      {std::string_view("ab\xDF", 3), "b", "", std::string_view("a\xDF", 2)},
      {std::string_view("ab\xDF", 3), "\xDF", "c", "abc"},
      // Remove an entry line; the header and the other lines stay.
      {"[音乐]\r\nsong=C:\\song.mp3\r\nintro=D:\\intro.wav\r\n", "song=C:\\song.mp3\r\n", "",
       "[音乐]\r\nintro=D:\\intro.wav\r\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReplaceText(c.text, c.find, c.replacement), c.result)
        << testing::PrintToString(std::string(c.text)) << " / " << testing::PrintToString(std::string(c.find));
  }
}

TEST(TextOps, SplitText) {
  struct Case {
    std::string_view text;
    std::string_view delimiter;
    List pieces;
  };
  const Case cases[] = {
      {"", "\r\n", {}},
      {"", "", {}},
      {"abc", "", {"abc"}},
      {"\r\n", "\r\n", {""}},
      {"a=b", "=", {"a", "b"}},
      {"=b", "=", {"", "b"}},
      {"a==b", "=", {"a", "", "b"}},
      {"a=", "=", {"a"}},
      {"a==", "=", {"a", ""}},
      {"=", "=", {""}},
      {"a", "=", {"a"}},
      {"a=b=c", "=", {"a", "b", "c"}},
      {"x\r\ny\r\n", "\r\n", {"x", "y"}},
      {"x\r\ny", "\r\n", {"x", "y"}},
      {"x\r\n\r\ny\r\n", "\r\n", {"x", "", "y"}},
      {"\r\n\r\n", "\r\n", {"", ""}},
      {"a\r\r\nb", "\r\n", {"a\r", "b"}},
      // Character walk: the 5C of 運 is no delimiter.
      {"運\\b", "\\", {"運", "b"}},
      {"\x81=\x81=", "=", {"\x81=\x81="}},
      {"\x81\x81=", "=", {"\x81\x81"}},
      // A lead byte as the very last byte is a piece of its own.
      {std::string_view("a=\xDF", 3), "=", {"a", "\xDF"}},
      {std::string_view("\xDF", 1), "\xDF", {""}},
      // Delimiter longer than the text.
      {"ab", "abc", {"ab"}},
      // A section header gives one piece.
      {"[音乐]", "=", {"[音乐]"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SplitText(c.text, c.delimiter), c.pieces)
        << testing::PrintToString(std::string(c.text)) << " / " << testing::PrintToString(std::string(c.delimiter));
  }
}

TEST(TextOps, BytesToTextEndsAtTheFirstZero) {
  EXPECT_EQ(BytesToText({'a', 'b', 0, 'c', 'd'}), "ab");
  EXPECT_EQ(BytesToText({}), "");
  EXPECT_EQ(BytesToText({0}), "");
  EXPECT_EQ(BytesToText({0, 'a'}), "");
  EXPECT_EQ(BytesToText({'a', 'b'}), "ab");
  EXPECT_EQ(BytesToText({0xDF, 0x5C}), "運");
}

TEST(TextOps, TextToBytesHasNoTerminator) {
  EXPECT_EQ(TextToBytes(""), ByteBlock{});
  EXPECT_EQ(TextToBytes("ab"), (ByteBlock{'a', 'b'}));
  EXPECT_EQ(TextToBytes("運"), (ByteBlock{0xDF, 0x5C}));
}

TEST(TextOps, NameFromPathStepByStep) {
  // How the music list derives an entry name from a path.
  const Text path = "C:\\dir\\song.mp3";
  int32_t dot = FindLast(path, ".");
  EXPECT_EQ(dot, 12);
  Text stem = TextLeft(path, dot - 1);
  EXPECT_EQ(stem, "C:\\dir\\song");
  int32_t slash = FindLast(stem, "\\");
  EXPECT_EQ(slash, 7);
  EXPECT_EQ(TextRight(stem, TextLength(stem) - slash), "song");
}

}  // namespace
}  // namespace soundboard
