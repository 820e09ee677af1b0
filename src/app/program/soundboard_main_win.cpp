// Start-up and end of the program.

#include <windows.h>

#include "app/fatal_error_win.h"
#include "app/main_window_win.h"
#include "app/message_loop_win.h"
#include "app/program_directory.h"

namespace soundboard {
namespace {

void FixProgramDirectory() {
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof(path));
  SetProgramDirectory(ProgramDirectoryFromModulePath(std::string_view(path, length)));
  SetCurrentDirectoryA(ProgramDirectory().c_str());
}

int RunProgram(HINSTANCE instance) {
  FixProgramDirectory();

  MainWindow window;
  if (!window.Create(instance)) FailFatally(kStartupWindowFailure);
  window.RaiseCreated();
  if (IsWindow(window.Handle())) ShowWindow(window.Handle(), SW_SHOWNORMAL);
  RunMessageLoop(window.Handle());
  return 0;
}

}  // namespace
}  // namespace soundboard

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return soundboard::RunProgram(instance); }
