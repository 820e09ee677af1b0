// Thin wrappers over the Windows file, private-profile and special-folder
// services; the rules they apply to texts live in file_ops.cpp.
#include <windows.h>
#include <shlobj.h>

#include <algorithm>

#include "textops/file_ops.h"

namespace soundboard {

Text AppDataDirectory() {
  char folder[MAX_PATH] = {};
  if (!SHGetSpecialFolderPathA(nullptr, folder, CSIDL_APPDATA, FALSE)) return Text();
  return WithTrailingBackslash(folder);
}

bool FileExists(const Text& path) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(path.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return true;
}

bool SetAttributes(const Text& path, uint32_t attributes) {
  return SetFileAttributesA(path.c_str(), attributes & kSettableAttributes) != 0;
}

ByteBlock ReadWholeFile(const Text& path) {
  if (path.empty()) return ByteBlock();
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return ByteBlock();
  ByteBlock content;
  LARGE_INTEGER size;
  // One read of the whole length; a file beyond what one read can take is
  // not a file of this program's.
  if (GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart <= MAXDWORD) {
    content.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (ReadFile(file, content.data(), static_cast<DWORD>(content.size()), &read, nullptr)) {
      content.resize(read);
    } else {
      content.clear();
    }
  }
  CloseHandle(file);
  return content;
}

namespace {

bool WriteAll(HANDLE file, std::span<const uint8_t> block) {
  while (!block.empty()) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(block.size(), 1u << 30));
    DWORD written = 0;
    if (!WriteFile(file, block.data(), chunk, &written, nullptr) || written == 0) return false;
    block = block.subspan(written);
  }
  return true;
}

}  // namespace

bool WriteWholeFile(const Text& path, std::initializer_list<std::span<const uint8_t>> blocks) {
  if (path.empty()) return false;
  // Windows refuses to open a read-only file for writing; Wine grants it to a
  // process whose Unix user may write anyway (root), so ask first.
  DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return false;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool ok = true;
  for (std::span<const uint8_t> block : blocks) {
    if (!WriteAll(file, block)) {
      ok = false;
      break;
    }
  }
  if (!CloseHandle(file)) ok = false;
  return ok;
}

Text ReadProfileValue(const Text& file, const Text& section, const Text& key) {
  Text trimmedFile = TrimProfileArgument(file);
  Text trimmedSection = TrimProfileArgument(section);
  Text trimmedKey = TrimProfileArgument(key);
  if (trimmedFile.empty() || trimmedSection.empty() || trimmedKey.empty()) return Text();
  Text value(kProfileValueBuffer, '\0');
  DWORD length = GetPrivateProfileStringA(trimmedSection.c_str(), trimmedKey.c_str(), "", value.data(),
                                          kProfileValueBuffer, trimmedFile.c_str());
  value.resize(length);
  return value;
}

bool WriteProfileValue(const Text& file, const Text& section, const Text& key, const Text& value) {
  // c_str() is never null: an empty text goes over as "", which the service
  // takes as a value, not as "delete the key" or "delete the section".
  return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()) != 0;
}

}  // namespace soundboard
