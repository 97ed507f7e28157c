// The eight ways to lay a board down again (four quarter turns, each also
// mirrored), and one name for a level that is the same for all of them.
#pragma once

#include "core/board.h"

#include <string>

namespace sokoban::core {

constexpr int kSymmetries = 8;

// Symmetry t (0 .. 7) takes cell (row, col) of a board of R rows and C
// columns first to row R - 1 - row when bit 1 is set, to column C - 1 - col
// when bit 2 is set, and then swaps row and column when bit 0 is set. 0
// leaves the board as it is; the odd ones turn its sides round.
int transformedCell(const Board& board, int cell, int t);
Board transformed(const Board& board, int t);

// A key that two boards share exactly when one is a turn or mirror image of
// the other as a puzzle, wherever each lies on its board. What counts:
// - walls, targets and boxes where they are, only within the area the
//   worker could ever reach (boxes ignored), and any box or target outside
//   it, since that can make a level unsolvable;
// - the worker only by the region he can walk to without pushing: from any
//   cell of it he can walk to any other, so all give the same puzzle;
// - nothing of what nobody enters: walls, outside and floor cut off from the
//   worker all look alike, and the key covers only the rectangle of what is
//   left.
// So a level drawn with a thicker wall, a shifted worker or a blank row
// round it is the same level; one with a box moved is not.
std::string canonicalForm(const Board& board);

} // namespace sokoban::core
