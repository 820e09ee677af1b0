#pragma once
// A sound file held open while it plays, and a read-only view of its bytes.

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace soundboard {

// The file opened for reading and shared with readers only, so that nobody can
// write to it or cut it short while it is mapped (reading a mapped page that a
// writer has cut off faults), and a file that someone holds open for writing
// is refused.
class SoundFile {
 public:
  // nullptr unless path names a file on disk that can be opened now: missing
  // files, folders, devices, files without read access and files held open
  // for writing are refused. path is in the ANSI code page.
  static std::unique_ptr<SoundFile> Open(const std::string& path);
  ~SoundFile();
  SoundFile(const SoundFile&) = delete;
  SoundFile& operator=(const SoundFile&) = delete;

  void* Handle() const { return handle_; }  // a Windows HANDLE

 private:
  explicit SoundFile(void* handle) : handle_(handle) {}
  void* handle_;
};

// The whole file mapped read-only. Its bytes are empty when the file is empty
// or cannot be mapped; either way nothing of it plays.
class SoundFileView {
 public:
  explicit SoundFileView(const SoundFile& file);
  ~SoundFileView();
  SoundFileView(const SoundFileView&) = delete;
  SoundFileView& operator=(const SoundFileView&) = delete;

  std::span<const uint8_t> Bytes() const { return bytes_; }

 private:
  void* mapping_ = nullptr;
  const void* view_ = nullptr;
  std::span<const uint8_t> bytes_;
};

}  // namespace soundboard
