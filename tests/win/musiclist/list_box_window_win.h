#pragma once
// A hidden top-level window holding one single-selection list box, like the
// music panel's 列表框1, for tests that need a real list box.
#include <windows.h>

namespace soundboard {

class ListBoxWindow {
 public:
  ListBoxWindow() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "SoundboardListBoxTest";
    RegisterClassA(&windowClass);  // a second registration fails harmlessly
    parent_ = CreateWindowExA(0, "SoundboardListBoxTest", "", WS_OVERLAPPEDWINDOW, 0, 0, 300, 300, nullptr, nullptr,
                              windowClass.hInstance, nullptr);
    listBox_ = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY, 0, 0,
                               200, 200, parent_, nullptr, windowClass.hInstance, nullptr);
  }
  ~ListBoxWindow() { DestroyWindow(parent_); }
  ListBoxWindow(const ListBoxWindow&) = delete;
  ListBoxWindow& operator=(const ListBoxWindow&) = delete;

  HWND parent() const { return parent_; }
  HWND listBox() const { return listBox_; }
  void Select(int index) { SendMessageA(listBox_, LB_SETCURSEL, static_cast<WPARAM>(index), 0); }

 private:
  HWND parent_ = nullptr;
  HWND listBox_ = nullptr;
};

}  // namespace soundboard
