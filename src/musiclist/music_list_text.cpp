#include "musiclist/music_list_text.h"

namespace soundboard {
namespace {

template <typename Accepts>
std::vector<Text> NamesOfLines(std::string_view fileText, Accepts accepts) {
  std::vector<Text> names;
  for (const Text& line : SplitText(fileText, "\r\n")) {
    std::vector<Text> pieces = SplitText(line, "=");
    if (accepts(pieces.size())) names.push_back(pieces.front());
  }
  return names;
}

}  // namespace

std::vector<Text> MusicNamesAtStart(std::string_view fileText) {
  return NamesOfLines(fileText, [](size_t pieces) { return pieces >= 2; });
}

std::vector<Text> MusicNamesAfterDeletion(std::string_view fileText) {
  return NamesOfLines(fileText, [](size_t pieces) { return pieces == 2; });
}

Text MusicEntryLine(std::string_view name, std::string_view path) { return JoinTexts({name, "=", path, "\r\n"}); }

ByteBlock ListFileWithoutEntry(const ByteBlock& content, std::string_view entryLine) {
  Text text = BytesToText(content);
  ByteBlock rewritten = TextToBytes(ReplaceText(text, entryLine, ""));
  rewritten.insert(rewritten.end(), content.begin() + static_cast<std::ptrdiff_t>(text.size()), content.end());
  return rewritten;
}

}  // namespace soundboard
