#pragma once
#include <windows.h>

namespace soundboard {

// Takes and dispatches the thread's messages until the quit message arrives.
// Esc pressed without Ctrl, Shift or Alt while the window or one of its
// controls has the focus closes the window; Tab moves between controls.
void RunMessageLoop(HWND mainWindow);

}  // namespace soundboard
