// The measures of how hard a level is for a person, on small boards whose
// answers can be worked out by hand.

#include "human_measures.h"

#include "core/lurd.h"
#include "core/rules.h"
#include "core/symmetry.h"
#include "set_text.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

namespace lc = sokoban::levelcheck;
using sokoban::core::Board;

// A board written as one string, "|" between rows.
Board board(const std::string& text) {
    std::vector<std::string> rows;
    std::stringstream in(text);
    for (std::string row; std::getline(in, row, '|');)
        rows.push_back(row);
    return sokoban::settext::boardOfRows(rows);
}

TEST(FloorPerBox, AreaTheWorkerCouldWalkOverPerBox) {
    EXPECT_DOUBLE_EQ(lc::floorPerBox(board("######|#@$ .#|######")), 4.0);
    EXPECT_DOUBLE_EQ(lc::floorPerBox(board("#######|#@$$..#|#  ####|####")), 3.5);
    // A pocket nobody walks into is no floor of his.
    EXPECT_DOUBLE_EQ(lc::floorPerBox(board("#######|#@$ .##|#######|#    #|######")), 4.0);
    EXPECT_DOUBLE_EQ(lc::floorPerBox(board("#####|#@  #|#####")), 0.0);
}

// Two targets up a dead-end passage: a box pushed to the nearest one shuts
// the far one off; the most enclosed one is the far end.
const char* const kPassage = "#######|###.###|###.###|#     #|#  $  #|#   $ #|#    @#|#######";
// The box under the passage's mouth must first go aside for the one above it.
const char* const kParking = "#######|###.###|###.###|#  $  #|#  $ @#|#     #|#######";

TEST(NoLookAhead, EachVariantWinsOrSticksWhereItsRuleLeadsIt) {
    const struct {
        const char* name;
        const char* level;
        bool nearestSolves;
        int nearestPlaced;
        bool enclosedSolves;
        int enclosedPlaced;
    } cases[] = {
        {"one box down a corridor", "#######|#@ $  .#|#######", true, 1, true, 1},
        {"already solved", "#####|#@* #|#####", false, 0, false, 0},
        {"dead-end passage", kPassage, false, 1, true, 2},
        {"a box to park first", kParking, false, 0, false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Board level = board(c.level);
        const lc::GreedyPlay nearest = lc::playWithoutLookAhead(level, lc::Greedy::NearestTarget);
        const lc::GreedyPlay enclosed =
            lc::playWithoutLookAhead(level, lc::Greedy::MostEnclosedTarget);
        const bool solvedAtStart = sokoban::core::solved(level);
        EXPECT_EQ(nearest.solved, c.nearestSolves || solvedAtStart);
        EXPECT_EQ(nearest.placed, c.nearestPlaced);
        EXPECT_EQ(enclosed.solved, c.enclosedSolves || solvedAtStart);
        EXPECT_EQ(enclosed.placed, c.enclosedPlaced);
        EXPECT_EQ(lc::fallsToNoLookAhead(level),
                  c.nearestSolves || c.enclosedSolves || solvedAtStart);

        // What he played is a real game: the moves replay by the rules to
        // where he stopped, with the pushes he counted.
        for (const lc::GreedyPlay* play : {&nearest, &enclosed}) {
            Board b = level;
            int pushes = 0;
            for (const auto d : play->moves) {
                const auto out = sokoban::core::apply(b, static_cast<sokoban::core::Dir>(d));
                ASSERT_NE(out.kind, sokoban::core::MoveKind::Blocked);
                pushes += out.kind == sokoban::core::MoveKind::Push;
            }
            EXPECT_EQ(pushes, play->pushes);
            EXPECT_EQ(sokoban::core::solved(b), play->solved);
        }
    }
}

TEST(NoLookAhead, PassageTakesTheFarEndFirstWhenEnclosed) {
    const lc::GreedyPlay play =
        lc::playWithoutLookAhead(board(kPassage), lc::Greedy::MostEnclosedTarget);
    ASSERT_TRUE(play.solved);
    // Up the passage (3 pushes), then the second box left one and up three.
    EXPECT_EQ(play.pushes, 3 + 4);
}

TEST(FirstPushes, EveryPushTheWorkerCanMakeFromWhereHeStands) {
    const struct {
        const char* name;
        const char* level;
        int pushes;
    } cases[] = {
        {"corridor", "######|#@$ .#|######", 1},
        {"box in the middle of a room", "#####|#   #|# $ #|#  @#|#####", 4},
        // The box walls the worker in: only the push in front of him.
        {"walled in", "#####|#@$ #|#####", 1},
        {"box at the wall", "#####|#   #|#$  #|# @.#|#####", 2},
        {"two boxes side by side", "######|#    #|# $$ #|#  @.#|#   .#|######", 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Board level = board(c.level);
        const auto next = lc::firstPushes(level);
        EXPECT_EQ(static_cast<int>(next.size()), c.pushes);
        for (const Board& b : next) {
            // One box moved one square, the worker on the square it left.
            int changed = 0;
            for (int p = 0; p < level.size(); ++p)
                changed += level.at(p) != b.at(p);
            EXPECT_EQ(changed, 2);
            EXPECT_TRUE(sokoban::core::isBox(level.at(b.worker)));
            EXPECT_FALSE(sokoban::core::isBox(b.at(b.worker)));
        }
    }
}

TEST(Narrowness, CountsTheFirstPushesTheQuestionLeavesOpen) {
    const Board level = board("#####|#   #|# $ #|#  @#|#####");
    int asked = 0;
    // Open: the box still off the walls' row of the top.
    const lc::Narrowness n = lc::narrowness(level, [&](const Board& b) {
        ++asked;
        for (int c = 0; c < b.cols; ++c)
            if (sokoban::core::isBox(b.at(1, c))) return false;
        return true;
    });
    EXPECT_EQ(asked, 4);
    EXPECT_EQ(n.pushes, 4);
    EXPECT_EQ(n.open, 3);
}

TEST(Lessons, ATargetFencedOffByBoxes) {
    const struct {
        const char* name;
        const char* level;
        bool fenced;
    } cases[] = {
        {"a box in a passage", "#######|#@$  .#|#######", false},
        {"two boxes across a room's mouth", "  #####|  #@  #|###$$ #|#.  .##|##   #| #####", true},
        {"the room open beside them", "  #####|  #@  #|###$ $#|#.  .##|##   #| #####", false},
        {"a room with its target filled", "  #####|  #@  #|###$$ #|#*   ##|##   #| #####", false},
        {"walled off, not fenced", "#######|#@.$#.#|#######", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(lc::fencesOffATarget(board(c.level)), c.fenced);
    }
}

// Pushed right, the box stops above the other one, held there by it and by
// the wall; the other goes left, and the first one up.
const char* const kHeld = "   ###|   #.#|#### #|#@$  ##|### $ #|  #.  #|  #####";

TEST(Lessons, ABoxHeldByABoxUntilThatOneMoves) {
    const struct {
        const char* name;
        const char* level;
        const char* solution;
        bool held;
    } cases[] = {
        {"held, then on", kHeld, "RRddrruLUUdlD", true},
        {"no box beside another", "#######|#@$  .#|#######", "RRR", false},
        {"stops on its target beside a box", "########|#@$ .*#|########", "RR", false},
        {"held but never moved on", kHeld, "RR", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Board level = board(c.level);
        const auto parsed = sokoban::core::parseLurd(c.solution);
        sokoban::core::Moves moves;
        for (const auto& m : parsed.moves)
            moves.push_back(m.dir);
        EXPECT_EQ(lc::holdsABoxWithABox(level, moves), c.held);
    }
}

const char* const kRoom = "########|#@ $  .#|#  ## .#|#  $   #|########";

TEST(NearLevels, NearTwinsButNotNewLevels) {
    const struct {
        const char* name;
        const char* a;
        const char* b;
        bool near;
    } cases[] = {
        {"the same", kRoom, kRoom, true},
        {"one target moved", kRoom, "########|#@ $ . #|#  ## .#|#  $   #|########", true},
        {"one box moved", kRoom, "########|#@  $ .#|#  ## .#|#  $   #|########", true},
        {"worker elsewhere", kRoom, "########|#  $  .#|#  ## .#|# @$   #|########", true},
        {"a wall square added", kRoom, "########|#@ $  .#|#  ## .#|#  $  ##|########", true},
        {"mirrored and moved", kRoom, "|  ########|  #.  $ @#|  #. ##  #|  #   $  #|  ########",
         true},
        {"two boxes moved", kRoom, "########|#@  $ .#|#  ## .#|#   $  #|########", false},
        {"a target and a box moved", kRoom, "########|#@  $.##|#  ## .#|#  $   #|########", false},
        {"another room", kRoom, "########|#@ $  .#|###### #|#. $   #|########", false},
        {"a box and its target more", kRoom, "########|#@ $  .#|#  ##$.#|#  $  .#|########", true},
        {"a column wider", kRoom, "#########|#@ $   .#|#  ##  .#|#  $    #|#########", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (int t = 0; t < sokoban::core::kSymmetries; ++t)
            EXPECT_EQ(lc::nearLevels(board(c.a), sokoban::core::transformed(board(c.b), t)), c.near)
                << "turn " << t;
        EXPECT_EQ(lc::nearLevels(board(c.b), board(c.a)), c.near);
    }
}

TEST(NearLevels, NamesTheEarlierTwinAndRemembersOnlyNewLevels) {
    lc::NearLevels seen;
    EXPECT_FALSE(seen.add(board(kRoom), "a 1"));
    EXPECT_FALSE(seen.add(board("#######|#@ $ .#|#######"), "a 2"));
    EXPECT_EQ(seen.add(board("########|#@ $ . #|#  ## .#|#  $   #|########"), "b 1"), "a 1");
    EXPECT_EQ(seen.nearTo(board("#######|#. $ @#|#######")), "a 2");
    EXPECT_FALSE(seen.nearTo(board("########|#@ $  .#|###### #|#. $   #|########")));
}

// The human score rises with each thing a person must think about, and
// not with what he cannot feel: detours count up to double the bound,
// floor per box only beyond seven squares.
TEST(HumanScore, RisesWithWhatAPersonMustThinkAbout) {
    lc::PersonFigures base;
    base.pushes = 30;
    base.boxChanges = 10;
    base.boxes = 5;
    base.floorPerBox = 6;
    base.overBound = 1.1;
    base.openShare = 0.5;
    const double at = lc::humanScore(base);
    const struct {
        const char* name;
        void (*change)(lc::PersonFigures&);
        int sign; // +1 harder, -1 easier, 0 the same
    } cases[] = {
        {"more pushes", [](lc::PersonFigures& f) { f.pushes = 60; }, +1},
        {"more box changes", [](lc::PersonFigures& f) { f.boxChanges = 20; }, +1},
        {"a box more", [](lc::PersonFigures& f) { f.boxes = 6; }, +1},
        {"further over the bound", [](lc::PersonFigures& f) { f.overBound = 1.4; }, +1},
        {"fewer safe first pushes", [](lc::PersonFigures& f) { f.openShare = 0.2; }, +1},
        {"roomy floor", [](lc::PersonFigures& f) { f.floorPerBox = 12; }, -1},
        {"at the bound", [](lc::PersonFigures& f) { f.overBound = 1.0; }, -1},
        {"every first push safe", [](lc::PersonFigures& f) { f.openShare = 1; }, -1},
        {"tighter floor than seven", [](lc::PersonFigures& f) { f.floorPerBox = 4; }, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        lc::PersonFigures f = base;
        c.change(f);
        const double now = lc::humanScore(f);
        if (c.sign > 0) {
            EXPECT_GT(now, at);
        } else if (c.sign < 0) {
            EXPECT_LT(now, at);
        } else {
            EXPECT_DOUBLE_EQ(now, at);
        }
    }
    // Beyond double the bound a level is no harder for its length alone.
    lc::PersonFigures twice = base, thrice = base;
    twice.overBound = 2;
    thrice.overBound = 3;
    EXPECT_DOUBLE_EQ(lc::humanScore(twice), lc::humanScore(thrice));
    // The weights as documented: a bare corridor of nine pushes.
    lc::PersonFigures corridor;
    corridor.pushes = 9;
    corridor.boxes = 1;
    corridor.floorPerBox = 11;
    EXPECT_NEAR(lc::humanScore(corridor), 12 + 2 - 2, 1e-9);
}

} // namespace
