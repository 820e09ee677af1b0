// The program's entry point.

#include <windows.h>

#include "app/application_win.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  soundboard::Application application(instance);
  return application.Run();
}
