// The checks that keep the built-in sets clean, on small boards where the
// answer is known, and then on the built-in texts themselves.

#include "level_checks.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

namespace lc = sokoban::levelcheck;
using Rows = std::vector<std::string>;

// The rows of a board written as one string, "|" between rows.
Rows board(const std::string& text) {
    Rows rows;
    std::stringstream in(text);
    for (std::string row; std::getline(in, row, '|');)
        rows.push_back(row);
    return rows;
}

// Floor squares of a board that still counts as small.
constexpr int kSmallBoard = 60;

const char* const kRoom = "######|#@ $.#|#  # #|#    #|######";

TEST(CanonicalForm, SamePuzzleUpToPositionTurnAndMirror) {
    const struct {
        const char* name;
        const char* rows;
        bool same;
    } cases[] = {
        {"mirrored", "######|#.$ @#|# #  #|#    #|######", true},
        {"turned a quarter", "#####|#  @#|#   #|# #$#|#  .#|#####", true},
        {"moved, thicker walls, worker elsewhere in his area",
         "       ##| #######|  ######|  # @$.#|  #  # #|  #    #|  ######", true},
        {"box moved", "######|#@$ .#|#  # #|#    #|######", false},
        {"target moved", "######|#@ $ #|#  #.#|#    #|######", false},
        {"wall moved", "######|#@ $.#|# #  #|#    #|######", false},
    };
    const auto base = lc::canonicalForm(board(kRoom));
    for (const auto& c : cases)
        EXPECT_EQ(lc::canonicalForm(board(c.rows)) == base, c.same) << c.name;
}

TEST(CanonicalForm, TheWorkerCountsByTheAreaHeCanWalkTo) {
    const auto left = lc::canonicalForm(board("#######|#@ $ .#|#######"));
    EXPECT_EQ(lc::canonicalForm(board("#######|# @$ .#|#######")), left);
    EXPECT_EQ(lc::canonicalForm(board("#######|#. $ @#|#######")), left); // mirrored
    EXPECT_NE(lc::canonicalForm(board("#######|#  $@.#|#######")), left);
}

TEST(ShapeOf, CountsBoxesFloorAndClosedPockets) {
    const struct {
        const char* rows;
        int boxes, width, height, area, unreachable;
    } cases[] = {
        {kRoom, 1, 6, 5, 11, 0},
        {"  #####|###   #|#@$* #|#####", 2, 7, 4, 7, 0},
        // Pockets closed by walls: one square; two beside and three below.
        {"#######|#@$. # #|#######", 1, 8, 3, 4, 1},
        {"########|#@$.#  #|#### ###|   #  #|   ####", 1, 8, 5, 3, 5},
    };
    for (const auto& c : cases) {
        const auto s = lc::shapeOf(board(c.rows));
        EXPECT_EQ(s.boxes, c.boxes) << c.rows;
        EXPECT_EQ(s.width, c.width) << c.rows;
        EXPECT_EQ(s.height, c.height) << c.rows;
        EXPECT_EQ(s.floorArea, c.area) << c.rows;
        EXPECT_EQ(s.unreachable, c.unreachable) << c.rows;
    }
}

TEST(Replay, FiguresOfAStoredSolution) {
    // #########
    // #. $ $ .#
    // #   @   #
    // #########
    const Rows level = board("#########|#. $ $ .#|#   @   #|#########");
    const struct {
        const char* lurd;
        bool solved;
        int moves, pushes, changes, idle;
    } cases[] = {
        {"uRlLrrRlllL", true, 11, 4, 3, 0}, {"uRRllLL", true, 7, 4, 1, 0},
        {"uRRllLLr", true, 8, 4, 1, 0},     {"uRR", false, 3, 2, 0, 1}, // one box left
        {"ul", false, 1, 0, 0, 2},                                      // a push written as a step
        {"uRRllLLR", false, 7, 4, 1, 0},                                // a step written as a push
        {"uRRR", false, 3, 2, 0, 1},                                    // box against the wall
        {"d", false, 0, 0, 0, 2},                                       // into the wall
        {"uRRx", false, 3, 2, 0, 1},
    };
    for (const auto& c : cases) {
        const auto r = lc::replay(level, c.lurd);
        EXPECT_EQ(r.solved, c.solved) << c.lurd << " " << r.error;
        EXPECT_EQ(r.error.empty(), c.solved) << c.lurd;
        EXPECT_EQ(r.moves, c.moves) << c.lurd;
        EXPECT_EQ(r.pushes, c.pushes) << c.lurd;
        EXPECT_EQ(r.boxChanges, c.changes) << c.lurd;
        EXPECT_EQ(r.idleBoxes, c.idle) << c.lurd;
    }
}

TEST(Check, NamesEveryFaultyLevel) {
    auto level = [](const char* rows) {
        sokoban::leveltext::TextLevel l;
        l.rows = board(rows);
        return l;
    };
    lc::SetText easy{"easy",
                     {level("######|#@$ .#|######"), level("########|#@$   .#|########")},
                     {"RR", "RRRR"}};
    lc::SetText game{"game",
                     {
                         level("######|#. $@#|######"),                     // easy 1 mirrored
                         level("#########|#@$    .#|#*      #|#########"),  // a box that stays
                         level("#########|#@$    .#|######## #|#########"), // a closed pocket
                         level("##########|#@$     .#|##########"),         // bad solution
                         level("###########|#@$      .#|###########"),      // fine
                     },
                     {"LL", "RRRRR", "RRRRR", "RRRRR", "RRRRRRR"}};
    lc::Rules rules;
    rules.shortLessons = 1;
    const auto problems = lc::check({easy, game}, rules);

    const struct {
        const char* set;
        int number;
        const char* words;
    } expected[] = {
        {"easy", 2, "solved in 4 push"}, // past the short lessons
        {"game", 1, "same puzzle as easy 1"},
        {"game", 1, "solved in 2 push"},
        {"game", 2, "1 box(es) the solution never moves"},
        {"game", 3, "1 floor square(s)"},
        {"game", 4, "the stored solution fails: boxes left off"},
    };
    ASSERT_EQ(problems.size(), std::size(expected));
    for (std::size_t i = 0; i < problems.size(); ++i) {
        EXPECT_EQ(problems[i].set, expected[i].set) << i;
        EXPECT_EQ(problems[i].number, expected[i].number) << i;
        EXPECT_NE(problems[i].what.find(expected[i].words), std::string::npos) << problems[i].what;
    }
}

// The built-in texts pass every check, and the thinking puzzles keep to
// small boards.
TEST(BuiltInTexts, PassTheQualityChecks) {
    std::vector<lc::SetText> sets;
    for (const char* name : lc::kSetNames)
        sets.push_back(lc::readSet(LEVELSETS_TEXT_DIR, LEVELSETS_SOLUTIONS_DIR, name));
    for (const auto& p : lc::check(sets))
        ADD_FAILURE() << p.set << " " << p.number << ": " << p.what;

    for (const auto& set : sets) {
        if (set.name != "normal") continue;
        for (std::size_t i = 0; i < set.levels.size(); ++i)
            EXPECT_LE(lc::shapeOf(set.levels[i].rows).floorArea, kSmallBoard) << "normal " << i + 1;
    }
}

} // namespace
