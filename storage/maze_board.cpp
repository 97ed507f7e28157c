#include "storage/maze_board.h"

#include <algorithm>

namespace sokoban {

core::Board boardOf(const Cells& cells, int man) {
    core::Board b(kRows, kCols);
    std::copy(cells.begin(), cells.end(), b.cells.begin());
    b.worker = man;
    return b;
}

TMazeData centredMaze(const core::Board& board) {
    TMazeData maze;
    const int rows = std::min(board.rows, kRows), cols = std::min(board.cols, kCols);
    const int top = (kRows - rows) / 2, left = (kCols - cols) / 2;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            maze.cells[static_cast<std::size_t>((r + top) * kCols + c + left)] = board.at(r, c);
    const bool onBoard = board.contains(board.worker);
    const int manRow = onBoard ? board.rowOf(board.worker) : 0;
    const int manCol = onBoard ? board.colOf(board.worker) : 0;
    maze.man = static_cast<std::int16_t>((manRow + top) * kCols + manCol + left);
    return maze;
}

} // namespace sokoban
