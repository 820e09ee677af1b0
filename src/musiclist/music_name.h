#pragma once

#include <string_view>

#include "textops/text_ops.h"

namespace soundboard {

// The entry name of a chosen file: its path without the folder and without
// the last extension. The last "." of the whole path counts (C:\my.music\song
// gives my; a path without "." gives ""); both searches walk by characters,
// so the 5C of a double-byte character is never taken for a "\".
Text MusicNameFromPath(std::string_view path);

}  // namespace soundboard
