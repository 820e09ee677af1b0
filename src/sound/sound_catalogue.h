#pragma once
// The 49 cells of the sound board on page "首页": what each shows and what a
// click on it does. Fixed data of the program.

#include <array>
#include <string_view>

namespace soundboard {

enum class CellAction { PlayFile, Pause, PinOnTop, UnpinFromTop };

struct SoundCell {
  std::string_view control;   // name of the button in the window
  std::string_view caption;
  int row;                    // 0..6 from the top
  int column;                 // 0..6 from the left
  CellAction action;
  std::string_view fileName;  // PlayFile only: the MP3 file beside the program
};

constexpr int kGridSize = 7;

// In grid order: row by row, each row from the left.
const std::array<SoundCell, kGridSize * kGridSize>& SoundCatalogue();

// Place of a grid cell in the coordinates of the tab control.
constexpr int CellX(int column) { return 8 + 72 * column; }
constexpr int CellY(int row) { return 40 + 40 * row; }
constexpr int kCellWidth = 64;
constexpr int kCellHeight = 32;

}  // namespace soundboard
