#include "sound/sound_catalogue.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace soundboard {
namespace {

TEST(SoundCatalogue, FillsTheGridRowByRow) {
  int index = 0;
  for (const SoundCell& cell : SoundCatalogue()) {
    EXPECT_EQ(cell.row, index / 7) << cell.control;
    EXPECT_EQ(cell.column, index % 7) << cell.control;
    ++index;
  }
}

TEST(SoundCatalogue, HasFortySixSoundsOnePauseAndTwoWindowTools) {
  int play = 0;
  std::set<std::string> files;
  for (const SoundCell& cell : SoundCatalogue()) {
    if (cell.action != CellAction::PlayFile) {
      EXPECT_TRUE(cell.fileName.empty()) << cell.control;
      continue;
    }
    ++play;
    EXPECT_TRUE(files.insert(std::string(cell.fileName)).second) << cell.fileName;
    EXPECT_EQ(cell.fileName.substr(cell.fileName.size() - 4), ".mp3");
  }
  EXPECT_EQ(play, 46);
  const auto& grid = SoundCatalogue();
  EXPECT_EQ(grid[6 * 7 + 4].action, CellAction::Pause);
  EXPECT_EQ(grid[6 * 7 + 4].control, "按钮4");
  EXPECT_EQ(grid[6 * 7 + 5].action, CellAction::PinOnTop);
  EXPECT_EQ(grid[6 * 7 + 5].control, "按钮_播放85");
  EXPECT_EQ(grid[6 * 7 + 6].action, CellAction::UnpinFromTop);
  EXPECT_EQ(grid[6 * 7 + 6].control, "按钮_播放51");
}

TEST(SoundCatalogue, TwelveCellsPlayAFileNotNamedAfterTheirCaption) {
  const std::set<std::string> expected = {"女人呻吟", "亲嘴声", "亲嘴声女", "男人咳嗽", "神经热线", "鬼叫声男",
                                          "非诚勿扰", "打架现场", "Dorvik笑", "做人厚道", "砸玻璃", "鬼叫声女"};
  std::set<std::string> differing;
  for (const SoundCell& cell : SoundCatalogue()) {
    if (cell.action == CellAction::PlayFile && cell.fileName != std::string(cell.caption) + ".mp3") {
      differing.insert(std::string(cell.caption));
    }
  }
  EXPECT_EQ(differing, expected);
}

TEST(SoundCatalogue, FileNamesKeepAsciiParentheses) {
  const auto& grid = SoundCatalogue();
  EXPECT_EQ(grid[0 * 7 + 3].fileName, "亲嘴声(敷衍).mp3");
  EXPECT_EQ(grid[2 * 7 + 0].fileName, "精神病热线.mp3");
  EXPECT_EQ(grid[6 * 7 + 3].fileName, "版权.mp3");
  EXPECT_NE(grid[0 * 7 + 3].fileName.find("(\xB7\xF3\xD1\xDC)"), std::string_view::npos)
      << "GBK bytes of 敷衍 between ASCII parentheses";
}

}  // namespace
}  // namespace soundboard
