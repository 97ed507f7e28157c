// Finishing touches of generated levels: idle boxes turned to wall and dead
// ends filled, the solution still holding.
#include "generators/levels/hard_level_polish.h"
#include "generators/levels/level_checks.h"
#include "generators/levels/set_text.h"

#include <gtest/gtest.h>

namespace sokoban::hardlevels {
namespace {

using Rows = std::vector<std::string>;

bool solves(const core::Board& level, const std::string& lurd) {
    return levelcheck::replay(level, lurd).solved;
}

TEST(HardLevelPolish, IdleBoxesAndDeadEndsGoTheSolutionStillHolds) {
    struct Case {
        const char* name;
        Rows rows;
        std::string lurd;
        int walled;  // idle boxes turned to wall
        Rows idle;   // after that
        Rows filled; // and after filling dead ends
    } cases[] = {
        {"the box on its target never moves",
         {"#######", "#*@$ .#", "#######"},
         "RR",
         1,
         {"######", "#@$ .#", "######"},
         {"######", "#@$ .#", "######"}},
        {"a dead end above the start that the worker never enters",
         {"  ###", "### ###", "#@$ .#", "######"},
         "RR",
         0,
         {"  ###", "### ##", "#@$ .#", "######"},
         {"######", "#@$ .#", "######"}},
        {"a loop round a pillar has no dead end",
         {"#####", "#   #", "# # #", "#@$.#", "#####"},
         "R",
         0,
         {"#####", "#   #", "# # #", "#@$.#", "#####"},
         {"#####", "#   #", "# # #", "#@$.#", "#####"}},
        {"a dead end the worker walks into stays, the other one goes",
         {"#######", "# ### #", "#@$  .#", "#######"},
         "udRRR",
         0,
         {"### ###", "# ### #", "#@$  .#", "#######"},
         {"###", "# #####", "#@$  .#", "#######"}},
    };
    for (const Case& c : cases) {
        const core::Board level = settext::boardOfRows(c.rows);
        ASSERT_TRUE(solves(level, c.lurd)) << c.name;
        int walled = -1;
        const core::Board idle = wallInIdleBoxes(level, c.lurd, walled);
        EXPECT_EQ(walled, c.walled) << c.name;
        EXPECT_EQ(settext::rowsOf(idle), c.idle) << c.name;
        EXPECT_TRUE(solves(idle, c.lurd)) << c.name;
        const core::Board filled = fillUnusedDeadEnds(idle, c.lurd);
        EXPECT_EQ(settext::rowsOf(filled), c.filled) << c.name;
        EXPECT_TRUE(solves(filled, c.lurd)) << c.name;
    }
}

} // namespace
} // namespace sokoban::hardlevels
