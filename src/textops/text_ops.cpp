#include "textops/text_ops.h"

#include <algorithm>

namespace soundboard {
namespace {

// Width of the character that starts at byte p of text: 2 for a lead byte
// (0x80 or above) that has a byte after it, otherwise 1. A lead byte as the
// very last byte is a character of its own, so the walk never reads past it.
size_t CharWidthAt(std::string_view text, size_t p) {
  return static_cast<unsigned char>(text[p]) >= 0x80 && p + 1 < text.size() ? 2 : 1;
}

// True when target occurs at byte p; the caller has checked that it fits.
bool MatchesAt(std::string_view text, size_t p, std::string_view target) {
  return text.compare(p, target.size(), target) == 0;
}

}  // namespace

int32_t TextLength(std::string_view text) { return static_cast<int32_t>(text.size()); }

Text JoinTexts(std::initializer_list<std::string_view> texts) {
  size_t size = 0;
  for (std::string_view t : texts) size += t.size();
  Text joined;
  joined.reserve(size);
  for (std::string_view t : texts) joined.append(t);
  return joined;
}

Text TextLeft(std::string_view text, int32_t n) {
  if (n <= 0) return Text();
  return Text(text.substr(0, static_cast<size_t>(n)));
}

Text TextRight(std::string_view text, int32_t n) {
  if (n <= 0) return Text();
  size_t count = std::min(text.size(), static_cast<size_t>(n));
  return Text(text.substr(text.size() - count));
}

int32_t FindLast(std::string_view text, std::string_view target) {
  if (target.empty()) return text.empty() ? -1 : 1;
  int32_t found = -1;
  // p + target.size() <= size, written so that it cannot overflow.
  for (size_t p = 0; p < text.size() && text.size() - p >= target.size(); p += CharWidthAt(text, p)) {
    if (MatchesAt(text, p, target)) found = static_cast<int32_t>(p) + 1;
  }
  return found;
}

Text ReplaceText(std::string_view text, std::string_view find, std::string_view replacement) {
  if (text.empty() || find.empty()) return Text(text);
  Text result;
  result.reserve(text.size());
  size_t p = 0;
  while (p < text.size() && text.size() - p >= find.size()) {
    if (MatchesAt(text, p, find)) {
      result.append(replacement);
      p += find.size();
    } else {
      size_t width = CharWidthAt(text, p);
      result.append(text.substr(p, width));
      p += width;
    }
  }
  if (p < text.size()) result.append(text.substr(p));
  return result;
}

std::vector<Text> SplitText(std::string_view text, std::string_view delimiter) {
  std::vector<Text> pieces;
  if (text.empty()) return pieces;
  if (delimiter.empty()) {
    pieces.emplace_back(text);
    return pieces;
  }
  size_t start = 0;
  size_t p = 0;
  while (p < text.size() && text.size() - p >= delimiter.size()) {
    if (MatchesAt(text, p, delimiter)) {
      pieces.emplace_back(text.substr(start, p - start));
      p += delimiter.size();
      start = p;
    } else {
      p += CharWidthAt(text, p);
    }
  }
  // Only an empty last piece is dropped; empty pieces before it stay.
  if (start < text.size()) pieces.emplace_back(text.substr(start));
  return pieces;
}

Text BytesToText(const ByteBlock& block) {
  auto zero = std::find(block.begin(), block.end(), uint8_t{0});
  return Text(block.begin(), zero);
}

ByteBlock TextToBytes(std::string_view text) { return ByteBlock(text.begin(), text.end()); }

}  // namespace soundboard
