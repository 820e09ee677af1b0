#include "textops/file_ops.h"

namespace soundboard {

Text TrimProfileArgument(std::string_view text) {
  size_t first = 0;
  while (first < text.size() && static_cast<unsigned char>(text[first]) >= 0x01 &&
         static_cast<unsigned char>(text[first]) <= 0x20) {
    ++first;
  }
  return Text(text.substr(first));
}

Text WithTrailingBackslash(std::string_view folder) {
  if (folder.empty() || FindLast(folder, "\\") == TextLength(folder)) return Text(folder);
  return JoinTexts({folder, "\\"});
}

}  // namespace soundboard
