// Reads the program's window from the outside, as an accessibility tool
// would, for the end-to-end tests: where its controls are and what its list
// box holds. Texts are printed as hex bytes (GBK), one record per line.
//
//   window_inspector.exe controls   class caption-hex left top width height visible
//   window_inspector.exe items      selection, then per item: text-hex and its
//                                   screen rectangle left top right bottom

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr char kWindowClass[] = "SoundboardMainWindow";

std::string Hex(const std::string& bytes) {
  std::string out;
  char digits[3];
  for (unsigned char c : bytes) {
    std::snprintf(digits, sizeof(digits), "%02x", c);
    out += digits;
  }
  return out.empty() ? "-" : out;
}

std::string TextOf(HWND hwnd) {
  char text[512] = {};
  GetWindowTextA(hwnd, text, sizeof(text));
  return text;
}

BOOL CALLBACK PrintControl(HWND hwnd, LPARAM) {
  char windowClass[64] = {};
  GetClassNameA(hwnd, windowClass, sizeof(windowClass));
  RECT r;
  GetWindowRect(hwnd, &r);
  std::printf("%s %s %ld %ld %ld %ld %d\n", windowClass, Hex(TextOf(hwnd)).c_str(), r.left, r.top,
              r.right - r.left, r.bottom - r.top, IsWindowVisible(hwnd) ? 1 : 0);
  return TRUE;
}

BOOL CALLBACK FindListBox(HWND hwnd, LPARAM found) {
  char windowClass[64] = {};
  GetClassNameA(hwnd, windowClass, sizeof(windowClass));
  if (lstrcmpiA(windowClass, "ListBox") != 0) return TRUE;
  *reinterpret_cast<HWND*>(found) = hwnd;
  return FALSE;
}

int PrintItems(HWND window) {
  HWND list = nullptr;
  EnumChildWindows(window, FindListBox, reinterpret_cast<LPARAM>(&list));
  if (!list) return 2;
  std::printf("%ld\n", static_cast<long>(SendMessageA(list, LB_GETCURSEL, 0, 0)));
  const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    // Asked in UTF-16, which crosses process boundaries intact, then
    // turned into the ANSI code page's bytes.
    std::wstring wide(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
    SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(wide.data()));
    std::string text(wide.size() * 2, '\0');
    const int length = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, text.data(), static_cast<int>(text.size()),
                                           nullptr, nullptr);
    text.resize(length > 0 ? length - 1 : 0);
    RECT r = {};
    SendMessageA(list, LB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r));
    MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&r), 2);
    std::printf("%s %ld %ld %ld %ld\n", Hex(text).c_str(), r.left, r.top, r.right, r.bottom);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  HWND window = FindWindowA(kWindowClass, nullptr);
  if (!window) return 3;
  const std::string command = argv[1];
  if (command == "controls") {
    PrintControl(window, 0);
    EnumChildWindows(window, PrintControl, 0);
    return 0;
  }
  if (command == "items") return PrintItems(window);
  return 2;
}
