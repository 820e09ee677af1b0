#pragma once
// Time stamps that the benchmark driver can set beside its own: under Wine
// the performance counter is the Linux monotonic raw clock.

#include <windows.h>

#include <cstdio>

namespace soundboard {

inline double SecondsNow() {
  LARGE_INTEGER count, frequency;
  QueryPerformanceCounter(&count);
  QueryPerformanceFrequency(&frequency);
  return double(count.QuadPart) / double(frequency.QuadPart);
}

// One line for the driver, at once.
template <class... Args>
void Report(const char* format, Args... args) {
  std::printf(format, args...);
  std::fflush(stdout);
}

}  // namespace soundboard
