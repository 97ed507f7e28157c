// The checks that keep the built-in sets clean, on small boards where the
// answer is known, and then on the built-in texts themselves.

#include "level_checks.h"

#include "set_text.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

namespace lc = sokoban::levelcheck;
namespace st = sokoban::settext;
using sokoban::core::Board;

// The rows of a board written as one string, "|" between rows.
std::vector<std::string> rowsOf(const std::string& text) {
    std::vector<std::string> rows;
    std::stringstream in(text);
    for (std::string row; std::getline(in, row, '|');)
        rows.push_back(row);
    return rows;
}

Board board(const std::string& text) {
    return st::boardOfRows(rowsOf(text));
}

// Floor squares of a board that still counts as small.
constexpr int kSmallBoard = 60;

const char* const kRoom = "######|#@ $.#|#  # #|#    #|######";

// Every tool that keeps repeats out (the checks, make_levels' -x and
// make_hard_levels' pick) asks SameLevels, so they can no longer disagree
// about a level whose worker starts in another part of the board.
TEST(SameLevels, SamePuzzleUpToPositionTurnAndMirror) {
    const struct {
        const char* name;
        const char* a;
        const char* b;
        bool same;
    } cases[] = {
        {"mirrored", kRoom, "######|#.$ @#|# #  #|#    #|######", true},
        {"turned a quarter", kRoom, "#####|#  @#|#   #|# #$#|#  .#|#####", true},
        {"moved, thicker walls, worker elsewhere in his area", kRoom,
         "       ##| #######|  ######|  # @$.#|  #  # #|  #    #|  ######", true},
        {"box moved", kRoom, "######|#@$ .#|#  # #|#    #|######", false},
        {"target moved", kRoom, "######|#@ $ #|#  #.#|#    #|######", false},
        {"wall moved", kRoom, "######|#@ $.#|# #  #|#    #|######", false},
        {"worker along the corridor", "#######|#@ $ .#|#######", "#######|# @$ .#|#######", true},
        {"worker mirrored", "#######|#@ $ .#|#######", "#######|#. $ @#|#######", true},
        // The boxes part the floor: which side the worker starts on matters.
        {"worker beyond the box", "#######|#@ $ .#|#######", "#######|#  $@.#|#######", false},
        {"worker beyond two boxes", "#########|#@ $$ ..#|#########",
         "#########|#  $$@..#|#########", false},
        {"a pocket nobody enters", "#######|#@$ .##|#######", "#######|#@$ .# #|#######", true},
    };
    for (const auto& c : cases) {
        lc::SameLevels seen;
        EXPECT_FALSE(seen.add(board(c.a), "a")) << c.name;
        const auto earlier = seen.add(board(c.b), "b");
        EXPECT_EQ(earlier.has_value(), c.same) << c.name;
        EXPECT_EQ(earlier.value_or("a"), "a") << c.name;
        EXPECT_EQ(seen.contains(board(c.b)), true) << c.name;
    }
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
    const Board level = board("#########|#. $ $ .#|#   @   #|#########");
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
        EXPECT_EQ(static_cast<int>(r.idleBoxCells.size()), c.idle) << c.lurd;
    }
    // The box left behind is the right one, and the worker's way is kept.
    const auto r = lc::replay(level, "uRR");
    ASSERT_EQ(r.idleBoxCells.size(), 1u);
    EXPECT_EQ(r.idleBoxCells[0], level.cellAt(1, 3));
    int visited = 0;
    for (bool v : r.visited)
        visited += v;
    EXPECT_EQ(visited, 4); // the start, up, and two pushes right
    EXPECT_TRUE(r.visited[static_cast<std::size_t>(level.cellAt(1, 4))]);
    // The boxes' squares count as used too: both boxes' starts and the
    // square the pushed one ends on; the rest of the floor is unused.
    int used = 0;
    for (bool u : r.used)
        used += u;
    EXPECT_EQ(used, 6);
    EXPECT_TRUE(r.used[static_cast<std::size_t>(level.cellAt(1, 5))]);
    EXPECT_TRUE(r.used[static_cast<std::size_t>(level.cellAt(1, 3))]);
    EXPECT_EQ(lc::unusedFloor(level, r), 14 - 6);
    EXPECT_EQ(lc::unusedFloor(level, lc::replay(level, "uRlLrrRlllL")), 14 - 8);
}

TEST(Check, NamesEveryFaultyLevel) {
    auto set = [](const char* name, const std::vector<const char*>& levels,
                  std::vector<std::string> solutions) {
        std::string text;
        for (std::size_t i = 0; i < levels.size(); ++i) {
            text += "; " + std::to_string(i + 1) + "\n";
            for (const auto& r : rowsOf(levels[i]))
                text += r + "\n";
        }
        return lc::SetText{name, st::parseSet(text), std::move(solutions)};
    };
    const auto easy = set("easy", {"######|#@$ .#|######", "########|#@$   .#|#      #|########"},
                          {"RR", "RRRR"});
    const auto game = set("game",
                          {
                              "######|#. $@#|######",                     // easy 1 mirrored
                              "#########|#@$    .#|#*      #|#########",  // a box that stays
                              "#########|#@$    .#|######## #|#########", // a closed pocket
                              "#######|#@$   #|#     #|#    .#|#######",  // bad solution
                              "#########|#@$    .#|#       #|#       #|#########", // fine
                              "###########|#@$@     .#|###########",               // two workers
                              "#########|#@$   . #|#       #|#       #|#########", // 5's twin
                          },
                          {"LL", "RRRRR", "RRRRR", "RRR", "RRRRR", "RRRRRRR", "RRRR"});
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
        {"game", 6, "needs exactly one worker, has 2"},
        {"game", 7, "nearly the same as game 5"},
        {"game", 7, "solved in 4 push"},
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
            EXPECT_LE(lc::shapeOf(set.levels[i].board).floorArea, kSmallBoard)
                << "normal " << i + 1;
    }
}

} // namespace
