#include "sound/sound_file_win.h"

#include <windows.h>

namespace soundboard {

std::unique_ptr<SoundFile> SoundFile::Open(const std::string& path) {
  // FILE_SHARE_READ only: the open fails while another handle may write, and
  // no handle opened later can write or truncate under the mapped view.
  HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  // Names such as "CON" or a pipe open as devices, whose bytes cannot be
  // mapped and whose reads may block.
  if (GetFileType(handle) != FILE_TYPE_DISK) {
    CloseHandle(handle);
    return nullptr;
  }
  return std::unique_ptr<SoundFile>(new SoundFile(handle));
}

SoundFile::~SoundFile() { CloseHandle(handle_); }

SoundFileView::SoundFileView(const SoundFile& file) {
  LARGE_INTEGER size{};
  // An empty file cannot be mapped, and one larger than the address space
  // cannot be viewed whole; neither plays.
  if (!GetFileSizeEx(file.Handle(), &size) || size.QuadPart <= 0 ||
      static_cast<unsigned long long>(size.QuadPart) > SIZE_MAX) {
    return;
  }
  mapping_ = CreateFileMappingA(file.Handle(), nullptr, PAGE_READONLY, 0, 0, nullptr);
  if (!mapping_) return;
  view_ = MapViewOfFile(mapping_, FILE_MAP_READ, 0, 0, 0);
  if (!view_) return;
  bytes_ = {static_cast<const uint8_t*>(view_), static_cast<size_t>(size.QuadPart)};
}

SoundFileView::~SoundFileView() {
  if (view_) UnmapViewOfFile(view_);
  if (mapping_) CloseHandle(mapping_);
}

}  // namespace soundboard
