#include "app/message_loop_win.h"

namespace soundboard {
namespace {

bool IsPressed(int key) { return (GetKeyState(key) & 0x8000) != 0; }

bool IsCloseKey(const MSG& message, HWND mainWindow) {
  if (message.message != WM_KEYDOWN || message.wParam != VK_ESCAPE) return false;
  if (IsPressed(VK_CONTROL) || IsPressed(VK_SHIFT) || IsPressed(VK_MENU)) return false;
  return message.hwnd == mainWindow || IsChild(mainWindow, message.hwnd);
}

}  // namespace

void RunMessageLoop(HWND mainWindow) {
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (IsWindow(mainWindow)) {
      if (IsCloseKey(message, mainWindow)) {
        SendMessageA(mainWindow, WM_CLOSE, 0, 0);
        continue;
      }
      if (IsDialogMessageA(mainWindow, &message)) continue;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

}  // namespace soundboard
