#include "monitor_recorder.h"

#include <windows.h>

#include <vector>

namespace soundboard {
namespace {

constexpr DWORD kStartTimeoutMs = 10000;

// The folder of this program, as Windows and as Linux name it. Wine shows the
// Linux root as drive Z:, and a program started by its Linux path runs from
// there; empty when the program lies elsewhere.
bool ProgramFolder(std::string& windows, std::string& linuxPath) {
  char module[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, module, MAX_PATH);
  windows.assign(module, length);
  windows.resize(windows.find_last_of('\\') + 1);
  if (windows.rfind("Z:\\", 0) != 0 && windows.rfind("z:\\", 0) != 0) return false;
  linuxPath = windows.substr(2);
  for (char& c : linuxPath) {
    if (c == '\\') c = '/';
  }
  return true;
}

HANDLE OpenedOrNull(HANDLE file) { return file == INVALID_HANDLE_VALUE ? nullptr : file; }

// The recorder ends within a twentieth of a second of the guard file going
// away: when the test closes it, and when the test dies, because the file is
// deleted on close and Wine closes a dead process's handles.
std::string RecorderScript(const std::string& recording, const std::string& guard) {
  return "parec --raw --format=s16le --rate=" + std::to_string(kRecordRate) +
         " --channels=2 --latency-msec=2 -d @DEFAULT_MONITOR@ '" + recording +
         "' & p=$!; while [ -e '" + guard + "' ] && kill -0 $p 2>/dev/null; do sleep 0.05; done;"
         " kill $p 2>/dev/null";
}

}  // namespace

MonitorRecorder::MonitorRecorder() {
  std::string windowsFolder, linuxFolder;
  if (!ProgramFolder(windowsFolder, linuxFolder)) return;
  const std::string name = "monitor-" + std::to_string(GetCurrentProcessId()) + "-" +
                           std::to_string(GetTickCount64());
  windowsPath_ = windowsFolder + name + ".raw";
  const std::string guardPath = windowsFolder + name + ".guard";
  guard_ = OpenedOrNull(CreateFileA(guardPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                    nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
  recording_ = OpenedOrNull(CreateFileA(windowsPath_.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!guard_ || !recording_) return;

  // Wine starts a Linux program when asked to start one by its Linux path.
  std::string command = "/bin/sh -c \"" +
                        RecorderScript(linuxFolder + name + ".raw", linuxFolder + name + ".guard") +
                        "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return;
  }
  if (process.hProcess) CloseHandle(process.hProcess);
  if (process.hThread) CloseHandle(process.hThread);

  const ULONGLONG deadline = GetTickCount64() + kStartTimeoutMs;
  while (FramesSoFar() == 0 && GetTickCount64() < deadline) Sleep(5);
  started_ = FramesSoFar() > 0;
}

MonitorRecorder::~MonitorRecorder() {
  if (guard_) CloseHandle(guard_);
  if (recording_) {
    CloseHandle(recording_);
    DeleteFileA(windowsPath_.c_str());
  }
}

size_t MonitorRecorder::FramesSoFar() const {
  LARGE_INTEGER size{};
  if (!recording_ || !GetFileSizeEx(recording_, &size)) return 0;
  return size_t(size.QuadPart) / kRecordBytesPerFrame;
}

RecordedSound MonitorRecorder::Since(size_t mark) const {
  const size_t end = FramesSoFar();
  std::vector<int16_t> samples;
  if (end <= mark) return RecordedSound(std::move(samples));
  samples.resize((end - mark) * 2);
  LARGE_INTEGER at{};
  at.QuadPart = LONGLONG(mark * kRecordBytesPerFrame);
  DWORD read = 0;
  if (!SetFilePointerEx(recording_, at, nullptr, FILE_BEGIN) ||
      !ReadFile(recording_, samples.data(), DWORD(samples.size() * sizeof(int16_t)), &read, nullptr)) {
    read = 0;
  }
  samples.resize(read / kRecordBytesPerFrame * 2);
  return RecordedSound(std::move(samples));
}

MonitorRecorder& SharedRecorder() {
  static MonitorRecorder recorder;
  return recorder;
}

}  // namespace soundboard
