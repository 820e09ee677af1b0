#include "app/layout.h"

#include <array>

#include "app/product.h"
#include "sound/sound_catalogue.h"

namespace soundboard {
namespace {

constexpr FontSpec kDefaultFont{};
constexpr FontSpec kSongTi15{"宋体", 15};
constexpr FontSpec kSongTi16{"宋体", 16};
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kBlue{0, 0, 255};

using K = ControlKind;

std::vector<ControlSpec> BuildWindowControls() {
  return {
      {"透明标签7", K::TransparentLabel, kOnWindow, 16, 400, 152, 24, kVendorSiteCaption, true, kDefaultFont, kBlack},
      {"透明标签2", K::TransparentLabel, kOnWindow, 560, 48, 112, 24, "双击文件名字播放", true, kDefaultFont, kBlack},
      {"透明标签1", K::TransparentLabel, kOnWindow, 544, 8, 144, 32, "自定义添加MP3格式的文件", true, kDefaultFont, kBlack},
      {kBannerName, K::PictureBox, kOnWindow, 0, 0, 520, 88, "", true, kDefaultFont, std::nullopt, true},
      {"按钮17", K::PushButton, kOnWindow, 408, 400, 80, 24, "拉伸窗口", true},
      {"按钮16", K::PushButton, kOnWindow, 648, 400, 56, 24, "删除", true},
      {"按钮15", K::PushButton, kOnWindow, 584, 400, 56, 24, "暂停", true},
      {"按钮14", K::PushButton, kOnWindow, 520, 400, 56, 24, "添加", true},
      {kOpenFileDialogName, K::OpenFileDialog, kOnWindow, 528, 296, 26, 26, "", false},
      {kMusicListName, K::ListBox, kOnWindow, 520, 88, 192, 304, "", true, kSongTi16, kListText},
      {"按钮13", K::PushButton, kOnWindow, 168, 440, 72, 32, "客服QQ", false},
      {"按钮2", K::PushButton, kOnWindow, 88, 464, 72, 32, "客服QQ", false},
      {"按钮1", K::PushButton, kOnWindow, 8, 440, 72, 32, "客服QQ", false},
      {kTabControlName, K::TabControl, kOnWindow, 0, 64, 520, 328, "", true, kTabHeaderFont},
  };
}

// Captions of the buttons of pages 2 to 5, the same on every page.
std::string OtherPageCaption(int row, int column) {
  static constexpr std::array<std::string_view, kGridSize> kRow0{
      "手枪声音", "尖叫声", "女人呻吟", "亲嘴声", "亲嘴声女", "乌鸦飞过", "群众笑声"};
  static constexpr std::array<std::string_view, kGridSize> kRow1{
      "群斗剑击", "轻微掌声", "敲钟声", "敲锣声音", "男人咳嗽", "开枪", "救护车"};
  if (row == 0) return std::string(kRow0[column]);
  if (row == 1) return std::string(kRow1[column]);
  if (row == 6 && column == 3) return "暂停";
  if (row == 6 && column == 6) return "按钮";
  return "手枪声音";
}

std::vector<ControlSpec> BuildTabPageControls() {
  std::vector<ControlSpec> controls = {
      {"透明标签6", K::TransparentLabel, 0, 376, 0, 64, 24, "进入淘宝", true, kSongTi15, kRed, true},
      {"透明标签5", K::TransparentLabel, 0, 448, 0, 64, 24, "进入拍拍", true, kSongTi15, kRed, true},
      {"透明标签4", K::TransparentLabel, 0, 304, 0, 64, 24, "进入淘宝", true, kSongTi15, kRed, true},
      {"透明标签3", K::TransparentLabel, 0, 72, 0, 216, 24, kPromotionLine, true, kSongTi15, kBlue},
  };
  for (const SoundCell& cell : SoundCatalogue()) {
    controls.push_back({std::string(cell.control), K::PushButton, 0, CellX(cell.column), CellY(cell.row),
                        kCellWidth, kCellHeight, std::string(cell.caption), true});
  }
  // Pages 2 to 5 repeat the grid with buttons that do nothing. They are
  // numbered 按钮_播放94 onwards, page by page and row by row, except the two
  // cells of the last row at columns 3 and 6, which are 按钮5 to 按钮12.
  int playNumber = 94;
  int plainNumber = 5;
  for (int page = 1; page < kTabPageCount; ++page) {
    for (int row = 0; row < kGridSize; ++row) {
      for (int column = 0; column < kGridSize; ++column) {
        const bool plain = row == 6 && (column == 3 || column == 6);
        std::string name = plain ? "按钮" + std::to_string(plainNumber++)
                                 : "按钮_播放" + std::to_string(playNumber++);
        controls.push_back({std::move(name), K::PushButton, page, CellX(column), CellY(row), kCellWidth,
                            kCellHeight, OtherPageCaption(row, column), true});
      }
    }
  }
  return controls;
}

}  // namespace

const WindowSpec& MainWindowSpec() {
  static const WindowSpec spec{kProductName, 722, 468};
  return spec;
}

const std::vector<ControlSpec>& WindowControls() {
  static const std::vector<ControlSpec> controls = BuildWindowControls();
  return controls;
}

const std::vector<ControlSpec>& TabPageControls() {
  static const std::vector<ControlSpec> controls = BuildTabPageControls();
  return controls;
}

const std::vector<std::string_view>& TabPageTitles() {
  static const std::vector<std::string_view> titles{"首页", "第二页", "第三页", "第四页", "第五页"};
  return titles;
}

}  // namespace soundboard
