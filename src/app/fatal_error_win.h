#pragma once

namespace soundboard {

inline constexpr char kStartupWindowFailure[] = "无法载入启动窗口";

// The one failure the program reports: a modal error box without owner and
// with the stop icon; when it is closed the process ends with exit code -1.
[[noreturn]] void FailFatally(const char* message);

}  // namespace soundboard
