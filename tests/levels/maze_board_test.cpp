#include "storage/maze_board.h"

#include <gtest/gtest.h>

namespace sokoban {
namespace {

TEST(MazeBoard, BoardsAreCentredAsSingleFilesAlwaysWere) {
    struct Case {
        const char* what;
        core::Board board;
        int top, left; // where the board's top-left cell lands
        int man;
    } cases[] = {
        {"three rows of five", core::fromXsbRows({"#####", "#@$.#", "#####"}), 9, 14, 355},
        {"odd margins lean to the top and left",
         core::fromXsbRows({"####", "#@.#", "####", "####"}), 9, 15, 10 * kCols + 16},
        {"the whole grid", core::Board(kRows, kCols), 0, 0, 0},
        {"nothing at all: the worker in the middle", core::Board{}, 11, 17, 11 * kCols + 17},
        {"no worker: the top-left corner", core::fromXsbRows({"#$.#"}), 10, 15, 10 * kCols + 15},
    };
    for (const auto& c : cases) {
        const TMazeData m = centredMaze(c.board);
        EXPECT_EQ(m.man, c.man) << c.what;
        for (int i = 0; i < kCells; ++i) {
            const int r = i / kCols - c.top, col = i % kCols - c.left;
            ASSERT_EQ(m.cells[static_cast<std::size_t>(i)], c.board.at(r, col))
                << c.what << " " << i;
        }
    }
}

TEST(MazeBoard, ARecordIsABoardOfTheGrid) {
    TMazeData maze = centredMaze(core::fromXsbRows({"#####", "#@$.#", "#####"}));
    const core::Board b = boardOf(maze);
    EXPECT_EQ(b.rows, kRows);
    EXPECT_EQ(b.cols, kCols);
    EXPECT_EQ(b.worker, maze.man);
    EXPECT_TRUE(std::equal(maze.cells.begin(), maze.cells.end(), b.cells.begin()));
    EXPECT_EQ(centredMaze(b), maze);
    // A damaged record's worker is kept as it is, off the board.
    maze.man = -3;
    EXPECT_FALSE(boardOf(maze).contains(boardOf(maze).worker));
}

} // namespace
} // namespace sokoban
