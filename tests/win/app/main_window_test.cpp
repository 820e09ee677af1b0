// MainWindow against the real window manager and controls, under Wine.

#include "app/main_window_win.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/layout.h"

namespace soundboard {
namespace {

class MainWindowTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(window_.Create(GetModuleHandleA(nullptr))); }

  void ShowAndSettle() {
    ShowWindow(window_.Handle(), SW_SHOWNORMAL);
    UpdateWindow(window_.Handle());
    PumpMessages();
  }

  static void PumpMessages() {
    MSG message;
    for (int i = 0; i < 20; ++i) {
      while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
      Sleep(10);
    }
  }

  HWND Control(const std::string& name) const { return window_.Control(name); }

  MainWindow window_;
};

std::string ClassOf(HWND hwnd) {
  char name[64] = {};
  GetClassNameA(hwnd, name, sizeof(name));
  return name;
}

LOGFONTA FontOf(HWND hwnd) {
  LOGFONTA font = {};
  auto handle = reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0));
  GetObjectA(handle ? handle : GetStockObject(SYSTEM_FONT), sizeof(font), &font);
  return font;
}

TEST_F(MainWindowTest, IsCreatedHiddenAndCentredForItsDesignSize) {
  RECT outer;
  ASSERT_TRUE(GetWindowRect(window_.Handle(), &outer));
  EXPECT_FALSE(IsWindowVisible(window_.Handle()));
  EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - 722) / 2);
  EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - 468) / 2);
  EXPECT_EQ(outer.right - outer.left, 722);
  EXPECT_EQ(outer.bottom - outer.top, 468);

  char title[64] = {};
  GetWindowTextA(window_.Handle(), title, sizeof(title));
  EXPECT_STREQ(title, "舞台音效板");
  const LONG style = GetWindowLongA(window_.Handle(), GWL_STYLE);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME) << "the border is fixed";
  EXPECT_EQ(GetWindow(window_.Handle(), GW_OWNER), nullptr);
  EXPECT_NE(GetClassLongPtrA(window_.Handle(), GCLP_HICON), 0);
  EXPECT_NE(GetClassLongPtrA(window_.Handle(), GCLP_HICONSM), 0);
  EXPECT_EQ(GetClassLongPtrA(window_.Handle(), GCLP_HBRBACKGROUND), COLOR_BTNFACE + 1);
}

TEST_F(MainWindowTest, EveryControlHasItsKindPlaceAndCaption) {
  for (const auto* table : {&WindowControls(), &TabPageControls()}) {
    for (const ControlSpec& spec : *table) {
      SCOPED_TRACE(spec.name);
      HWND control = Control(spec.name);
      if (spec.kind == ControlKind::OpenFileDialog) {
        EXPECT_EQ(control, nullptr) << "the dialog component has no window";
        continue;
      }
      ASSERT_NE(control, nullptr);
      HWND parent = spec.page == kOnWindow ? window_.Handle() : Control(kTabControlName);
      EXPECT_EQ(GetParent(control), parent);
      RECT place;
      GetWindowRect(control, &place);
      MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&place), 2);
      EXPECT_EQ(place.left, spec.x);
      EXPECT_EQ(place.top, spec.y);
      EXPECT_EQ(place.right - place.left, spec.width);
      EXPECT_EQ(place.bottom - place.top, spec.height);
      char caption[256] = {};
      GetWindowTextA(control, caption, sizeof(caption));
      if (spec.kind == ControlKind::PushButton || spec.kind == ControlKind::TransparentLabel) {
        EXPECT_EQ(caption, spec.caption);
      }
      const std::string expectedClass = spec.kind == ControlKind::PushButton ? "Button"
                                        : spec.kind == ControlKind::ListBox  ? "ListBox"
                                        : spec.kind == ControlKind::TabControl ? "SysTabControl32"
                                                                               : "Static";
      EXPECT_EQ(_stricmp(ClassOf(control).c_str(), expectedClass.c_str()), 0) << ClassOf(control);
      if (spec.kind == ControlKind::PushButton) {
        const LONG style = GetWindowLongA(control, GWL_STYLE);
        EXPECT_EQ(style & BS_TYPEMASK, BS_PUSHBUTTON);
        EXPECT_TRUE(style & WS_TABSTOP);
        EXPECT_TRUE(style & BS_MULTILINE);
        HFONT font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
        EXPECT_EQ(font, GetStockObject(DEFAULT_GUI_FONT));
      }
    }
  }
}

std::vector<HWND> ChildrenInZOrder(HWND parent) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (GetParent(child) == parent) children.push_back(child);
  }
  return children;
}

TEST_F(MainWindowTest, ControlsStackInTableOrderFirstOnTop) {
  std::vector<HWND> expected;
  for (const ControlSpec& spec : WindowControls()) {
    if (HWND control = Control(spec.name)) expected.push_back(control);
  }
  EXPECT_EQ(ChildrenInZOrder(window_.Handle()), expected);

  expected.clear();
  for (const ControlSpec& spec : TabPageControls()) expected.push_back(Control(spec.name));
  std::vector<HWND> pageChildren;
  for (HWND child : ChildrenInZOrder(Control(kTabControlName))) {
    if (ClassOf(child) != "tooltips_class32") pageChildren.push_back(child);
  }
  EXPECT_EQ(pageChildren, expected);
}

TEST_F(MainWindowTest, HiddenControlsStayHiddenOnceShown) {
  ShowAndSettle();
  ASSERT_TRUE(IsWindowVisible(window_.Handle()));
  for (const char* qq : {"按钮1", "按钮2", "按钮13"}) EXPECT_FALSE(IsWindowVisible(Control(qq))) << qq;
  int shownCells = 0;
  for (const ControlSpec& spec : TabPageControls()) {
    const bool visible = IsWindowVisible(Control(spec.name));
    EXPECT_EQ(visible, spec.page == 0) << spec.name;
    shownCells += visible;
  }
  EXPECT_EQ(shownCells, 4 + 49);
  EXPECT_TRUE(IsWindowVisible(Control(kMusicListName)));
}

TEST_F(MainWindowTest, TheBannerCoversTheHeaderStripOfTheTabControl) {
  ShowAndSettle();
  HWND banner = Control(kBannerName);
  for (int y : {64, 70, 76, 87}) {
    for (int x : {0, 20, 100, 300, 310, 380, 450, 500, 519}) {
      POINT point = {x, y};
      EXPECT_EQ(ChildWindowFromPointEx(window_.Handle(), point, CWP_SKIPINVISIBLE), banner) << x << "," << y;
      ClientToScreen(window_.Handle(), &point);
      EXPECT_EQ(WindowFromPoint(point), banner) << x << "," << y;
    }
  }
  // Just below the banner lies the tab control's page area (the cells start
  // lower); a tab control lets presses on its page area through to its parent.
  POINT below = {100, 88};
  EXPECT_EQ(ChildWindowFromPointEx(window_.Handle(), below, CWP_SKIPINVISIBLE), Control(kTabControlName));
  ClientToScreen(window_.Handle(), &below);
  EXPECT_NE(WindowFromPoint(below), banner);
  // And the first row of cells stands at window row 104.
  POINT cell = {8 + 1, 104 + 1};
  ClientToScreen(window_.Handle(), &cell);
  EXPECT_EQ(WindowFromPoint(cell), Control("按钮_播放"));
}

TEST_F(MainWindowTest, TheBannerShowsTheCarriedPictureWithAHandPointer) {
  HWND banner = Control(kBannerName);
  auto bitmap = reinterpret_cast<HBITMAP>(SendMessageA(banner, STM_GETIMAGE, IMAGE_BITMAP, 0));
  ASSERT_NE(bitmap, nullptr);
  BITMAP info = {};
  GetObjectA(bitmap, sizeof(info), &info);
  EXPECT_EQ(info.bmWidth, 520);
  EXPECT_EQ(std::abs(info.bmHeight), 88);
  EXPECT_EQ(info.bmBitsPixel, 24);
  // A picture, not a blank: its corners differ in colour (the banner is a
  // gradient from dark red at the top to gold at the bottom).
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  const COLORREF top = GetPixel(dc, 2, 2);
  const COLORREF bottom = GetPixel(dc, 2, 85);
  SelectObject(dc, old);
  DeleteDC(dc);
  EXPECT_GT(GetRValue(top), GetBValue(top) + 40);
  EXPECT_GT(GetGValue(bottom), GetGValue(top) + 60);

  EXPECT_EQ(SendMessageA(window_.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(banner), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)), TRUE);
  EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_HAND));
  EXPECT_EQ(SendMessageA(window_.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(Control("透明标签2")), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)), FALSE)
      << "the default arrow over the hint label";
}

TEST_F(MainWindowTest, TheListBoxHasItsColoursFontAndEntryHeight) {
  HWND list = Control(kMusicListName);
  const LONG style = GetWindowLongA(list, GWL_STYLE);
  EXPECT_TRUE(style & LBS_NOTIFY);
  EXPECT_FALSE(style & LBS_SORT);
  EXPECT_FALSE(style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL | LBS_MULTICOLUMN));
  EXPECT_TRUE(GetWindowLongA(list, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), LB_ERR);
  // The vertical scroll bar comes into view once the entries overflow.
  for (int i = 0; i < 40; ++i) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("x"));
  EXPECT_TRUE(GetWindowLongA(list, GWL_STYLE) & WS_VSCROLL);

  HDC dc = CreateCompatibleDC(nullptr);
  auto brush = reinterpret_cast<HBRUSH>(
      SendMessageA(window_.Handle(), WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(list)));
  EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 255));
  EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 255));
  LOGBRUSH fill = {};
  ASSERT_TRUE(GetObjectA(brush, sizeof(fill), &fill));
  EXPECT_EQ(fill.lbColor, RGB(255, 255, 255));
  DeleteDC(dc);

  const LOGFONTA font = FontOf(list);
  EXPECT_STREQ(font.lfFaceName, "宋体");
  EXPECT_EQ(font.lfHeight, -16);
  EXPECT_EQ(font.lfWeight, FW_NORMAL);
  EXPECT_EQ(font.lfCharSet, GB2312_CHARSET);
  EXPECT_FALSE(font.lfItalic || font.lfUnderline || font.lfStrikeOut);

  // One pixel more than a list box with the same font would use.
  HWND plain = CreateWindowExA(0, "LISTBOX", "", WS_CHILD, 0, 0, 100, 100, window_.Handle(), nullptr, nullptr, nullptr);
  SendMessageA(plain, WM_SETFONT, SendMessageA(list, WM_GETFONT, 0, 0), FALSE);
  EXPECT_EQ(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0), SendMessageA(plain, LB_GETITEMHEIGHT, 0, 0) + 1);
  DestroyWindow(plain);
}

TEST_F(MainWindowTest, LabelsDrawOnlyTheirTextInTheirColour) {
  struct Case {
    const char* name;
    COLORREF colour;
    LONG height;  // 0: the default GUI font
  };
  for (const Case& c : {Case{"透明标签7", RGB(0, 0, 0), 0}, Case{"透明标签2", RGB(0, 0, 0), 0},
                        Case{"透明标签1", RGB(0, 0, 0), 0}, Case{"透明标签6", RGB(255, 0, 0), -15},
                        Case{"透明标签3", RGB(0, 0, 255), -15}}) {
    SCOPED_TRACE(c.name);
    HWND label = Control(c.name);
    HDC dc = CreateCompatibleDC(nullptr);
    SetBkMode(dc, OPAQUE);
    const LRESULT brush = SendMessageA(GetParent(label), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                       reinterpret_cast<LPARAM>(label));
    EXPECT_EQ(brush, reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)));
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
    EXPECT_EQ(GetTextColor(dc), c.colour);
    DeleteDC(dc);
    if (c.height == 0) {
      EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0)), GetStockObject(DEFAULT_GUI_FONT));
    } else {
      EXPECT_STREQ(FontOf(label).lfFaceName, "宋体");
      EXPECT_EQ(FontOf(label).lfHeight, c.height);
    }
    EXPECT_FALSE(GetWindowLongA(label, GWL_STYLE) & WS_TABSTOP);
  }
}

TEST_F(MainWindowTest, TabControlHasFivePagesWithTheFirstCurrent) {
  HWND tab = Control(kTabControlName);
  ASSERT_EQ(SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0), 5);
  const char* titles[] = {"首页", "第二页", "第三页", "第四页", "第五页"};
  for (int i = 0; i < 5; ++i) {
    char text[32] = {};
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    SendMessageA(tab, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
    EXPECT_STREQ(text, titles[i]);
  }
  EXPECT_EQ(SendMessageA(tab, TCM_GETCURSEL, 0, 0), 0);
  RECT header = {};
  SendMessageA(tab, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&header));
  EXPECT_EQ(header.bottom - header.top, 20);
  EXPECT_STREQ(FontOf(tab).lfFaceName, "宋体");
  EXPECT_EQ(FontOf(tab).lfHeight, -19);
  const LONG style = GetWindowLongA(tab, GWL_STYLE);
  EXPECT_TRUE(style & TCS_TOOLTIPS);
  EXPECT_TRUE(style & TCS_FOCUSNEVER);
  EXPECT_FALSE(style & WS_TABSTOP);

  // Every header's tooltip is the product's name.
  NMTTDISPINFOA info = {};
  info.hdr.hwndFrom = reinterpret_cast<HWND>(SendMessageA(tab, TCM_GETTOOLTIPS, 0, 0));
  info.hdr.code = TTN_GETDISPINFOA;
  info.hdr.idFrom = 3;
  SendMessageA(window_.Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
  ASSERT_NE(info.lpszText, nullptr);
  EXPECT_STREQ(info.lpszText, "舞台音效板");
}

TEST_F(MainWindowTest, BoundHandlersRunOnTheirEventOnly) {
  int clicks = 0;
  int doubleClicks = 0;
  window_.Bind("按钮14", ControlEvent::Clicked, [&] { ++clicks; });
  window_.Bind("按钮_播放14", ControlEvent::Clicked, [&] { clicks += 10; });
  window_.Bind(kMusicListName, ControlEvent::DoubleClicked, [&] { ++doubleClicks; });
  SendMessageA(Control("按钮14"), BM_CLICK, 0, 0);
  SendMessageA(Control("按钮_播放14"), BM_CLICK, 0, 0);  // a cell: its click reaches the window through the tab control
  SendMessageA(Control("按钮15"), BM_CLICK, 0, 0);       // nothing bound
  SendMessageA(window_.Handle(), WM_COMMAND, MAKEWPARAM(0, LBN_DBLCLK),
               reinterpret_cast<LPARAM>(Control(kMusicListName)));
  SendMessageA(window_.Handle(), WM_COMMAND, MAKEWPARAM(0, LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(Control(kMusicListName)));
  EXPECT_EQ(clicks, 11);
  EXPECT_EQ(doubleClicks, 1);

  int created = 0;
  window_.OnCreated([&] { ++created; });
  window_.RaiseCreated();
  EXPECT_EQ(created, 1);
}

}  // namespace
}  // namespace soundboard
