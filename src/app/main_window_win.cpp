#include "app/main_window_win.h"

#include <commctrl.h>

#include "app/jpeg_bitmap_win.h"

namespace soundboard {
namespace {

constexpr char kWindowClass[] = "SoundboardMainWindow";
constexpr int kFirstControlId = 1000;  // clear of IDOK and IDCANCEL
constexpr UINT_PTR kTabSubclassId = 1;

COLORREF ToColorRef(Rgb colour) { return RGB(colour.r, colour.g, colour.b); }

DWORD ControlStyle(const ControlSpec& spec) {
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
  // Only page "首页" is ever current, so the controls of other pages stay hidden.
  if (spec.visible && (spec.page == kOnWindow || spec.page == 0)) style |= WS_VISIBLE;
  switch (spec.kind) {
    case ControlKind::PushButton:
      return style | WS_TABSTOP | BS_PUSHBUTTON | BS_CENTER | BS_VCENTER | BS_MULTILINE;
    case ControlKind::TransparentLabel:
      return style | SS_LEFT | SS_CENTERIMAGE | SS_NOPREFIX | SS_NOTIFY;
    case ControlKind::PictureBox:
      return style | SS_BITMAP | SS_NOTIFY;
    case ControlKind::ListBox:
      return style | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
    case ControlKind::TabControl:
      return style | TCS_TOOLTIPS | TCS_FOCUSNEVER;
    case ControlKind::OpenFileDialog:
      break;
  }
  return style;
}

const char* ControlClass(ControlKind kind) {
  switch (kind) {
    case ControlKind::PushButton: return "BUTTON";
    case ControlKind::TransparentLabel:
    case ControlKind::PictureBox: return "STATIC";
    case ControlKind::ListBox: return "LISTBOX";
    case ControlKind::TabControl: return WC_TABCONTROLA;
    case ControlKind::OpenFileDialog: break;
  }
  return nullptr;
}

DWORD ControlExStyle(ControlKind kind) {
  switch (kind) {
    case ControlKind::ListBox: return WS_EX_CLIENTEDGE;  // sunken 3-D edge
    case ControlKind::TabControl: return WS_EX_CONTROLPARENT;  // Tab key reaches the page's buttons
    default: return 0;
  }
}

}  // namespace

MainWindow::~MainWindow() {
  if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
  for (auto& [key, font] : fonts_) DeleteObject(font);
  if (banner_) DeleteObject(banner_);
  if (listBackground_) DeleteObject(listBackground_);
}

bool MainWindow::Create(HINSTANCE instance) {
  INITCOMMONCONTROLSEX common = {sizeof(common), ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&common);

  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kWindowClass;
  windowClass.hIcon = static_cast<HICON>(LoadImageA(instance, "DEFAULT_ICON", IMAGE_ICON,
      GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), LR_SHARED));
  windowClass.hIconSm = static_cast<HICON>(LoadImageA(instance, "DEFAULT_ICON", IMAGE_ICON,
      GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  if (!RegisterClassExA(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;

  const WindowSpec& spec = MainWindowSpec();
  // Centred for the design size; each quotient truncates towards zero.
  const int left = (GetSystemMetrics(SM_CXSCREEN) - spec.width) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - spec.height) / 2;
  // No WS_CLIPCHILDREN: the transparent labels show the window's own
  // background, which is only there if the window paints beneath them.
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  hwnd_ = CreateWindowExA(0, kWindowClass, std::string(spec.title).c_str(), style, left, top, spec.width,
                          spec.height, nullptr, nullptr, instance, this);
  if (!hwnd_) return false;
  CreateControls(instance);
  return true;
}

void MainWindow::CreateControls(HINSTANCE instance) {
  listBackground_ = CreateSolidBrush(ToColorRef(kListBackground));
  int id = kFirstControlId;
  for (const ControlSpec& spec : WindowControls()) CreateControl(spec, hwnd_, instance, id++);
  HWND tab = Control(kTabControlName);
  SetUpTabControl(tab);
  for (const ControlSpec& spec : TabPageControls()) CreateControl(spec, tab, instance, id++);
  StackInTableOrder(WindowControls());
  StackInTableOrder(TabPageControls());
}

void MainWindow::CreateControl(const ControlSpec& spec, HWND parent, HINSTANCE instance, int id) {
  const char* windowClass = ControlClass(spec.kind);
  if (!windowClass) return;  // the open-file dialog is a component without a window
  HWND control = CreateWindowExA(ControlExStyle(spec.kind), windowClass, spec.caption.c_str(), ControlStyle(spec),
                                 spec.x, spec.y, spec.width, spec.height, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  if (!control) return;
  controls_[spec.name] = control;
  specs_[control] = &spec;
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(spec.font)), FALSE);

  if (spec.kind == ControlKind::PictureBox) {
    banner_ = LoadBannerBitmap(instance);
    SendMessageA(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(banner_));
    // A bitmap static sizes itself to its picture; keep the laid-out size.
    SetWindowPos(control, nullptr, 0, 0, spec.width, spec.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  } else if (spec.kind == ControlKind::ListBox) {
    const LRESULT usual = SendMessageA(control, LB_GETITEMHEIGHT, 0, 0);
    SendMessageA(control, LB_SETITEMHEIGHT, 0, MAKELPARAM(usual + 1, 0));
  }
}

void MainWindow::SetUpTabControl(HWND tab) {
  if (!tab) return;
  int index = 0;
  for (std::string_view title : TabPageTitles()) {
    std::string text(title);
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = text.data();
    SendMessageA(tab, TCM_INSERTITEMA, index++, reinterpret_cast<LPARAM>(&item));
  }
  SendMessageA(tab, TCM_SETITEMSIZE, 0, MAKELPARAM(0, TabHeaderHeight()));
  SendMessageA(tab, TCM_SETCURSEL, 0, 0);
  SetWindowSubclass(tab, TabControlProc, kTabSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

void MainWindow::StackInTableOrder(const std::vector<ControlSpec>& specs) const {
  HWND above = HWND_TOP;
  for (const ControlSpec& spec : specs) {
    HWND control = Control(spec.name);
    if (!control) continue;
    SetWindowPos(control, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    above = control;
  }
}

HFONT MainWindow::FontFor(const FontSpec& font) {
  if (font.IsDefault()) return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  auto [entry, added] = fonts_.try_emplace({font.face, font.pixelHeight}, nullptr);
  if (added) {
    // A negative height asks for the character height, without internal leading.
    entry->second = CreateFontA(-font.pixelHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                DEFAULT_PITCH | FF_DONTCARE, std::string(font.face).c_str());
  }
  return entry->second;
}

void MainWindow::Bind(const std::string& control, ControlEvent event, Handler handler) {
  handlers_[{control, event}] = std::move(handler);
}

void MainWindow::RaiseCreated() {
  if (createdHandler_) createdHandler_();
}

HWND MainWindow::Control(const std::string& name) const {
  auto found = controls_.find(name);
  return found == controls_.end() ? nullptr : found->second;
}

const ControlSpec* MainWindow::SpecOf(HWND control) const {
  auto found = specs_.find(control);
  return found == specs_.end() ? nullptr : found->second;
}

LRESULT CALLBACK MainWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
  return self->HandleMessage(hwnd, message, wParam, lParam);
}

// The tab control is the parent of the page controls: their notifications,
// colour and pointer requests are answered as the window answers its own.
LRESULT CALLBACK MainWindow::TabControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                            DWORD_PTR data) {
  auto* self = reinterpret_cast<MainWindow*>(data);
  switch (message) {
    case WM_COMMAND:
      if (self->OnCommand(wParam, lParam)) return 0;
      break;
    case WM_CTLCOLORSTATIC:
      if (self->IsLabel(reinterpret_cast<HWND>(lParam))) {
        return self->OnLabelColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
      }
      break;
    case WM_SETCURSOR:
      if (self->OnSetCursor(reinterpret_cast<HWND>(wParam))) return TRUE;
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, TabControlProc, kTabSubclassId);
      break;
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

LRESULT MainWindow::HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (OnCommand(wParam, lParam)) return 0;
      break;
    case WM_CTLCOLORSTATIC:
      if (IsLabel(reinterpret_cast<HWND>(lParam))) {
        return OnLabelColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
      }
      break;
    case WM_CTLCOLORLISTBOX:
      return OnListBoxColour(reinterpret_cast<HDC>(wParam));
    case WM_NOTIFY:
      if (OnNotify(lParam)) return 0;
      break;
    case WM_SETCURSOR:
      if (OnSetCursor(reinterpret_cast<HWND>(wParam))) return TRUE;
      break;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      hwnd_ = nullptr;
      break;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

bool MainWindow::OnCommand(WPARAM wParam, LPARAM lParam) {
  const ControlSpec* spec = SpecOf(reinterpret_cast<HWND>(lParam));
  if (!spec) return false;
  const WORD code = HIWORD(wParam);
  ControlEvent event;
  if (spec->kind == ControlKind::PushButton && code == BN_CLICKED) {
    event = ControlEvent::Clicked;
  } else if (spec->kind == ControlKind::ListBox && code == LBN_DBLCLK) {
    event = ControlEvent::DoubleClicked;
  } else {
    return false;
  }
  auto handler = handlers_.find({spec->name, event});
  if (handler == handlers_.end()) return false;
  handler->second();
  return true;
}

bool MainWindow::IsLabel(HWND control) const {
  const ControlSpec* spec = SpecOf(control);
  return spec && spec->kind == ControlKind::TransparentLabel;
}

// Only the text is drawn, over whatever lies beneath.
LRESULT MainWindow::OnLabelColour(HDC dc, HWND control) {
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ToColorRef(SpecOf(control)->textColour.value_or(Rgb{0, 0, 0})));
  return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
}

LRESULT MainWindow::OnListBoxColour(HDC dc) {
  SetTextColor(dc, ToColorRef(kListText));
  SetBkColor(dc, ToColorRef(kListBackground));
  return reinterpret_cast<LRESULT>(listBackground_);
}

// Every page header shows the product's name as its tooltip.
bool MainWindow::OnNotify(LPARAM lParam) {
  auto* header = reinterpret_cast<NMHDR*>(lParam);
  if (header->code == TTN_GETDISPINFOA) {
    auto* info = reinterpret_cast<NMTTDISPINFOA*>(lParam);
    info->lpszText = const_cast<char*>(MainWindowSpec().title.data());
    return true;
  }
  if (header->code == TTN_GETDISPINFOW) {
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
    const std::string_view title = MainWindowSpec().title;
    const int length = MultiByteToWideChar(CP_ACP, 0, title.data(), static_cast<int>(title.size()), info->szText,
                                           ARRAYSIZE(info->szText) - 1);
    info->szText[length] = L'\0';
    info->lpszText = info->szText;
    return true;
  }
  return false;
}

bool MainWindow::OnSetCursor(HWND control) {
  const ControlSpec* spec = SpecOf(control);
  if (!spec || !spec->handPointer) return false;
  SetCursor(LoadCursor(nullptr, IDC_HAND));
  return true;
}

}  // namespace soundboard
