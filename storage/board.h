// Board geometry shared by the model and the windows that draw boards.
#pragma once

#include "storage/records.h"

#include <cstdint>
#include <span>

namespace sokoban {

struct BoundingBox {
    int top = 0, left = 0, bottom = 0, right = 0;
    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
};

// Smallest box holding every non-outside cell; an empty board gives 0..0.
BoundingBox boundingBox(const Cells& cells);
// The same on a grid `cols` wide.
BoundingBox boundingBox(std::span<const std::uint8_t> cells, int cols);

// Moves the box to row 0, column 0; returns the index shift applied.
int normaliseBoard(Cells& cells, const BoundingBox& box);
int normaliseBoard(std::span<std::uint8_t> cells, int cols, const BoundingBox& box);

struct BoardLayout {
    int cellSize = 0;
    int originRow = 0;
    int originCol = 0;
};

// The largest whole cell size that fits the window, board centred in whole
// cells. windowWidth/Height are the outer size, barHeight the tool band.
BoardLayout fitBoard(int windowWidth, int windowHeight, int barHeight, int mazeWidth,
                     int mazeHeight, bool fixedSize);

// The cell under a pixel of the board image, or -1 outside the grid (a
// level record's unless given).
int cellAt(const BoardLayout& layout, int x, int y, int rows = kRows, int cols = kCols);

} // namespace sokoban
