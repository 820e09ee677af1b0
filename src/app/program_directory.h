#pragma once
#include <string>
#include <string_view>

namespace soundboard {

// The folder part of the executable's full path: everything before its last
// "\", found by walking characters so that the second byte of a double-byte
// character (which can be 0x5C) is never taken for a separator. Empty when
// the path holds no "\".
std::string ProgramDirectoryFromModulePath(std::string_view modulePath);

// The executable's folder, without a trailing "\"; fixed once at start-up.
const std::string& ProgramDirectory();
void SetProgramDirectory(std::string directory);

}  // namespace soundboard
