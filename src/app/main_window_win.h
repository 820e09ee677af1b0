#pragma once
// MainWindow: the one top-level window, built from the layout tables. Its
// controls are reached by their layout names; handlers are bound by
// {control name, event}. The window procedure only dispatches.

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app/layout.h"

namespace soundboard {

enum class ControlEvent { Clicked, DoubleClicked };

class MainWindow {
 public:
  using Handler = std::function<void()>;

  MainWindow() = default;
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Creates the window hidden, centred on the primary screen for its design
  // size, with every control of the layout. False when the window cannot be
  // created.
  bool Create(HINSTANCE instance);

  // Handlers run on the user-interface thread, one at a time.
  void Bind(const std::string& control, ControlEvent event, Handler handler);
  void OnCreated(Handler handler) { createdHandler_ = std::move(handler); }

  // Raises the created event: runs its handler, if one is bound.
  void RaiseCreated();

  HWND Handle() const { return hwnd_; }
  // The control's window, or nullptr for a name that has none (an unknown
  // name, or the open-file dialog component, which has no window).
  HWND Control(const std::string& name) const;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK TabControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR self);
  LRESULT HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  void CreateControls(HINSTANCE instance);
  void CreateControl(const ControlSpec& spec, HWND parent, HINSTANCE instance, int id);
  void SetUpTabControl(HWND tab);
  void StackInTableOrder(const std::vector<ControlSpec>& specs) const;

  bool OnCommand(WPARAM wParam, LPARAM lParam);
  bool IsLabel(HWND control) const;
  LRESULT OnLabelColour(HDC dc, HWND control);
  LRESULT OnListBoxColour(HDC dc);
  bool OnNotify(LPARAM lParam);
  bool OnSetCursor(HWND control);

  const ControlSpec* SpecOf(HWND control) const;
  HFONT FontFor(const FontSpec& font);

  HWND hwnd_ = nullptr;
  HBITMAP banner_ = nullptr;
  HBRUSH listBackground_ = nullptr;
  std::map<std::string, HWND> controls_;
  std::map<HWND, const ControlSpec*> specs_;
  std::map<std::pair<std::string_view, int>, HFONT> fonts_;
  std::map<std::pair<std::string, ControlEvent>, Handler> handlers_;
  Handler createdHandler_;
};

}  // namespace soundboard
