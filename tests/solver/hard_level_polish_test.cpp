// Finishing touches of generated levels: idle boxes turned to wall, dead ends
// filled without breaking the solution, and one name for every turn and
// mirror image of a puzzle.
#include "check.h"
#include "generators/levels/hard_level_polish.h"
#include "solver/solver.h"

#include <gtest/gtest.h>

namespace sokoban::hardlevels {
namespace {

using Rows = std::vector<std::string>;

bool solves(const Rows& rows, const std::string& lurd) {
    const core::Board lv = solver::test::xsb(rows);
    std::vector<std::uint8_t> moves;
    for (char m : lurd) {
        const char l = static_cast<char>(std::tolower(static_cast<unsigned char>(m)));
        moves.push_back(l == 'u' ? 0 : l == 'd' ? 1 : l == 'l' ? 2 : 3);
    }
    const auto rep = solver::test::replay(lv, moves);
    return rep.legal && rep.solved;
}

TEST(HardLevelPolish, IdleBoxesAndDeadEndsGoTheSolutionStillHolds) {
    struct Case {
        Rows rows;
        std::string lurd;
        int walled;  // idle boxes turned to wall
        Rows filled; // after filling dead ends
    } cases[] = {
        // The box on its target never moves.
        {{"#######", "#*@$ .#", "#######"}, "rR", 1, {"#######", "##@$ .#", "#######"}},
        // A dead end above the start that the worker never enters.
        {{"  ###", "### ###", "#@$ .#", "######"}, "RR", 0, {"######", "#@$ .#", "######"}},
        // A dead end the solution walks through stays.
        {{"#####", "#   #", "# # #", "#@$.#", "#####"},
         "R",
         0,
         {"#####", "#   #", "# # #", "#@$.#", "#####"}},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(solves(c.rows, c.lurd)) << c.rows[1];
        int walled = -1;
        const Rows idle = wallInIdleBoxes(c.rows, c.lurd, walled);
        EXPECT_EQ(walled, c.walled) << c.rows[1];
        EXPECT_TRUE(solves(idle, c.lurd)) << c.rows[1];
        const Rows filled = fillDeadEnds(idle, c.lurd);
        EXPECT_TRUE(solves(filled, c.lurd)) << c.rows[1];
        if (c.walled == 0) {
            EXPECT_EQ(filled, c.filled) << c.rows[1];
        }
    }
}

TEST(HardLevelPolish, CanonicalNameIgnoresTurnsMirrorsAndTheWorker) {
    const Rows level = {"######", "#@$ .#", "#  $.#", "######"};
    const Rows turned = {"####", "#..#", "# $#", "#$ #", "#@ #", "####"};
    const Rows mirrored = {"######", "#. $ #", "#.$ @#", "######"};
    const Rows shifted = {"   ######", "   #@$ .#", "   #  $.#", "   ######"};
    const Rows other = {"######", "#@$. #", "#  $.#", "######"};
    EXPECT_EQ(canonical(level), canonical(turned));
    EXPECT_EQ(canonical(level), canonical(mirrored));
    EXPECT_EQ(canonical(level), canonical(shifted));
    EXPECT_NE(canonical(level), canonical(other));
}

} // namespace
} // namespace sokoban::hardlevels
