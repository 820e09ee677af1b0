#include "app/layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>

#include "sound/sound_catalogue.h"

namespace soundboard {
namespace {

std::vector<const ControlSpec*> OnPage(int page) {
  std::vector<const ControlSpec*> result;
  for (const ControlSpec& spec : TabPageControls()) {
    if (spec.page == page) result.push_back(&spec);
  }
  return result;
}

std::vector<std::string> Names(const std::vector<ControlSpec>& specs) {
  std::vector<std::string> names;
  for (const ControlSpec& spec : specs) names.push_back(spec.name);
  return names;
}

TEST(Layout, WindowControlsAreStackedInTableOrder) {
  const std::vector<std::string> expected = {
      "透明标签7", "透明标签2", "透明标签1", "图片框1", "按钮17", "按钮16", "按钮15",
      "按钮14", "通用对话框1", "列表框1", "按钮13", "按钮2", "按钮1", "高级选择夹1"};
  EXPECT_EQ(Names(WindowControls()), expected);
}

TEST(Layout, EveryControlNameIsUnique) {
  std::set<std::string> seen;
  for (const auto* table : {&WindowControls(), &TabPageControls()}) {
    for (const ControlSpec& spec : *table) EXPECT_TRUE(seen.insert(spec.name).second) << spec.name;
  }
  EXPECT_EQ(seen.size(), 14u + 4u + 49u * 5u);
}

TEST(Layout, PlacesAndSizesOfWindowControls) {
  struct Row {
    const char* name;
    ControlKind kind;
    int x, y, width, height;
    bool visible;
  };
  const Row rows[] = {
      {"透明标签7", ControlKind::TransparentLabel, 16, 400, 152, 24, true},
      {"透明标签2", ControlKind::TransparentLabel, 560, 48, 112, 24, true},
      {"透明标签1", ControlKind::TransparentLabel, 544, 8, 144, 32, true},
      {"图片框1", ControlKind::PictureBox, 0, 0, 520, 88, true},
      {"按钮17", ControlKind::PushButton, 408, 400, 80, 24, true},
      {"按钮16", ControlKind::PushButton, 648, 400, 56, 24, true},
      {"按钮15", ControlKind::PushButton, 584, 400, 56, 24, true},
      {"按钮14", ControlKind::PushButton, 520, 400, 56, 24, true},
      {"通用对话框1", ControlKind::OpenFileDialog, 528, 296, 26, 26, false},
      {"列表框1", ControlKind::ListBox, 520, 88, 192, 304, true},
      {"按钮13", ControlKind::PushButton, 168, 440, 72, 32, false},
      {"按钮2", ControlKind::PushButton, 88, 464, 72, 32, false},
      {"按钮1", ControlKind::PushButton, 8, 440, 72, 32, false},
      {"高级选择夹1", ControlKind::TabControl, 0, 64, 520, 328, true},
  };
  ASSERT_EQ(std::size(rows), WindowControls().size());
  for (size_t i = 0; i < std::size(rows); ++i) {
    const ControlSpec& spec = WindowControls()[i];
    SCOPED_TRACE(spec.name);
    EXPECT_EQ(spec.name, rows[i].name);
    EXPECT_EQ(spec.kind, rows[i].kind);
    EXPECT_EQ(spec.page, kOnWindow);
    EXPECT_EQ(spec.x, rows[i].x);
    EXPECT_EQ(spec.y, rows[i].y);
    EXPECT_EQ(spec.width, rows[i].width);
    EXPECT_EQ(spec.height, rows[i].height);
    EXPECT_EQ(spec.visible, rows[i].visible);
  }
}

TEST(Layout, CaptionsFontsAndColoursOfTheWindowAndItsLabels) {
  std::map<std::string, const ControlSpec*> byName;
  for (const auto* table : {&WindowControls(), &TabPageControls()}) {
    for (const ControlSpec& spec : *table) byName[spec.name] = &spec;
  }
  EXPECT_EQ(MainWindowSpec().title, "舞台音效板");
  EXPECT_EQ(MainWindowSpec().width, 722);
  EXPECT_EQ(MainWindowSpec().height, 468);
  EXPECT_EQ(byName["透明标签2"]->caption, "双击文件名字播放");
  EXPECT_EQ(byName["透明标签1"]->caption, "自定义添加MP3格式的文件");
  EXPECT_EQ(byName["按钮17"]->caption, "拉伸窗口");
  EXPECT_EQ(byName["按钮14"]->caption, "添加");
  EXPECT_EQ(byName["按钮15"]->caption, "暂停");
  EXPECT_EQ(byName["按钮16"]->caption, "删除");
  for (const char* qq : {"按钮1", "按钮2", "按钮13"}) EXPECT_EQ(byName[qq]->caption, "客服QQ");

  const ControlSpec& list = *byName["列表框1"];
  EXPECT_EQ(list.font.face, "宋体");
  EXPECT_EQ(list.font.pixelHeight, 16);
  EXPECT_EQ(kListText, (Rgb{0, 0, 255}));
  EXPECT_EQ(kListBackground, (Rgb{255, 255, 255}));

  for (const char* name : {"透明标签4", "透明标签5", "透明标签6"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(byName[name]->textColour, (Rgb{255, 0, 0}));
    EXPECT_EQ(byName[name]->font.face, "宋体");
    EXPECT_EQ(byName[name]->font.pixelHeight, 15);
    EXPECT_TRUE(byName[name]->handPointer);
  }
  EXPECT_EQ(byName["透明标签4"]->caption, "进入淘宝");
  EXPECT_EQ(byName["透明标签5"]->caption, "进入拍拍");
  EXPECT_EQ(byName["透明标签6"]->caption, "进入淘宝");
  EXPECT_EQ(byName["透明标签3"]->textColour, (Rgb{0, 0, 255}));
  EXPECT_FALSE(byName["透明标签3"]->handPointer);
  EXPECT_TRUE(byName["图片框1"]->handPointer);
  for (const char* name : {"透明标签1", "透明标签2", "透明标签7"}) {
    EXPECT_TRUE(byName[name]->font.IsDefault()) << name;
    EXPECT_EQ(byName[name]->textColour, (Rgb{0, 0, 0})) << name;
    EXPECT_FALSE(byName[name]->handPointer) << name;
  }
}

TEST(Layout, TabControlPagesAndHeader) {
  const std::vector<std::string_view> titles{"首页", "第二页", "第三页", "第四页", "第五页"};
  EXPECT_EQ(TabPageTitles(), titles);
  EXPECT_EQ(kTabHeaderFont.face, "宋体");
  EXPECT_EQ(kTabHeaderFont.pixelHeight, 19);
  EXPECT_EQ(TabHeaderHeight(), 20);
}

TEST(Layout, FirstPageHoldsItsLabelsAboveTheSoundCells) {
  const auto page = OnPage(0);
  ASSERT_EQ(page.size(), 4u + 49u);
  const std::vector<std::string> labels = {"透明标签6", "透明标签5", "透明标签4", "透明标签3"};
  for (size_t i = 0; i < labels.size(); ++i) {
    EXPECT_EQ(page[i]->name, labels[i]);
    EXPECT_EQ(page[i]->y, 0);  // all in the header strip the banner covers
    EXPECT_EQ(page[i]->height, 24);
  }
  for (size_t i = 0; i < 49; ++i) {
    const SoundCell& cell = SoundCatalogue()[i];
    const ControlSpec& spec = *page[4 + i];
    SCOPED_TRACE(spec.name);
    EXPECT_EQ(spec.name, cell.control);
    EXPECT_EQ(spec.caption, cell.caption);
    EXPECT_EQ(spec.kind, ControlKind::PushButton);
    EXPECT_TRUE(spec.visible);
  }
}

TEST(Layout, EveryPageHas49ButtonsOnTheGrid) {
  for (int page = 0; page < kTabPageCount; ++page) {
    SCOPED_TRACE(page);
    std::set<std::pair<int, int>> places;
    for (const ControlSpec* spec : OnPage(page)) {
      if (spec->kind != ControlKind::PushButton) continue;
      const int column = (spec->x - 8) / 72;
      const int row = (spec->y - 40) / 40;
      EXPECT_EQ(spec->x, 8 + 72 * column);
      EXPECT_EQ(spec->y, 40 + 40 * row);
      EXPECT_EQ(spec->width, 64);
      EXPECT_EQ(spec->height, 32);
      EXPECT_TRUE(places.insert({row, column}).second) << "two buttons on one place";
      EXPECT_TRUE(row >= 0 && row < 7 && column >= 0 && column < 7);
    }
    EXPECT_EQ(places.size(), 49u);
  }
  // The first row of cells stands just below the banner, at window row 104.
  EXPECT_EQ(WindowControls().back().y + CellY(0), 104);
}

TEST(Layout, ButtonsOfPagesTwoToFiveAreNamedAndCaptioned) {
  std::set<int> playNumbers;
  std::set<std::string> plainNames;
  for (int page = 1; page < kTabPageCount; ++page) {
    for (const ControlSpec* spec : OnPage(page)) {
      const int column = (spec->x - 8) / 72;
      const int row = (spec->y - 40) / 40;
      const std::string prefix = "按钮_播放";
      if (row == 6 && (column == 3 || column == 6)) {
        plainNames.insert(spec->name);
        EXPECT_EQ(spec->caption, column == 3 ? "暂停" : "按钮");
      } else {
        ASSERT_EQ(spec->name.rfind(prefix, 0), 0u) << spec->name;
        playNumbers.insert(std::stoi(spec->name.substr(prefix.size())));
      }
      if (row >= 2 && row <= 5) EXPECT_EQ(spec->caption, "手枪声音");
    }
    EXPECT_EQ(OnPage(page)[0]->caption, "手枪声音");
    EXPECT_EQ(OnPage(page)[6]->caption, "群众笑声");
    EXPECT_EQ(OnPage(page)[7]->caption, "群斗剑击");
    EXPECT_EQ(OnPage(page)[13]->caption, "救护车");
  }
  ASSERT_EQ(playNumbers.size(), 188u);
  EXPECT_EQ(*playNumbers.begin(), 94);
  EXPECT_EQ(*playNumbers.rbegin(), 281);
  const std::set<std::string> expectedPlain = {"按钮5", "按钮6", "按钮7", "按钮8",
                                               "按钮9", "按钮10", "按钮11", "按钮12"};
  EXPECT_EQ(plainNames, expectedPlain);
}

TEST(Layout, OnlyTheQqButtonsAndTheDialogAreHidden) {
  std::set<std::string> hidden;
  for (const auto* table : {&WindowControls(), &TabPageControls()}) {
    for (const ControlSpec& spec : *table) {
      if (!spec.visible) hidden.insert(spec.name);
    }
  }
  const std::set<std::string> expected = {"按钮1", "按钮2", "按钮13", "通用对话框1"};
  EXPECT_EQ(hidden, expected);
}

}  // namespace
}  // namespace soundboard
