#pragma once
// MainWindow and every control in it, as data. The window is built from these
// tables and nothing adds, moves or renames a control afterwards.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace soundboard {

enum class ControlKind { PushButton, TransparentLabel, PictureBox, ListBox, OpenFileDialog, TabControl };

struct Rgb {
  uint8_t r, g, b;
  bool operator==(const Rgb&) const = default;
};

// A named font: face, character height in pixels, weight 400, GB2312 set.
// An empty face means the system's default GUI font.
struct FontSpec {
  std::string_view face;
  int pixelHeight = 0;
  bool IsDefault() const { return face.empty(); }
};

constexpr int kOnWindow = -1;  // page value of a control that sits on the window

struct ControlSpec {
  std::string name;
  ControlKind kind;
  int page;  // kOnWindow, or the index of the tab page that holds the control
  int x, y, width, height;  // relative to the parent: the window's client
                            // area, or the tab control's top-left corner
  std::string caption;
  bool visible;
  FontSpec font = {};
  std::optional<Rgb> textColour = std::nullopt;
  bool handPointer = false;
};

struct WindowSpec {
  std::string_view title;
  int width, height;  // outer size at creation
};

const WindowSpec& MainWindowSpec();

// Controls of the window, in stacking order (first on top).
const std::vector<ControlSpec>& WindowControls();

// Children of the tab control: page "首页" (its labels, then the sound cells),
// then the buttons of pages 2 to 5, each group in stacking order.
const std::vector<ControlSpec>& TabPageControls();

constexpr int kTabPageCount = 5;
const std::vector<std::string_view>& TabPageTitles();

// The tab control's header row.
inline constexpr FontSpec kTabHeaderFont{"宋体", 19};
constexpr int TabHeaderHeight() { return kTabHeaderFont.pixelHeight > 20 ? kTabHeaderFont.pixelHeight : 20; }

// The list box's own settings.
inline constexpr Rgb kListText{0, 0, 255};
inline constexpr Rgb kListBackground{255, 255, 255};

// Names of the controls that other parts of the program act on.
inline constexpr char kTabControlName[] = "高级选择夹1";
inline constexpr char kBannerName[] = "图片框1";
inline constexpr char kMusicListName[] = "列表框1";
inline constexpr char kOpenFileDialogName[] = "通用对话框1";

}  // namespace soundboard
