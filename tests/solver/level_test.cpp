// What the solver takes: any core board with a worker on a free cell and
// nothing but the game's cell codes, a level record's grid included.
#include "solver/solver.h"
#include "storage/maze_board.h"

#include <gtest/gtest.h>

namespace sokoban::solver {
namespace {

TEST(SolverLevel, RefusesBoardsItCannotTakeWithAReason) {
    TMazeData maze;
    for (int c = 0; c < 5; ++c)
        maze.cells[c] = maze.cells[2 * kCols + c] = kWall;
    maze.cells[kCols] = maze.cells[kCols + 4] = kWall;
    maze.cells[kCols + 1] = kFloor;
    maze.cells[kCols + 2] = kBox;
    maze.cells[kCols + 3] = kTarget;
    maze.man = kCols + 1;
    struct Case {
        std::int16_t man;
        int cell;
        std::uint8_t code;
        std::string reason;
    } cases[] = {
        {kCols + 1, 0, kWall, ""},
        {-1, 0, kWall, "no worker (worker square -1 is off the board)"},
        {kCells, 0, kWall, "no worker (worker square 748 is off the board)"},
        {0, 0, kWall, "no worker (worker square 0 is not free floor)"},
        {kCols + 2, 0, kWall, "no worker (worker square 36 is not free floor)"}, // on the box
        {kCols + 1, kCols + 3, 9, "unknown cell code 9"},
    };
    for (const auto& c : cases) {
        TMazeData m = maze;
        m.man = c.man;
        m.cells[static_cast<std::size_t>(c.cell)] = c.code;
        EXPECT_EQ(invalidReason(boardOf(m)), c.reason) << c.man;
        const Result r = solve(boardOf(m));
        EXPECT_EQ(r.status, c.reason.empty() ? Status::Solved : Status::Invalid) << c.man;
        EXPECT_EQ(r.reason, c.reason) << c.man;
    }
    EXPECT_EQ(invalidReason(core::fromXsbRows({"#$.#"})),
              "no worker (worker square -1 is off the board)");
}

} // namespace
} // namespace sokoban::solver
