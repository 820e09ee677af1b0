// Properties of the character walk over random texts.
//
// - Differential (native only, guarded out of the Windows build): on random
//   valid GBK texts the character starts at which FindLast and SplitText try
//   a match are exactly the character boundaries of glibc's GBK decoder.
// - Random byte strings (any bytes, lead bytes at the end included) never make
//   an operation read outside its text: each text lies in a heap block of its
//   exact size, so ASan (native build) stops at the first byte past it.
#include "textops/text_ops.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <set>

#if !defined(_WIN32)
#include <iconv.h>
#endif

namespace soundboard {
namespace {

#if !defined(_WIN32)

// glibc's GBK decoder, one character at a time.
class GbkDecoder {
 public:
  GbkDecoder() : cd_(iconv_open("UTF-32LE", "GBK")) {}
  ~GbkDecoder() {
    if (ok()) iconv_close(cd_);
  }
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // The byte offsets at which the decoder starts a character, or an empty
  // set when text is not valid GBK.
  bool Boundaries(const Text& text, std::set<size_t>* starts) {
    starts->clear();
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(text.data());
    size_t inLeft = text.size();
    while (inLeft > 0) {
      starts->insert(text.size() - inLeft);
      char out[4];
      char* outPtr = out;
      size_t outLeft = sizeof out;  // room for exactly one character
      size_t r = iconv(cd_, &in, &inLeft, &outPtr, &outLeft);
      if (r == static_cast<size_t>(-1) && errno != E2BIG) return false;
      if (outLeft != 0) return false;  // consumed input without one character out
    }
    return true;
  }

 private:
  iconv_t cd_;
};

// A random valid GBK text: ASCII (with many "=", "\", CR, LF) and double-byte
// characters, each double-byte one checked with the decoder.
Text RandomGbkText(std::mt19937& rng, GbkDecoder& decoder, size_t characters) {
  static const char kAscii[] = "=\\\r\n.a\\=";
  Text text;
  std::set<size_t> unused;
  while (characters-- > 0) {
    if (rng() % 3 == 0) {
      text += rng() % 2 ? kAscii[rng() % (sizeof kAscii - 1)] : static_cast<char>(0x20 + rng() % 0x5F);
      continue;
    }
    for (;;) {
      // Second bytes 40..7E (the ASCII range, 5C included) and 80..FE.
      unsigned char lead = 0x81 + rng() % 0x7E;
      unsigned char trail = rng() % 4 == 0 ? 0x5C : 0x40 + rng() % 0xBF;
      if (trail == 0x7F || trail == 0xFF) continue;
      Text c{static_cast<char>(lead), static_cast<char>(trail)};
      if (decoder.Boundaries(c, &unused)) {
        text += c;
        break;
      }
    }
  }
  return text;
}

// The character starts at which FindLast tries a match: p is one exactly
// when the suffix from p, as target, is found at p (it fits nowhere later).
std::set<size_t> FindLastStarts(const Text& text) {
  std::set<size_t> starts;
  for (size_t p = 0; p < text.size(); ++p) {
    if (FindLast(text, std::string_view(text).substr(p)) == static_cast<int32_t>(p) + 1) starts.insert(p);
  }
  return starts;
}

// The positions at which SplitText cut text on delimiter d.
std::set<size_t> SplitCuts(const Text& text, const Text& d) {
  std::vector<Text> pieces = SplitText(text, d);
  std::set<size_t> cuts;
  size_t p = 0;
  for (size_t i = 0; i < pieces.size(); ++i) {
    p += pieces[i].size();
    if (p < text.size()) {
      EXPECT_EQ(text.compare(p, d.size(), d), 0);
      cuts.insert(p);
      p += d.size();
    }
  }
  EXPECT_EQ(p, text.size());
  return cuts;
}

TEST(TextOpsProperty, WalkAgreesWithAGbkDecoder) {
  GbkDecoder decoder;
  ASSERT_TRUE(decoder.ok()) << "iconv has no GBK";
  std::mt19937 rng(20261211);
  for (int round = 0; round < 400; ++round) {
    Text text = RandomGbkText(rng, decoder, 1 + rng() % 40);
    std::set<size_t> expected;
    ASSERT_TRUE(decoder.Boundaries(text, &expected));

    EXPECT_EQ(FindLastStarts(text), expected) << testing::PrintToString(text);

    // Every character of the text as a delimiter: SplitText cuts exactly
    // at the decoder boundaries where that character stands. (A delimiter
    // that is only half a character is no text of the decoder's, and after a
    // match the walk goes on right behind it, inside that character.)
    std::vector<Text> characters;
    for (auto it = expected.begin(); it != expected.end(); ++it) {
      auto next = std::next(it);
      characters.push_back(text.substr(*it, (next == expected.end() ? text.size() : *next) - *it));
    }
    for (const Text& d : std::set<Text>(characters.begin(), characters.end())) {
      std::set<size_t> cutsExpected;
      size_t i = 0;
      for (size_t p : expected) {
        if (characters[i++] == d) cutsExpected.insert(p);
      }
      EXPECT_EQ(SplitCuts(text, d), cutsExpected) << testing::PrintToString(text) << " on " << testing::PrintToString(d);
    }

    // FindLast of one character is the decoder's last occurrence of it.
    size_t from = *std::next(expected.begin(), rng() % expected.size());
    auto next = expected.upper_bound(from);
    Text character = text.substr(from, (next == expected.end() ? text.size() : *next) - from);
    int32_t last = -1;
    for (size_t p : expected) {
      if (text.compare(p, character.size(), character) == 0) last = static_cast<int32_t>(p) + 1;
    }
    EXPECT_EQ(FindLast(text, character), last) << testing::PrintToString(text);
  }
}

#endif  // !_WIN32

// A text in a heap block of exactly its size, so that reading one byte past
// it is a heap overflow for ASan (std::string would have its terminator).
class ExactText {
 public:
  explicit ExactText(const Text& bytes) : size_(bytes.size()), data_(new char[bytes.size() ? bytes.size() : 1]) {
    if (size_ != 0) std::memcpy(data_.get(), bytes.data(), size_);
  }
  std::string_view view() const { return std::string_view(data_.get(), size_); }

 private:
  size_t size_;
  std::unique_ptr<char[]> data_;
};

Text RandomBytes(std::mt19937& rng, size_t maxLength) {
  // Few distinct values, so that matches happen; lead bytes often.
  static const unsigned char kBytes[] = {'=', '\r', '\n', '\\', 'a', 0x5C, 0x81, 0xDF, 0xFE, 0xFF, 0x80, 0x40};
  Text text(rng() % (maxLength + 1), '\0');
  for (char& c : text) c = static_cast<char>(kBytes[rng() % sizeof kBytes]);
  return text;
}

TEST(TextOpsProperty, RandomBytesStayInBounds) {
  std::mt19937 rng(7);
  for (int round = 0; round < 20000; ++round) {
    ExactText text(RandomBytes(rng, 12));
    ExactText target(RandomBytes(rng, 3));
    ExactText replacement(RandomBytes(rng, 3));
    std::string_view t = text.view();

    int32_t found = FindLast(t, target.view());
    if (found != -1) {
      ASSERT_GE(found, 1);
      ASSERT_LE(static_cast<size_t>(found - 1) + target.view().size(), t.size());
      ASSERT_EQ(t.substr(found - 1, target.view().size()), target.view());
    }

    Text replaced = ReplaceText(t, target.view(), replacement.view());
    if (target.view() == replacement.view()) {
      ASSERT_EQ(replaced, t);
    }

    std::vector<Text> pieces = SplitText(t, target.view());
    size_t total = 0;
    for (const Text& piece : pieces) total += piece.size();
    ASSERT_LE(total, t.size());
    // Joining the pieces with the delimiter gives the text back, less a
    // trailing delimiter whose empty last piece was dropped.
    if (!target.view().empty() && !pieces.empty()) {
      Text joined;
      for (size_t i = 0; i < pieces.size(); ++i) {
        if (i) joined.append(target.view());
        joined += pieces[i];
      }
      ASSERT_TRUE(joined == t || joined + Text(target.view()) == t) << testing::PrintToString(Text(t));
    }

    int32_t n = static_cast<int32_t>(rng() % 16) - 2;
    ASSERT_LE(TextLeft(t, n).size(), t.size());
    ASSERT_LE(TextRight(t, n).size(), t.size());

    ByteBlock block(t.begin(), t.end());
    Text back = BytesToText(block);
    ASSERT_EQ(back, t.substr(0, std::min(t.size(), t.find('\0'))));
  }
}

}  // namespace
}  // namespace soundboard
