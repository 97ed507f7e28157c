// The game's level records and the core's boards, both ways: a record is a
// 22 x 34 board; a board read from text is laid on that grid centred, as a
// single level file's picture always was.
#pragma once

#include "core/board.h"
#include "storage/records.h"

namespace sokoban {

// The record's grid as a board: the same cell numbers, the worker on `man`
// whatever it holds (off the board when a damaged record says so).
core::Board boardOf(const Cells& cells, int man);
inline core::Board boardOf(const TMazeData& maze) {
    return boardOf(maze.cells, maze.man);
}

// The board centred in the 22 x 34 grid, a picture with an odd margin one
// cell nearer the top and the left; the worker on the board's top-left
// corner when it has none. For a board no larger than the grid.
TMazeData centredMaze(const core::Board& board);

} // namespace sokoban
