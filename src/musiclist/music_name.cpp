#include "musiclist/music_name.h"

namespace soundboard {

Text MusicNameFromPath(std::string_view path) {
  int32_t dot = FindLast(path, ".");
  Text stem = TextLeft(path, dot - 1);
  int32_t slash = FindLast(stem, "\\");
  return TextRight(stem, TextLength(stem) - slash);
}

}  // namespace soundboard
