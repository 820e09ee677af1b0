// A small window with one button whose click plays a file through the
// program's Player, as a sound cell does. Prints "clock <seconds>" at start
// and "play <seconds before Play> <seconds after Play>" on each click; ends
// when its standard input closes.
// Usage: bench_click_window FILE

#include <windows.h>

#include <cstdio>
#include <memory>
#include <thread>

#include "bench_clock.h"
#include "sound/player.h"
#include "sound/system_audio_stream.h"

namespace soundboard {
namespace {

constexpr char kTitle[] = "soundboard-bench-window";
constexpr int kButtonId = 1;

struct App {
  std::string path;
  std::unique_ptr<AudioStreamFactory> streams = MakeSystemAudioStreamFactory();
  Player player{*streams};
};
App* app = nullptr;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && LOWORD(wParam) == kButtonId && HIWORD(wParam) == BN_CLICKED) {
    const double before = SecondsNow();
    app->player.Play({app->path}, 1);
    const double after = SecondsNow();
    Report("play %.6f %.6f\n", before, after);
    return 0;
  }
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace
}  // namespace soundboard

int main(int argc, char** argv) {
  using namespace soundboard;
  if (argc != 2) {
    std::fprintf(stderr, "usage: bench_click_window FILE\n");
    return 2;
  }
  App state;
  state.path = argv[1];
  app = &state;

  const HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kTitle;
  RegisterClassA(&windowClass);
  HWND window = CreateWindowA(kTitle, kTitle, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 100, 100, 240, 160,
                              nullptr, nullptr, instance, nullptr);
  // The button fills the client area, so a click anywhere in it hits.
  RECT client;
  GetClientRect(window, &client);
  CreateWindowA("BUTTON", "Play", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0, client.right, client.bottom,
                window, reinterpret_cast<HMENU>(kButtonId), instance, nullptr);
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);

  // The driver ends the window by closing our standard input.
  std::thread([window] {
    char byte;
    DWORD read;
    while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), &byte, 1, &read, nullptr) && read == 1) {
    }
    PostMessageA(window, WM_CLOSE, 0, 0);
  }).detach();

  Report("clock %.6f\n", SecondsNow());
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  state.player.Stop();
  return 0;
}
