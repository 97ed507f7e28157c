// Dead squares, frozen boxes and closed-off areas on hand-made positions.
#include "check.h"
#include "solver/board.h"
#include "solver/deadlock.h"

#include <gtest/gtest.h>

namespace sokoban::solver {
namespace {

using test::xsb;

// 'x' marks a floor square no box can leave for a target.
TEST(SolverDeadlock, DeadSquares) {
    struct Case {
        std::vector<std::string> level, dead;
    } cases[] = {
        {{"#######", "#     #", "#@.   #", "#     #", "#######"},
         {"#######", "#xxxxx#", "#x.  x#", "#xxxxx#", "#######"}},
        {{"#######", "#  .  #", "#@    #", "#     #", "#######"},
         {"#######", "#x . x#", "#x   x#", "#xxxxx#", "#######"}},
        // A one-wide corridor: a box needs room behind it for the worker.
        {{"#########", "#@   .  #", "#########"}, {"#########", "#x   . x#", "#########"}},
        // A target in a niche nothing can be pushed into.
        {{"  ###  ", "###.###", "#@    #", "#######"},
         {"  ###  ", "###.###", "#xxxxx#", "#######"}},
    };
    for (const auto& c : cases) {
        core::Board lv = xsb(c.level);
        Board board(lv);
        for (int r = 0; r < lv.rows; ++r) {
            for (int col = 0; col < lv.cols; ++col) {
                Square s = board.squareOf(r * lv.cols + col);
                if (s == kNone) continue;
                char want = col < static_cast<int>(c.dead[r].size()) ? c.dead[r][col] : ' ';
                EXPECT_EQ(board.isDead(s), want == 'x')
                    << c.level[1] << " row " << r << " col " << col;
            }
        }
    }
}

// Fewest pushes from each square to the one target, drawn over the level:
// 'x' where none gets there.
TEST(SolverDeadlock, PushDistances) {
    struct Case {
        std::vector<std::string> level, distance;
    } cases[] = {
        {{"#######", "#     #", "#  .  #", "#     #", "#@    #", "#######"},
         {"#######", "#xxxxx#", "#x101x#", "#x212x#", "#xxxxx#", "#######"}},
        {{"#########", "#@   .  #", "#########"}, {"#########", "#x32101x#", "#########"}},
    };
    for (const auto& c : cases) {
        const core::Board lv = xsb(c.level);
        const Board board(lv);
        std::vector<std::string> drawn = c.level;
        for (int cell = 0; cell < lv.size(); ++cell) {
            const Square s = board.squareOf(cell);
            if (s == kNone) continue;
            const std::uint16_t d = board.pushDistance(0, s);
            drawn[lv.rowOf(cell)][lv.colOf(cell)] = d == kFar ? 'x' : static_cast<char>('0' + d);
        }
        EXPECT_EQ(drawn, c.distance) << c.level[1];
    }
    // In the corridor the worker must come from the left: from the right
    // he can only push the box away.
    const core::Board lv = xsb({"#########", "#@ $ .  #", "#########"});
    const Board board(lv);
    ASSERT_TRUE(board.hasSideDistances());
    const Square box = board.squareOf(lv.cellAt(1, 3));
    EXPECT_EQ(board.sideDistance(0, box, kLeft), 2);
    EXPECT_EQ(board.sideDistance(0, box, kRight), kFar);
    EXPECT_EQ(board.sideGroup(box, kUp), Board::kNoGroup);
    EXPECT_NE(board.sideGroup(box, kLeft), board.sideGroup(box, kRight));
}

// The box marked by the row/column is checked right after a push to it.
TEST(SolverDeadlock, FrozenBoxes) {
    struct Case {
        std::vector<std::string> level;
        int row, col;
        bool deadlock;
    } cases[] = {
        {{"#####", "#$ @#", "#  .#", "#####"}, 1, 1, true},  // corner, off target
        {{"#####", "#* @#", "#   #", "#####"}, 1, 1, false}, // corner, on target
        // Two boxes along a wall hold each other.
        {{"######", "# $$ #", "#   @#", "# .. #", "######"}, 1, 3, true},
        {{"######", "# **@#", "#    #", "######"}, 1, 2, false},
        {{"######", "# *$ #", "#  .@#", "######"}, 1, 2, true}, // partner off target
        // A square of four in open floor.
        {{"#######", "#     #", "# $$  #", "# $$ @#", "#  .. #", "#  .. #", "#######"}, 2, 2, true},
        {{"#######", "#     #", "# ** @#", "# **  #", "#     #", "#######"}, 3, 3, false},
        // Two side by side in the open can still be moved apart.
        {{"#######", "#     #", "#     #", "# $$ @#", "# ..  #", "#     #", "#######"},
         3,
         2,
         false},
        // On the wall between two dead squares: it can never leave the wall.
        {{"#######", "#  $  #", "#    @#", "#  .  #", "#######"}, 1, 3, true},
        // Diagonal neighbours do not hold each other.
        {{"#######", "##    #", "#$ .  #", "# $.  #", "#    @#", "#######"}, 3, 2, false},
    };
    for (const auto& c : cases) {
        core::Board lv = xsb(c.level);
        Board board(lv);
        std::vector<std::uint16_t> boxAt(board.size(), 0);
        for (Square b : board.boxes())
            boxAt[b] = 1;
        Detector detector(board);
        Square s = board.squareOf(c.row * lv.cols + c.col);
        ASSERT_NE(s, kNone);
        ASSERT_TRUE(boxAt[s]) << c.level[c.row];
        EXPECT_EQ(detector.frozenOffTarget(boxAt, s), c.deadlock) << c.level[c.row];
    }
}

TEST(SolverDeadlock, ClosedAreas) {
    struct Case {
        std::vector<std::string> level;
        Detector::Corral expect;
        int pushes;
    } cases[] = {
        // The doorway box can only go into the room, where it would die.
        {{"#######", "#.  # #", "# @ $ #", "#   # #", "#######"}, Detector::Corral::Deadlock, 0},
        // It can go into the room: that is the only push worth trying.
        {{"########", "#.  #  #", "# @ $  #", "#   #  #", "########"},
         Detector::Corral::Restrict,
         1},
        // Everything behind the fence is done: nothing to restrict.
        {{"########", "#   #  #", "# @ *  #", "#   #  #", "########"}, Detector::Corral::None, 0},
        // An empty target behind the fence needs a box.
        {{"########", "#   #  #", "#@$ *. #", "#   #  #", "########"},
         Detector::Corral::Restrict,
         1},
        // The worker's side of the push is blocked by a box outside the
        // fence, which may move first: no restriction.
        {{"########", "#   #  #", "# @$*. #", "#   #  #", "########"}, Detector::Corral::None, 0},
    };
    for (const auto& c : cases) {
        core::Board lv = xsb(c.level);
        Board board(lv);
        std::vector<std::uint16_t> boxAt(board.size(), 0);
        for (Square b : board.boxes())
            boxAt[b] = 1;
        Detector detector(board);
        detector.reach(boxAt, board.man());
        std::vector<PushMove> pushes;
        EXPECT_EQ(detector.corral(boxAt, board.boxes(), pushes), c.expect) << c.level[2];
        if (c.expect == Detector::Corral::Restrict) {
            EXPECT_EQ(static_cast<int>(pushes.size()), c.pushes) << c.level[2];
        }
    }
}

} // namespace
} // namespace sokoban::solver
