#include "app/program_directory.h"

#include "textops/text_ops.h"

namespace soundboard {
namespace {
std::string& Stored() {
  static std::string directory;
  return directory;
}
}  // namespace

std::string ProgramDirectoryFromModulePath(std::string_view modulePath) {
  const int32_t slash = FindLast(modulePath, "\\");
  return slash < 0 ? std::string() : TextLeft(modulePath, slash - 1);
}

const std::string& ProgramDirectory() { return Stored(); }

void SetProgramDirectory(std::string directory) { Stored() = std::move(directory); }

}  // namespace soundboard
