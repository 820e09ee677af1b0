#include "app/fatal_error_win.h"

#include <windows.h>

#include "app/product.h"

namespace soundboard {

void FailFatally(const char* message) {
  MessageBoxA(nullptr, message, kProductName, MB_OK | MB_ICONSTOP | MB_SETFOREGROUND);
  ExitProcess(static_cast<UINT>(-1));
}

}  // namespace soundboard
